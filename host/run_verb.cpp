#include "run_verb.h"

#include <string.h>
#include <wchar.h>

#include "dialog_support/warning.h"
#include "drive.h"
#include "driver/picker_driver.h"
#include "driver/request.h"
#include "entry/command_line.h"
#include "exchange/exchange.h"
#include "exchange/file_ops.h"
#include "exchange/layouts.h"
#include "output.h"

int MakeRequest(const HostOptions* options, int verb, unsigned char* request)
{
    int size = BuildRequest(verb, options->request, request);
    if (size > 0)
        return size;
    ReportFailure(
        options, HostCouldNotRun,
        size == RequestNotANumber
            ? L"the dump mode is not a number: 0 saves a dump, 1 loads one, 2 picks a log file"
        : size == RequestOutOfRange
            ? L"the dump mode is out of range: it is a signed 32-bit number (0 saves a dump, "
              L"1 loads one, 2 picks a log file)"
        : size == RequestNotAnsi
            ? L"the request directory has characters outside this system's code page (ANSI), "
              L"and no short (8.3) path to stand in, so the debugger could not send it: rename "
              L"the folder, or run under a code page that holds its name"
            : L"the request directory is too long for the debugger's 300 bytes");
    return 0;
}

// Reads the reply (if any) into reply (LoadReplySize + 1 bytes) and removes
// it, so a later run cannot take it for its own: its size, or -1 when there
// is none.
static int TakeReply(unsigned char* reply)
{
    FILE* file = fopen(ExchangePath, "rb");
    if (!file)
        return -1;
    int size = (int)fread(reply, 1, LoadReplySize + 1, file);
    fclose(file);
    remove(ExchangePath);
    return size;
}

int RunPicker(const HostOptions* options, int verb, const unsigned char* request, int requestSize)
{
    // A stale file could be read as this run's reply: it goes first.
    remove(ExchangePath);
    if (verb >= 0) {
        ExchangeBlock block = { (void*)request, requestSize };
        if (!WriteExchange(ExchangePath, 1, &block)) {
            wchar_t why[ReasonCapacity], message[MessageCapacity];
            SystemErrorText(FileError, why, ReasonCapacity);
            FormatProblem(message, L"cannot write C:\\FILE: %ls", why);
            return ReportFailure(options, HostCouldNotRun, message);
        }
    }
    wchar_t picker[MAX_PATH];
    PathBesideSelf(L"filepick.exe", picker, MAX_PATH);
    wchar_t commandLine[MAX_PATH + 80];
    _snwprintf(commandLine, MAX_PATH + 80, L"\"%ls\" %hs", picker, options->verbName);
    commandLine[MAX_PATH + 79] = 0;
    PROCESS_INFORMATION process;
    wchar_t message[MessageCapacity];
    if (!StartPicker(picker, commandLine, &process)) {
        wchar_t why[ReasonCapacity];
        SystemErrorText((int)GetLastError(), why, ReasonCapacity);
        // The request was this run's: left there, it would be read as a
        // reply.
        remove(ExchangePath);
        FormatProblem(message, L"cannot start %ls: %ls", picker, why);
        return ReportFailure(options, HostCouldNotRun, message);
    }
    // Windows lets a started program take the foreground only until the
    // user clicks elsewhere: this one may, as a host's own window may.
    AllowSetForegroundWindow(process.dwProcessId);

    DWORD exitCode = 0;
    int status = -1;
    if (DrivesDialog(options) &&
        !DriveDialog(options, process.dwProcessId, process.hProcess, message)) {
        // No dialog because the verb was unknown is said as such.
        if (!WaitForExit(process.hProcess, 0, &exitCode) || exitCode != 0)
            status = HostCouldNotRun;
    } else if (!WaitForExit(process.hProcess, EndTimeout(options), &exitCode)) {
        wchar_t open[OpenWindowCapacity] = L"nothing";
        DescribeOpenWindow(process.dwProcessId, open, OpenWindowCapacity);
        FormatProblem(message, L"filepick.exe did not end in time and was stopped (open: %ls)",
                      open);
        status = HostCouldNotRun;
    }
    EndPicker(&process);
    if (status < 0 && exitCode == 0) {
        status = HostUnknownVerb;
        FormatProblem(message, L"filepick.exe did not know the verb %ls", options->verb);
    } else if (status < 0 && exitCode != 1) {
        // Not an exit of its own (a crash, say): whatever is at the path
        // is not a reply.
        status = HostCouldNotRun;
        FormatProblem(message, L"filepick.exe ended abnormally (0x%08lX)", (unsigned long)exitCode);
    }
    if (status >= 0) {
        remove(ExchangePath);
        return ReportFailure(options, status, message);
    }
    unsigned char bytes[LoadReplySize + 1];
    int size = TakeReply(bytes);
    if (size < 0) {
        PrintNotChosen(options, L"no reply", 0);
        return HostNotChosen;
    }
    FilepickReply reply;
    int decoded = FilepickDecodeReplyFor(options->verbName, bytes, size, request, requestSize,
                                         &reply);
    if (decoded == FILEPICK_REPLY_REQUEST_NOT_TAKEN) {
        // filepick told its user why; the request was this run's, and went.
        PrintNotChosen(
            options, L"filepick.exe could not take the request (another program held C:\\FILE)", 0);
        return HostNotChosen;
    }
    if (decoded != FILEPICK_REPLY_DECODED)
        return ReportFailure(options, HostCouldNotRun, L"the reply has the wrong size");
    LoadChoices choices = { reply.startupSkip, reply.symbolOnly, reply.format };
    PrintChosen(options, "short path:   ", reply.path, verb == VerbLoadDebugFile ? &choices : 0);
    return HostChosen;
}
