// filepick-host: plays the host debugger's side of the exchange, for
// integrators and for scripted demonstrations; --doctor checks a machine
// (doctor.cpp).
//
//   filepick-host [options] VERB [request]
//
// Writes the request to C:\FILE in the verb's layout (an initial directory,
// or a dump mode), starts filepick.exe with the verb, waits for it, and
// prints the decoded reply or says that no file was chosen. Arguments may
// be in any script; the request directory goes to C:\FILE in the system's
// ANSI code page, as the debugger sends it.
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "debug_file/vendor_table.h"
#include "dialog_support/warning.h"
#include "doctor.h"
#include "driver/picker_driver.h"
#include "driver/program_module.h"
#include "driver/request.h"
#include "entry/command_line.h"
#include "exchange/exchange.h"
#include "exchange/layouts.h"
#include "json.h"
#include "screenshot.h"

enum HostStatus {
    HostChosen = 0,
    HostNotChosen = 1,
    HostUnknownVerb = 2,
    HostCouldNotRun = 3
};

enum { DialogTimeoutMs = 60000, ChooseExitTimeoutMs = 60000, MessageCapacity = 1024 };

struct HostOptions {
    char verbName[64];
    const wchar_t* verb;        // as given; 0 when none was
    const wchar_t* request;
    const wchar_t* choose;      // drive the dialog and pick this file
    const wchar_t* screenshot;  // save the dialog as a picture (.png or .bmp)
    const wchar_t* steps;       // further steps of a user, before --choose
    int fileType;               // file type to select first (1-based)
    int json;
    int version;
    int help;
    int module;                 // call the exported dialog in this process
    int doctor;                 // check this machine (doctor.h)
    DWORD timeoutMs;            // INFINITE unless --timeout
};

static void Usage(FILE* out)
{
    fputs("usage: filepick-host [--json] [--timeout SECONDS] [--type N] [--steps STEPS]\n"
          "                     [--choose PATH] [--screenshot FILE] VERB [request]\n"
          "       filepick-host --module [options] DoLoadDebugFile [dir]\n"
          "       filepick-host --doctor [--json] [FOLDER]\n"
          "       filepick-host --version | --help\n"
          "  --type N         select file type N (1 = first)\n"
          "  --steps STEPS    then act as a user, steps separated by ';':\n"
          "                     type N       select file type N (0 = first)\n"
          "                     click ID     click a control: symbol-only (4390),\n"
          "                                  startup-skip (4391), options (4392), or any id\n"
          "                     name TEXT    type TEXT into the name box, tab on to OK\n"
          "                     pick PATH    type PATH into the name box and press OK\n"
          "                     answer ID    press ID in a prompt: 6 Yes, 7 No, 1 OK\n"
          "                     warn TEXT    a WARNING box that says TEXT: press OK\n"
          "                     cancel       press Cancel\n"
          "  --choose PATH    then pick PATH in the dialog\n"
          "  --screenshot F   then save the dialog as a picture: F ends in .png or .bmp\n"
          "  --timeout S      end the picker after S seconds (1 to 86400)\n"
          "  --json           print the outcome as one JSON object\n"
          "  --module         load filepick.exe as a module and call its exported\n"
          "                   dialog, as a host that does so\n"
          "  --doctor         check this machine as the debugger would use filepick\n"
          "                   here, FOLDER (default: this one) as its project folder\n"
          "  VERB: DoLoadDebugFile [dir] | DoSetDumpFile MODE | DoModuleListFile [dir]\n"
          "  MODE: 0 save a dump, 1 load a dump, 2 log file\n"
          "Before it starts filepick.exe, filepick-host removes any C:\\FILE: never run it\n"
          "while the debugger waits for a reply.\n"
          "exit status: 0 chosen, 1 not chosen, 2 unknown verb, 3 could not run\n"
          "  (--doctor: 0 nothing failed, 1 a check failed, 3 could not run)\n",
          out);
}

// text as the console shows it: in the ANSI code page.
static void PrintText(FILE* out, const wchar_t* text)
{
    char ansi[4 * MessageCapacity];
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, 0, 0))
        fputs(ansi, out);
}

