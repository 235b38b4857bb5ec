// filepick-host: plays the host debugger's side of the exchange, for
// integrators and for scripted demonstrations.
//
//   filepick-host [options] VERB [request]
//
// Writes the request to C:\FILE in the verb's layout (an initial directory,
// or a dump mode), starts filepick.exe with the verb, waits for it, and
// prints the decoded reply or says that no file was chosen. Arguments may
// be in any script; the request directory goes to C:\FILE in the system's
// ANSI code page, as the debugger sends it.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "debug_file/vendor_table.h"
#include "driver/picker_driver.h"
#include "driver/program_module.h"
#include "driver/request.h"
#include "entry/command_line.h"
#include "exchange/exchange.h"
#include "exchange/layouts.h"
#include "screenshot.h"

enum HostStatus {
    HostChosen = 0,
    HostNotChosen = 1,
    HostUnknownVerb = 2,
    HostCouldNotRun = 3
};

enum { DialogTimeoutMs = 60000, ChooseExitTimeoutMs = 60000 };

struct HostOptions {
    char verbName[64];
    const wchar_t* request;
    const wchar_t* choose;      // drive the dialog and pick this file
    const wchar_t* screenshot;  // save the open dialog as a BMP first
    const wchar_t* steps;       // further steps of a user, before --choose
    int fileType;               // file type to select first (1-based)
    int json;
    int version;
    int module;                 // call the exported dialog in this process
    DWORD timeoutMs;            // INFINITE unless --timeout
};

static void Usage()
{
    fprintf(stderr,
            "usage: filepick-host [--json] [--timeout SECONDS] [--type N] [--steps STEPS]\n"
            "                     [--choose PATH] [--screenshot FILE.bmp] VERB [request]\n"
            "       filepick-host --module [options] DoLoadDebugFile [dir]\n"
            "       filepick-host --version\n"
            "  --type N         select file type N (1 = first)\n"
            "  --steps STEPS    then act as a user: steps separated by ';' of\n"
            "                   type N, click ID, pick PATH, answer ID, warn TEXT, cancel\n"
            "  --choose PATH    then pick PATH in the dialog\n"
            "  --screenshot F   save the open dialog as a BMP picture first\n"
            "  --timeout S      end the picker after S seconds\n"
            "  --json           print the outcome as one JSON object\n"
            "  --module         load filepick.exe as a module and call its exported\n"
            "                   dialog, as a host that does so (the file name and the\n"
            "                   words it fills are printed)\n"
            "  VERB: DoLoadDebugFile [dir] | DoSetDumpFile MODE | DoModuleListFile [dir]\n"
            "  MODE: 0 save dump, 1 load dump, 2 log file\n"
            "exit status: 0 chosen, 1 not chosen, 2 unknown verb, 3 could not run\n");
}

static int ParseNumber(const wchar_t* text, long low, long high, long* value)
{
    wchar_t* end = 0;
    *value = wcstol(text, &end, 10);
    return end != text && !*end && *value >= low && *value <= high;
}

static int ParseOptions(int argc, wchar_t** argv, HostOptions* options)
{
    memset(options, 0, sizeof *options);
    options->timeoutMs = INFINITE;
    int i = 1;
    for (; i < argc && wcsncmp(argv[i], L"--", 2) == 0; ++i) {
        const wchar_t* name = argv[i];
        int* flag = wcscmp(name, L"--json") == 0      ? &options->json
                    : wcscmp(name, L"--version") == 0 ? &options->version
                    : wcscmp(name, L"--module") == 0  ? &options->module
                                                      : 0;
        if (flag) {
            *flag = 1;
            continue;
        }
        if (i + 1 >= argc)
            return 0;
        const wchar_t* value = argv[++i];
        long number = 0;
        if (wcscmp(name, L"--choose") == 0) {
            options->choose = value;
        } else if (wcscmp(name, L"--type") == 0) {
            if (!ParseNumber(value, 1, 1000, &number))
                return 0;
            options->fileType = (int)number;
        } else if (wcscmp(name, L"--screenshot") == 0) {
            options->screenshot = value;
        } else if (wcscmp(name, L"--steps") == 0) {
            options->steps = value;
        } else if (wcscmp(name, L"--timeout") == 0) {
            if (!ParseNumber(value, 1, 86400, &number))
                return 0;
            options->timeoutMs = (DWORD)number * 1000;
        } else {
            return 0;
        }
    }
    if (options->version)
        return i == argc;
    if (i >= argc || argc - i > 2)
        return 0;
    // Verbs are ASCII: anything else is an unknown verb, and stays one.
    WideCharToMultiByte(CP_ACP, 0, argv[i], -1, options->verbName,
                        sizeof options->verbName, 0, 0);
    options->verbName[sizeof options->verbName - 1] = 0;
    options->request = i + 1 < argc ? argv[i + 1] : 0;
    return 1;
}

