// dialogs: each verb's dialog opened on a request of the doctor's own, and
// cancelled; only where nothing stood at the exchange paths.
#include "check.h"

#include <stdio.h>
#include <wchar.h>

#include "driver/picker_driver.h"
#include "driver/request.h"
#include "entry/command_line.h"
#include "exchange/exchange.h"
#include "exchange/file_ops.h"

enum { DialogLimitMs = 60000 };

// Opens one verb's dialog on a request of the doctor's own, and cancels it.
static int TryDialog(Check* check, int verb, const wchar_t* request)
{
    unsigned char bytes[RequestCapacity];
    int size = BuildRequest(verb, request, bytes);
    if (size <= 0)
        size = BuildRequest(verb, 0, bytes);  // a folder the debugger could not send
    ExchangeBlock block = { bytes, size };
    wchar_t picker[PathCapacity], line[PathCapacity + 32], open[OpenWindowCapacity] = L"nothing";
    PathBesideSelf(L"filepick.exe", picker, PathCapacity);
    _snwprintf(line, PathCapacity + 32, L"\"%ls\" %hs", picker, VerbNames[verb]);
    PROCESS_INFORMATION process;
    int written = WriteExchange(ExchangePath, 1, &block);
    DWORD error = written ? 0 : (DWORD)FileError;
    if (!written || !StartPicker(picker, line, &process)) {
        wchar_t why[ReasonCapacity];
        Reason(written ? GetLastError() : error, why);
        // The request was the doctor's own: left there, a debugger would
        // read it as a reply.
        if (written)
            DeleteFileW(ExchangeNames[0]);
        check->status = StatusFail;
        Append(check->found, L"%ls%hs: %ls: %ls", check->found[0] ? L"; " : L"", VerbNames[verb],
               written ? L"filepick.exe could not be started" : L"its request could not be written",
               why);
        return 0;
    }
    AllowSetForegroundWindow(process.dwProcessId);
    DWORD start = GetTickCount(), code = 0;
    PickerSession session = { process.dwProcessId, process.hProcess, DialogLimitMs, 0, 0 };
    HWND dialog = SessionDialog(&session);
    DWORD ready = GetTickCount() - start;
    wchar_t failed[16];
    int shown = dialog && !IsWarning(dialog);
    if (!shown)
        DescribeOpenWindow(process.dwProcessId, open, OpenWindowCapacity);
    int ended = shown ? RunSteps(&session, L"cancel", failed, 16) &&
                            WaitForExit(process.hProcess, DialogLimitMs, &code)
                      : 0;
    EndPicker(&process);
    Append(check->found, L"%ls%hs ", check->found[0] ? L"; " : L"", VerbNames[verb]);
    if (!shown)
        Append(check->found, L"showed no dialog within 60 s (open: %ls)", open);
    else if (!ended)
        Append(check->found, L"did not end within 60 s of Cancel");
    else
        Append(check->found, L"ready in %lu ms, cancelled", (unsigned long)ready);
    // Nothing was at the exchange paths before: what is there now is this
    // run's, and goes.
    int left = 0;
    for (const wchar_t* path : ExchangeNames)
        if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
            left = 1;
            Append(check->found, L", left %ls behind", path);
            DeleteFileW(path);
        }
    if (!shown || !ended || left) {
        check->status = StatusFail;
        return 0;
    }
    return 1;
}


void CheckDialogs(Check* check, DoctorRun* run)
{
    if (!run->pickerStarts) {
        check->status = StatusSkipped;
        Append(check->found, L"filepick.exe did not start (see the picker check), so no dialog "
                             L"was opened");
        return;
    }
    if (run->exchangeInUse) {
        check->status = StatusSkipped;
        Append(check->found, L"a file stood at an exchange path before the doctor ran: the "
                             L"dialogs were not opened, so that a pending request is never "
                             L"consumed");
        Append(check->advice, L"Run the doctor again once no debugger waits for a file.");
        return;
    }
    int ok = TryDialog(check, VerbLoadDebugFile, run->folder);
    ok = TryDialog(check, VerbSetDumpFile, L"1") && ok;  // load: nothing is created
    ok = TryDialog(check, VerbModuleListFile, run->folder) && ok;
    if (ok)
        Append(check->found, L"; nothing was left at the exchange paths");
    else
        Append(check->advice, L"Run filepick-host with that verb to see what happens, and send "
                              L"this report with it.");
}
