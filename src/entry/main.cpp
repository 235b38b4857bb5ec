// The program's entry. The tail is derived here from the full command line,
// not taken from the runtime, whose rule treats tabs and quotes otherwise.
#include <windows.h>

#include "entry/command_line.h"
#include "entry/dispatch.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // A start folder on a drive without its medium (a card reader, say)
    // fails like any missing folder, without the system's "no disk" box;
    // added to the error mode the host passed on.
    SetErrorMode(SetErrorMode(SEM_FAILCRITICALERRORS) | SEM_FAILCRITICALERRORS);
    return FilepickMain(CommandTail(GetCommandLineA()));
}