static int Problem(wchar_t* problem, const wchar_t* format, ...)
{
    va_list values;
    va_start(values, format);
    _vsnwprintf(problem, MessageCapacity, format, values);
    va_end(values);
    problem[MessageCapacity - 1] = 0;
    return 0;
}

static int ParseNumber(const wchar_t* text, long low, long high, long* value)
{
    wchar_t* end = 0;
    *value = wcstol(text, &end, 10);
    return end != text && !*end && *value >= low && *value <= high;
}

// 1 when the arguments make sense; else 0 and what is wrong, in a line.
static int ParseOptions(int argc, wchar_t** argv, HostOptions* options, wchar_t* problem)
{
    memset(options, 0, sizeof *options);
    options->timeoutMs = INFINITE;
    int i = 1;
    // Verbs never start with '-': whatever does is an option.
    for (; i < argc && argv[i][0] == L'-'; ++i) {
        const wchar_t* name = argv[i];
        int* flag = wcscmp(name, L"--json") == 0      ? &options->json
                    : wcscmp(name, L"--version") == 0 ? &options->version
                    : wcscmp(name, L"--module") == 0  ? &options->module
                    : wcscmp(name, L"--doctor") == 0  ? &options->doctor
                    : wcscmp(name, L"--help") == 0 || wcscmp(name, L"-h") == 0 ? &options->help
                                                                                : 0;
        if (flag) {
            *flag = 1;
            continue;
        }
        const wchar_t* const valued[] = { L"--choose", L"--type", L"--screenshot", L"--steps",
                                          L"--timeout" };
        int known = 0;
        for (const wchar_t* option : valued)
            known |= wcscmp(name, option) == 0;
        if (!known)
            return Problem(problem, L"unknown option %ls", name);
        if (i + 1 >= argc)
            return Problem(problem, L"%ls needs a value", name);
        const wchar_t* value = argv[++i];
        long number = 0;
        if (wcscmp(name, L"--choose") == 0) {
            options->choose = value;
        } else if (wcscmp(name, L"--type") == 0) {
            if (!ParseNumber(value, 1, 1000, &number))
                return Problem(problem, L"--type takes a file type's number, 1 for the first, "
                                        L"not \"%ls\"", value);
            options->fileType = (int)number;
        } else if (wcscmp(name, L"--screenshot") == 0) {
            if (!IsPictureName(value))
                return Problem(problem, L"--screenshot takes a file name ending in .png or .bmp, "
                                        L"not \"%ls\"", value);
            options->screenshot = value;
        } else if (wcscmp(name, L"--steps") == 0) {
            options->steps = value;
        } else {
            if (!ParseNumber(value, 1, 86400, &number))
                return Problem(problem, L"--timeout takes whole seconds from 1 to 86400, "
                                        L"not \"%ls\"", value);
            options->timeoutMs = (DWORD)number * 1000;
        }
    }
    int left = argc - i;
    if (options->help)
        return 1;
    if (options->version)
        return left == 0 || Problem(problem, L"--version takes no verb");
    if (options->doctor) {
        options->request = left ? argv[i] : 0;
        return left <= 1 || Problem(problem, L"--doctor takes one folder at the most");
    }
    if (left == 0)
        return Problem(problem, L"no verb given");
    if (left > 2)
        return Problem(problem, L"too many arguments: a verb takes one request at the most "
                                L"(\"%ls\" is one too many)", argv[i + 2]);
    // Verbs are ASCII: anything else is an unknown verb, and stays one.
    options->verb = argv[i];
    WideCharToMultiByte(CP_ACP, 0, argv[i], -1, options->verbName, sizeof options->verbName,
                        0, 0);
    options->verbName[sizeof options->verbName - 1] = 0;
    options->request = left > 1 ? argv[i + 1] : 0;
    return 1;
}

// The start of every JSON object: the verb as given, and the status.
static void BeginJson(const HostOptions* options, const char* status)
{
    printf("{\"verb\":");
    PrintJsonString(options->verb);
    printf(",\"status\":\"%s\"", status);
}

