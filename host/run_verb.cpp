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
    Fail(options, HostCouldNotRun,
         size == RequestNotANumber
             ? L"the dump mode is not a number: 0 saves a dump, 1 loads one, 2 picks a log file"
         : size == RequestOutOfRange
             ? L"the dump mode is out of range: it is a signed 32-bit number (0 saves a dump, "
               L"1 loads one, 2 picks a log file)"
         : size == RequestNotAnsi
             ? L"the request directory has characters outside this system's code page (ANSI), "
               L"so the debugger could not send it: rename the folder, or run under a code "
               L"page that holds its name"
             : L"the request directory is too long for the debugger's 300 bytes");
    return 0;
}

// Reads the reply (if any) and removes it, so a later run cannot take it
// for its own. -1: no reply; 0: malformed; 1: read.
static int TakeReply(int verb, unsigned char* reply)
{
    FILE* file = fopen(ExchangePath, "rb");
    if (!file)
        return -1;
    int size = (int)fread(reply, 1, LoadReplySize + 1, file);
    fclose(file);
    remove(ExchangePath);
    return size == (verb == VerbLoadDebugFile ? LoadReplySize : PathReplySize);
}

int RunPicker(const HostOptions* options, int verb, const unsigned char* request,
                     int requestSize)
{
    // A stale file could be read as this run's reply: it goes first.
    remove(ExchangePath);
    if (verb >= 0) {
        ExchangeBlock block = { (void*)request, requestSize };
        if (!WriteExchange(ExchangePath, 1, &block)) {
            wchar_t why[512], message[MessageCapacity];
            SystemErrorText(FileError, why, 512);
            Problem(message, L"cannot write C:\\FILE: %ls", why);
            return Fail(options, HostCouldNotRun, message);
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
        wchar_t why[512];
        SystemErrorText((int)GetLastError(), why, 512);
        // The request was this run's: left there, it would be read as a
        // reply.
        remove(ExchangePath);
        Problem(message, L"cannot start %ls: %ls", picker, why);
        return Fail(options, HostCouldNotRun, message);
    }
    // Windows lets a started program take the foreground only until the
    // user clicks elsewhere: this one may, as a host's own window may.
    AllowSetForegroundWindow(process.dwProcessId);

    DWORD exitCode = 0;
    int status = -1;
    if (DrivesDialog(options) && !DriveDialog(options, process.dwProcessId, process.hProcess,
                                              message)) {
        // No dialog because the verb was unknown is said as such.
        if (!WaitForExit(process.hProcess, 0, &exitCode) || exitCode != 0)
            status = HostCouldNotRun;
    } else if (!WaitForExit(process.hProcess, EndTimeout(options), &exitCode)) {
        wchar_t open[512] = L"nothing";
        DescribeOpenWindow(process.dwProcessId, open, 512);
        Problem(message, L"filepick.exe did not end in time and was stopped (open: %ls)", open);
        status = HostCouldNotRun;
    }
    EndPicker(&process);
    if (status < 0 && exitCode == 0) {
        status = HostUnknownVerb;
        Problem(message, L"filepick.exe did not know the verb %hs", options->verbName);
    } else if (status < 0 && exitCode != 1) {
        // Not an exit of its own (a crash, say): whatever is at the path
        // is not a reply.
        status = HostCouldNotRun;
        Problem(message, L"filepick.exe ended abnormally (0x%08lX)", (unsigned long)exitCode);
    }
    if (status >= 0) {
        remove(ExchangePath);
        return Fail(options, status, message);
    }
    unsigned char reply[LoadReplySize + 1];
    int taken = TakeReply(verb, reply);
    if (taken < 0) {
        PrintNotChosen(options, L"no reply", 0);
        return HostNotChosen;
    }
    if (taken == 0)
        return Fail(options, HostCouldNotRun, L"the reply has the wrong size");
    char shortPath[PathBlockSize];
    memcpy(shortPath, reply, PathBlockSize);
    TerminatePathBlock(shortPath);
    LoadWords words = { LoadLe32(reply + LoadReplyStartupSkipOffset),
                        LoadLe32(reply + LoadReplySymbolOnlyOffset),
                        LoadLe32(reply + LoadReplyFormatOffset) };
    PrintChosen(options, "short path:   ", shortPath, verb == VerbLoadDebugFile ? &words : 0);
    return HostChosen;
}