static int Fail(const HostOptions* options, int status, const char* message);

// Builds the request bytes: their size, or 0 (after saying why) when the
// text does not fit the verb, or a directory has no exact form in the ANSI
// code page.
static int MakeRequest(const HostOptions* options, int verb, unsigned char* request)
{
    int size = BuildRequest(verb, options->request, request);
    if (size > 0)
        return size;
    Fail(options, HostCouldNotRun,
         size == RequestNotANumber ? "the dump mode is not a number"
         : size == RequestNotAnsi  ? "the request directory has characters outside this "
                                     "system's code page (ANSI), so the debugger could not send it"
                                   : "the request directory is too long");
    return 0;
}

// The file-type label the dialog shows for a vendor-format code, copied
// into label (capacity bytes); 0 and an empty label when the dialog offers
// no item for the code.
static int VendorLabel(VENDORFORMAT code, char* label, int capacity)
{
    label[0] = '\0';
    int index = GetVendorIndex(code);
    if (index == 0)
        return 0;
    // Items are label and pattern fields: item n's label is field 2(n-1).
    const char* field = VendorFilter;
    for (int skip = 2 * (index - 1); skip > 0 && *field; --skip) {
        while (*field && *field != '|')
            ++field;
        if (*field)
            ++field;
    }
    int length = 0;
    while (field[length] && field[length] != '|' && length < capacity - 1) {
        label[length] = field[length];
        ++length;
    }
    label[length] = '\0';
    return length > 0;
}

// Wide text as UTF-8 in a JSON string.
static void PrintJsonString(const wchar_t* text)
{
    char utf8[4 * MAX_PATH + 8];
    if (!WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, 0, 0))
        utf8[0] = 0;
    putchar('"');
    for (const unsigned char* p = (const unsigned char*)utf8; *p; ++p) {
        if (*p == '"' || *p == '\\')
            printf("\\%c", *p);
        else if (*p < 0x20)
            printf("\\u%04x", *p);
        else
            putchar(*p);
    }
    putchar('"');
}

static void PrintJsonAscii(const char* text)
{
    wchar_t wide[256];
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 256);
    PrintJsonString(wide);
}

static void PrintNotChosen(const HostOptions* options, const char* why)
{
    if (options->json) {
        printf("{\"status\":\"not-chosen\",\"reason\":");
        PrintJsonAscii(why);
        printf("}\n");
    } else {
        printf("No file was chosen (%s).\n", why);
    }
}

static void PrintReply(const HostOptions* options, int verb, const unsigned char* reply)
{
    char shortPath[PathBlockSize];
    memcpy(shortPath, reply, PathBlockSize);
    TerminatePathBlock(shortPath);
    if (options->json) {
        // The host's bytes are ANSI; JSON is UTF-8. The long path is the
        // chosen file's own name, whatever its script.
        wchar_t wide[PathBlockSize];
        wchar_t longPath[4 * MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, shortPath, -1, wide, PathBlockSize);
        DWORD length = GetLongPathNameW(wide, longPath, 4 * MAX_PATH);
        if (!length || length >= 4 * MAX_PATH)
            lstrcpynW(longPath, wide, 4 * MAX_PATH);
        printf("{\"status\":\"chosen\",\"verb\":\"%s\",\"shortPath\":", VerbNames[verb]);
        PrintJsonString(wide);
        printf(",\"longPath\":");
        PrintJsonString(longPath);
    } else {
        printf("short path:   %s\n", shortPath);
    }
    if (verb == VerbLoadDebugFile) {
        int skip = LoadLe32(reply + LoadReplyStartupSkipOffset);
        int symbol = LoadLe32(reply + LoadReplySymbolOnlyOffset);
        int format = LoadLe32(reply + LoadReplyFormatOffset);
        char label[64];
        if (!VendorLabel(format, label, sizeof label))
            strcpy(label, "no file type of the dialog");
        if (options->json) {
            printf(",\"startupSkip\":%d,\"symbolOnly\":%d,\"format\":%d,\"formatLabel\":",
                   skip, symbol, format);
            PrintJsonAscii(label);
        } else {
            printf("startup skip: %d\nsymbol only:  %d\nformat:       %d (%s)\n", skip,
                   symbol, format, label);
        }
    }
    if (options->json)
        printf("}\n");
}

static int Fail(const HostOptions* options, int status, const char* message)
{
    if (options && options->json) {
        printf("{\"status\":\"%s\",\"reason\":",
               status == HostUnknownVerb ? "unknown-verb" : "could-not-run");
        PrintJsonAscii(message);
        printf("}\n");
    }
    fprintf(stderr, "filepick-host: %s\n", message);
    return status;
}

