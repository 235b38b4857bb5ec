// The program's entry. The tail is derived here from the full command line,
// not taken from the runtime, whose rule treats tabs and quotes otherwise.
#include <windows.h>

#include "entry/command_line.h"
#include "entry/dispatch.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return FilepickMain(CommandTail(GetCommandLineA()));
}