static int Fail(const HostOptions* options, int status, const wchar_t* message)
{
    if (options->json) {
        BeginJson(options, status == HostUnknownVerb ? "unknown-verb" : "could-not-run");
        printf(",\"reason\":");
        PrintJsonString(message);
        printf("}\n");
    }
    fputs("filepick-host: ", stderr);
    PrintText(stderr, message);
    fputs("\n", stderr);
    return status;
}

// Builds the request bytes: their size, or 0 (after saying why) when the
// text does not fit the verb, or a directory has no exact form in the ANSI
// code page.
static int MakeRequest(const HostOptions* options, int verb, unsigned char* request)
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

// The debug-file words: startup skip, symbol only, vendor format.
struct LoadWords {
    int startupSkip, symbolOnly, format;
};

static void PrintWords(const HostOptions* options, const LoadWords* words)
{
    char label[64];
    if (!VendorLabel(words->format, label, sizeof label))
        strcpy(label, "no file type of the dialog");
    if (options->json) {
        printf(",\"startupSkip\":%d,\"symbolOnly\":%d,\"format\":%d,\"formatLabel\":",
               words->startupSkip, words->symbolOnly, words->format);
        PrintJsonAnsi(label);
    } else {
        printf("startup skip: %d\nsymbol only:  %d\nformat:       %d (%s)\n", words->startupSkip,
               words->symbolOnly, words->format, label);
    }
}

// A chosen file: the host's ANSI path (labelled as what it is in text) and
// the words where there are any.
static void PrintChosen(const HostOptions* options, const char* label, const char* path,
                        const LoadWords* words)
{
    if (options->json) {
        // The host's bytes are ANSI; JSON is UTF-8. The long path is the
        // chosen file's own name, whatever its script.
        wchar_t wide[PathBlockSize];
        wchar_t longPath[4 * MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path, -1, wide, PathBlockSize);
        DWORD length = GetLongPathNameW(wide, longPath, 4 * MAX_PATH);
        if (!length || length >= 4 * MAX_PATH)
            lstrcpynW(longPath, wide, 4 * MAX_PATH);
        BeginJson(options, "chosen");
        printf(",\"shortPath\":");
        PrintJsonString(wide);
        printf(",\"longPath\":");
        PrintJsonString(longPath);
    } else {
        printf("%s%s\n", label, path);
    }
    if (words)
        PrintWords(options, words);
    if (options->json)
        printf("}\n");
}