// Whether the dialog is acted in (or pictured) at all.
static int DrivesDialog(const HostOptions* options)
{
    return options->choose || options->steps || options->fileType || options->screenshot;
}

// How long the picker may take to end: a scripted run ends in time.
static DWORD EndTimeout(const HostOptions* options)
{
    if ((options->choose || options->steps) && options->timeoutMs == INFINITE)
        return ChooseExitTimeoutMs;
    return options->timeoutMs;
}

// Acts in the dialog the way a user would: --type, --steps, --choose.
static int DriveDialog(const HostOptions* options, DWORD processId, HANDLE process)
{
    PickerSession session = { processId, process, DialogTimeoutMs, 0, 0 };
    if (!SessionDialog(&session))
        return 0;
    wchar_t steps[MAX_PATH + 32] = L"";
    wchar_t failed[MAX_PATH + 32];
    if (options->fileType > 0) {
        _snwprintf(steps, MAX_PATH + 32, L"type %d", options->fileType - 1);
        if (!RunSteps(&session, steps, failed, MAX_PATH + 32))
            fprintf(stderr, "filepick-host: the dialog has no file type %d\n", options->fileType);
    }
    if (options->screenshot && !SaveWindowBitmap(session.dialog, process, options->screenshot))
        fprintf(stderr, "filepick-host: could not save the screenshot\n");
    if (options->steps && !RunSteps(&session, options->steps, failed, MAX_PATH + 32)) {
        fwprintf(stderr, L"filepick-host: the step \"%ls\" could not be done\n", failed);
        return 0;
    }
    if (!options->choose)
        return 1;
    // The dialogs want backslashes; scripts on Linux tend to write slashes.
    _snwprintf(steps, MAX_PATH + 32, L"pick %ls", options->choose);
    steps[MAX_PATH + 31] = 0;
    for (wchar_t* p = steps; *p; ++p)
        if (*p == L'/')
            *p = L'\\';
    return RunSteps(&session, steps, failed, MAX_PATH + 32);
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

// The version a program beside this one carries in its version resource.
static void ProgramVersion(const wchar_t* name, wchar_t* version, int capacity)
{
    wchar_t path[MAX_PATH];
    PathBesideSelf(name, path, MAX_PATH);
    lstrcpynW(version, L"(none found)", capacity);
    DWORD size = GetFileVersionInfoSizeW(path, 0);
    void* data = size ? malloc(size) : 0;
    wchar_t* value = 0;
    UINT length = 0;
    if (data && GetFileVersionInfoW(path, 0, size, data) &&
        VerQueryValueW(data, L"\\StringFileInfo\\040904B0\\ProductVersion", (void**)&value,
                       &length) && length)
        lstrcpynW(version, value, capacity);
    free(data);
}

static HANDLE CallReturned;  // set once the exported call is back
static int CallStopped;      // what was left of the call was cancelled

static DWORD WINAPI DriveOwnDialog(void* param)
{
    // As with the picker as a program: a scripted run ends in time.
    const HostOptions* options = (const HostOptions*)param;
    if (DriveDialog(options, GetCurrentProcessId(), 0) &&
        WaitForSingleObject(CallReturned, EndTimeout(options)) == WAIT_OBJECT_0)
        return 1;
    // A step that could not be done, or a call still open when time is up:
    // what is left (the dialog, a message box) is cancelled, or the call
    // would never return.
    CallStopped = 1;
    for (HWND window; (window = WaitForDialog(GetCurrentProcessId(), 0, 2000, 0));)
        PressButton(window, IDCANCEL);
    return 0;
}

// --module: the debug-file dialog through the export, in this process, as
// a host that loaded filepick.exe as a module calls it. The caller's words
// start at -1, so that words the call leaves alone show.
static int RunModule(const HostOptions* options, const char* folder)
{
    wchar_t picker[MAX_PATH];
    PathBesideSelf(L"filepick.exe", picker, MAX_PATH);
    HMODULE module = LoadProgramAsModule(picker);
    LoadDebugFileProc load =
        module ? (LoadDebugFileProc)(void*)GetProcAddress(module, FILEPICK_EXPORT_LOADDEBUGFILE) : 0;
    if (!load)
        return Fail(options, HostCouldNotRun, "cannot load filepick.exe as a module");
    HANDLE driver = 0;
    CallReturned = CreateEventW(0, TRUE, FALSE, 0);
    if (DrivesDialog(options))
        driver = CreateThread(0, 0, DriveOwnDialog, (void*)options, 0, 0);
    VENDORFORMAT format = -1;
    int startupSkip = -1;
    int symbolOnly = -1;
    char fileName[PathBlockSize] = "";
    char hostOptions[] = "";  // a host with options of its own: "Options..." stays enabled
    int result = load(0, 0, format, fileName, startupSkip, symbolOnly, hostOptions, folder);
    SetEvent(CallReturned);
    if (driver) {
        WaitForSingleObject(driver, DialogTimeoutMs);
        CloseHandle(driver);
    }
    if (CallStopped)
        return Fail(options, HostCouldNotRun,
                    "the dialog could not be driven to its end and was cancelled");
    if (options->json) {
        printf("{\"status\":\"%s\",\"fileName\":", result ? "chosen" : "not-chosen");
        wchar_t wide[PathBlockSize];
        MultiByteToWideChar(CP_ACP, 0, fileName, -1, wide, PathBlockSize);
        PrintJsonString(wide);
        printf(",\"startupSkip\":%d,\"symbolOnly\":%d,\"format\":%d}\n", startupSkip,
               symbolOnly, format);
    } else {
        printf("result:       %d\nfile name:    %s\nstartup skip: %d\nsymbol only:  %d\n"
               "format:       %d\n", result, fileName, startupSkip, symbolOnly, format);
    }
    return result ? HostChosen : HostNotChosen;
}

int wmain(int argc, wchar_t** argv)
{
    HostOptions options;
    if (!ParseOptions(argc, argv, &options)) {
        Usage();
        return HostCouldNotRun;
    }
    if (options.version) {
        // Both programs' own resources: a host and a picker of different
        // releases show.
        wchar_t host[64], picker[64];
        ProgramVersion(L"filepick-host.exe", host, 64);
        ProgramVersion(L"filepick.exe", picker, 64);
        printf("filepick-host %ls\nfilepick.exe %ls\n", host, picker);
        return 0;
    }
    int verb = FindVerb(options.verbName);
    unsigned char request[RequestCapacity];
    int requestSize = verb >= 0 ? MakeRequest(&options, verb, request) : 0;
    if (verb >= 0 && !requestSize)
        return HostCouldNotRun;
    if (options.module) {
        if (verb != VerbLoadDebugFile)
            return Fail(&options, HostCouldNotRun, "--module takes DoLoadDebugFile");
        return RunModule(&options, (const char*)request);
    }

    // A stale file could be read as this run's reply: it goes first.
    remove(ExchangePath);
    if (verb >= 0) {
        ExchangeBlock block = { request, requestSize };
        if (!WriteExchange(ExchangePath, 1, &block))
            return Fail(&options, HostCouldNotRun, "cannot write C:\\FILE");
    }

    wchar_t picker[MAX_PATH];
    PathBesideSelf(L"filepick.exe", picker, MAX_PATH);
    wchar_t commandLine[MAX_PATH + 80];
    _snwprintf(commandLine, MAX_PATH + 80, L"\"%ls\" %hs", picker, options.verbName);
    commandLine[MAX_PATH + 79] = 0;
    PROCESS_INFORMATION process;
    if (!StartPicker(picker, commandLine, &process))
        return Fail(&options, HostCouldNotRun, "cannot start filepick.exe");
    // Windows lets a started program take the foreground only until the
    // user clicks elsewhere: this one may, as a host's own window may.
    AllowSetForegroundWindow(process.dwProcessId);

    if (DrivesDialog(&options) && !DriveDialog(&options, process.dwProcessId, process.hProcess)) {
        EndPicker(&process);
        remove(ExchangePath);
        return Fail(&options, HostCouldNotRun, "the dialog did not appear");
    }
    DWORD exitCode = 0;
    if (!WaitForExit(process.hProcess, EndTimeout(&options), &exitCode)) {
        EndPicker(&process);
        remove(ExchangePath);
        return Fail(&options, HostCouldNotRun, "filepick.exe did not end in time and was stopped");
    }
    EndPicker(&process);
    if (exitCode == 0) {
        remove(ExchangePath);
        return Fail(&options, HostUnknownVerb, "filepick.exe did not know the verb");
    }
    if (exitCode != 1) {
        // Not an exit of its own (a crash, say): whatever is at the path
        // is not a reply.
        remove(ExchangePath);
        char message[64];
        snprintf(message, sizeof message, "filepick.exe ended abnormally (0x%08lX)",
                 (unsigned long)exitCode);
        return Fail(&options, HostCouldNotRun, message);
    }
    unsigned char reply[LoadReplySize + 1];
    int taken = TakeReply(verb, reply);
    if (taken < 0) {
        PrintNotChosen(&options, "no reply");
        return HostNotChosen;
    }
    if (taken == 0)
        return Fail(&options, HostCouldNotRun, "the reply has the wrong size");
    PrintReply(&options, verb, reply);
    return HostChosen;
}
