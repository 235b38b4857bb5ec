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

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "debug_file/vendor_table.h"
#include "driver/picker_driver.h"
#include "entry/command_line.h"
#include "exchange/exchange.h"
#include "exchange/layouts.h"

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
    int fileType;               // with --choose: file type to select (1-based)
    int json;
    int version;
    DWORD timeoutMs;            // INFINITE unless --timeout
};

static void Usage()
{
    fprintf(stderr,
            "usage: filepick-host [--json] [--timeout SECONDS] [--choose PATH [--type N]]\n"
            "                     [--screenshot FILE.bmp] VERB [request]\n"
            "       filepick-host --version\n"
            "  --choose PATH    pick PATH in the dialog by script, as the tests do\n"
            "  --type N         with --choose: select file type N (1 = first) first\n"
            "  --screenshot F   save the open dialog as a BMP picture\n"
            "  --timeout S      end the picker after S seconds\n"
            "  --json           print the outcome as one JSON object\n"
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
        if (wcscmp(name, L"--json") == 0 || wcscmp(name, L"--version") == 0) {
            (name[2] == L'j' ? options->json : options->version) = 1;
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

// Builds the request bytes; 0 (after saying why) when the text does not
// fit the verb, or a directory has no exact form in the ANSI code page.
static int BuildRequest(const HostOptions* options, int verb, unsigned char* request)
{
    memset(request, 0, PathBlockSize);
    const wchar_t* text = options->request ? options->request : L"";
    if (verb == VerbSetDumpFile) {
        long mode = 0;
        if (options->request && !ParseNumber(text, LONG_MIN, LONG_MAX, &mode))
            return Fail(options, HostCouldNotRun, "the dump mode is not a number"), 0;
        StoreLe32(request, (int)mode);
        return 1;
    }
    // Exact only when the bytes read back as the same characters.
    char bytes[PathBlockSize * 2];
    wchar_t back[PathBlockSize];
    UINT codePage = GetACP();
    int size = WideCharToMultiByte(codePage, codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS,
                                   text, -1, bytes, sizeof bytes, 0, 0);
    if (size <= 0 || !MultiByteToWideChar(codePage, 0, bytes, -1, back, PathBlockSize) ||
        wcscmp(back, text) != 0)
        return Fail(options, HostCouldNotRun,
                    "the request directory has characters outside this system's code "
                    "page (ANSI), so the debugger could not send it"), 0;
    if (size > PathBlockSize)
        return Fail(options, HostCouldNotRun, "the request directory is too long"), 0;
    memcpy(request, bytes, (size_t)size);
    return 1;
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

// Picks options->choose in the dialog the way a user would.
static int DriveDialog(const HostOptions* options, PROCESS_INFORMATION* process)
{
    HWND dialog = WaitForDialog(process->dwProcessId, process->hProcess, DialogTimeoutMs, 0);
    if (!dialog)
        return 0;
    if (options->fileType > 0 && !SelectFileType(dialog, options->fileType - 1))
        fprintf(stderr, "filepick-host: the dialog has no file type %d\n", options->fileType);
    if (options->screenshot &&
        !SaveWindowBitmap(dialog, process->hProcess, options->screenshot))
        fprintf(stderr, "filepick-host: could not save the screenshot\n");
    if (!options->choose)
        return 1;
    // The dialogs want backslashes; scripts on Linux tend to write slashes.
    wchar_t path[MAX_PATH];
    lstrcpynW(path, options->choose, MAX_PATH);
    for (wchar_t* p = path; *p; ++p)
        if (*p == L'/')
            *p = L'\\';
    return ChooseFile(dialog, path);
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
    return size == ExchangeReplySize(verb);
}

int wmain(int argc, wchar_t** argv)
{
    HostOptions options;
    if (!ParseOptions(argc, argv, &options)) {
        Usage();
        return HostCouldNotRun;
    }
    if (options.version) {
        printf("filepick-host %s\n", FILEPICK_VERSION);
        return 0;
    }
    int verb = FindVerb(options.verbName);
    unsigned char request[PathBlockSize];
    if (verb >= 0 && !BuildRequest(&options, verb, request))
        return HostCouldNotRun;

    // A stale file could be read as this run's reply: it goes first.
    remove(ExchangePath);
    if (verb >= 0) {
        ExchangeBlock block = { request, ExchangeRequestSize(verb) };
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

    DWORD timeout = options.timeoutMs;
    if ((options.choose || options.screenshot) && !DriveDialog(&options, &process)) {
        EndPicker(&process);
        remove(ExchangePath);
        return Fail(&options, HostCouldNotRun, "the dialog did not appear");
    }
    if (options.choose && timeout == INFINITE)
        timeout = ChooseExitTimeoutMs;
    DWORD exitCode = 0;
    if (!WaitForExit(process.hProcess, timeout, &exitCode)) {
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
