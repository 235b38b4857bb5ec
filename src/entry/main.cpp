// The program's entry. The tail is derived here from the full command line,
// not taken from the runtime, whose rule treats tabs and quotes otherwise.
#include <windows.h>

#include "dialog_support/warning.h"
#include "entry/command_line.h"
#include "entry/dispatch.h"
#include "exchange/exchange.h"

// A fault inside the platform's file dialog (Wine's overflows its buffer on
// a typed path past MAX_PATH) would end the program without a word, and the
// host would see only "no reply": the user is told, a pending reply goes,
// and the program ends as a recognised verb does, without a reply.
static LONG WINAPI TellFailure(EXCEPTION_POINTERS* exception)
{
    static LONG entered;
    if (InterlockedExchange(&entered, 1))
        ExitProcess(1);  // a fault while telling
    RemovePendingReply(ExchangePath);
    ShowWarning(0,
                L"The file dialog failed (exception 0x%08lX), so filepick had to stop. No "
                L"file was chosen.\n\nChoose again from the debugger; a shorter path may "
                L"help.",
                (unsigned long)exception->ExceptionRecord->ExceptionCode);
    ExitProcess(1);
    return EXCEPTION_EXECUTE_HANDLER;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // A start folder on a drive without its medium (a card reader, say)
    // fails like any missing folder, without the system's "no disk" box;
    // added to the error mode the host passed on.
    SetErrorMode(SetErrorMode(SEM_FAILCRITICALERRORS) | SEM_FAILCRITICALERRORS);
    SetUnhandledExceptionFilter(TellFailure);
    return FilepickMain(CommandTail(GetCommandLineA()));
}