static void PrintNotChosen(const HostOptions* options, const wchar_t* why, const LoadWords* words)
{
    if (options->json) {
        BeginJson(options, "not-chosen");
        printf(",\"reason\":");
        PrintJsonString(why);
    } else {
        fputs("No file was chosen (", stdout);
        PrintText(stdout, why);
        fputs(").\n", stdout);
    }
    if (words)
        PrintWords(options, words);
    if (options->json)
        printf("}\n");
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

// Acts in the dialog the way a user would: --type, --steps, then the
// picture, then --choose. 1 when all was done; else 0 and what was not.
static int DriveDialog(const HostOptions* options, DWORD processId, HANDLE process,
                       wchar_t* problem)
{
    PickerSession session = { processId, process, DialogTimeoutMs, 0, 0 };
    if (!SessionDialog(&session))
        return Problem(problem, L"the dialog did not appear");
    wchar_t steps[MAX_PATH + 32];
    wchar_t failed[MAX_PATH + 32];
    if (options->fileType > 0) {
        _snwprintf(steps, MAX_PATH + 32, L"type %d", options->fileType - 1);
        if (!RunSteps(&session, steps, failed, MAX_PATH + 32))
            return Problem(problem, L"the dialog has no file type %d", options->fileType);
    }
    if (options->steps && !RunSteps(&session, options->steps, failed, MAX_PATH + 32))
        return Problem(problem, L"the step \"%ls\" could not be done", failed);
    if (options->screenshot) {
        HWND dialog = SessionDialog(&session);
        if (!dialog || !SaveWindowPicture(dialog, process, options->screenshot))
            return Problem(problem, L"could not save the dialog's picture as %ls",
                           options->screenshot);
    }
    if (!options->choose)
        return 1;
    // The dialogs want backslashes; scripts on Linux tend to write slashes.
    _snwprintf(steps, MAX_PATH + 32, L"pick %ls", options->choose);
    steps[MAX_PATH + 31] = 0;
    for (wchar_t* p = steps; *p; ++p)
        if (*p == L'/')
            *p = L'\\';
    if (!RunSteps(&session, steps, failed, MAX_PATH + 32))
        return Problem(problem, L"could not pick %ls: the dialog went", options->choose);
    return 1;
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

static HANDLE CallReturned;  // set once the exported call is back
static int CallStopped;      // what was left of the call was cancelled
static wchar_t CallProblem[MessageCapacity];

static DWORD WINAPI DriveOwnDialog(void* param)
{
    // As with the picker as a program: a scripted run ends in time.
    const HostOptions* options = (const HostOptions*)param;
    if (DriveDialog(options, GetCurrentProcessId(), 0, CallProblem)) {
        if (WaitForSingleObject(CallReturned, EndTimeout(options)) == WAIT_OBJECT_0)
            return 1;
        wchar_t open[512] = L"nothing";
        DescribeOpenWindow(GetCurrentProcessId(), open, 512);
        Problem(CallProblem, L"the dialog did not end in time and was cancelled (open: %ls)",
                open);
    }
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
    FilepickLoadDebugFile load =
        module ? (FilepickLoadDebugFile)(void*)GetProcAddress(module, FILEPICK_EXPORT_LOAD_DEBUG_FILE) : 0;
    if (!load) {
        wchar_t message[MessageCapacity];
        Problem(message, L"cannot load %ls as a module", picker);
        return Fail(options, HostCouldNotRun, message);
    }
    HANDLE driver = 0;
    CallReturned = CreateEventW(0, TRUE, FALSE, 0);
    if (DrivesDialog(options))
        driver = CreateThread(0, 0, DriveOwnDialog, (void*)options, 0, 0);
    LoadWords words = { -1, -1, -1 };
    char fileName[PathBlockSize] = "";
    char hostOptions[] = "";  // a host with options of its own: "Options..." stays enabled
    int result = load(0, 0, &words.format, fileName, &words.startupSkip, &words.symbolOnly,
                      hostOptions, folder);
    SetEvent(CallReturned);
    if (driver) {
        WaitForSingleObject(driver, DialogTimeoutMs);
        CloseHandle(driver);
    }
    if (CallStopped)
        return Fail(options, HostCouldNotRun, CallProblem);
    if (!result) {
        PrintNotChosen(options, L"LoadDebugFile returned 0", &words);
        return HostNotChosen;
    }
    PrintChosen(options, "file name:    ", fileName, &words);
    return HostChosen;
}

// Runs filepick.exe for the verb as the debugger does, and reports.
static int RunPicker(const HostOptions* options, int verb, const unsigned char* request,
                     int requestSize)
{
    // A stale file could be read as this run's reply: it goes first.
    remove(ExchangePath);
    if (verb >= 0) {
        ExchangeBlock block = { (void*)request, requestSize };
        if (!WriteExchange(ExchangePath, 1, &block))
            return Fail(options, HostCouldNotRun, L"cannot write C:\\FILE");
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

int wmain(int argc, wchar_t** argv)
{
    HostOptions options;
    wchar_t problem[MessageCapacity];
    if (!ParseOptions(argc, argv, &options, problem)) {
        fputs("filepick-host: ", stderr);
        PrintText(stderr, problem);
        fputs("\n", stderr);
        Usage(stderr);
        return HostCouldNotRun;
    }
    if (options.help) {
        Usage(stdout);
        return 0;
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
    if (options.doctor)
        return RunDoctor(options.json, options.request);
    int verb = FindVerb(options.verbName);
    unsigned char request[RequestCapacity];
    int requestSize = verb >= 0 ? MakeRequest(&options, verb, request) : 0;
    if (verb >= 0 && !requestSize)
        return HostCouldNotRun;
    if (options.module) {
        if (verb < 0) {
            Problem(problem, L"unknown verb %ls", options.verb);
            return Fail(&options, HostUnknownVerb, problem);
        }
        if (verb != VerbLoadDebugFile)
            return Fail(&options, HostCouldNotRun, L"--module takes DoLoadDebugFile");
        return RunModule(&options, (const char*)request);
    }
    return RunPicker(&options, verb, request, requestSize);
}
