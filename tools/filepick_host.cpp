// filepick-host: plays the host debugger's side of the exchange, for
// integrators and for scripted demonstrations.
//
//   filepick-host [options] VERB [request]
//
// Writes the request to C:\FILE in the verb's layout (an initial directory,
// or a dump mode), starts filepick.exe with the verb, waits for it, and
// prints the decoded reply or says that no file was chosen.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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
    const char* verbName;
    const char* request;
    const char* choose;      // drive the dialog and pick this file
    const char* screenshot;  // save the open dialog as a BMP first
    int fileType;            // with --choose: file type to select (1-based)
    int json;
    DWORD timeoutMs;         // INFINITE unless --timeout
};

static void Usage()
{
    fprintf(stderr,
            "usage: filepick-host [--json] [--timeout SECONDS] [--choose PATH [--type N]]\n"
            "                     [--screenshot FILE.bmp] VERB [request]\n"
            "  --choose PATH    pick PATH in the dialog by script, as the tests do\n"
            "  --type N         with --choose: select file type N (1 = first) first\n"
            "  --screenshot F   save the open dialog as a BMP picture\n"
            "  --timeout S      end the picker after S seconds\n"
            "  --json           print the outcome as one JSON object\n"
            "  VERB: DoLoadDebugFile [dir] | DoSetDumpFile MODE | DoModuleListFile [dir]\n"
            "  MODE: 0 save dump, 1 load dump, 2 log file\n"
            "exit status: 0 chosen, 1 not chosen, 2 unknown verb, 3 could not run\n");
}

static int ParseOptions(int argc, char** argv, HostOptions* options)
{
    memset(options, 0, sizeof *options);
    options->timeoutMs = INFINITE;
    int i = 1;
    for (; i < argc && strncmp(argv[i], "--", 2) == 0; ++i) {
        const char* name = argv[i];
        if (strcmp(name, "--json") == 0) {
            options->json = 1;
            continue;
        }
        if (i + 1 >= argc)
            return 0;
        const char* value = argv[++i];
        if (strcmp(name, "--choose") == 0) {
            options->choose = value;
        } else if (strcmp(name, "--type") == 0) {
            char* end = 0;
            options->fileType = (int)strtol(value, &end, 10);
            if (*end || options->fileType <= 0)
                return 0;
        } else if (strcmp(name, "--screenshot") == 0) {
            options->screenshot = value;
        } else if (strcmp(name, "--timeout") == 0) {
            char* end = 0;
            long seconds = strtol(value, &end, 10);
            if (*end || seconds <= 0 || seconds > 86400)
                return 0;
            options->timeoutMs = (DWORD)seconds * 1000;
        } else {
            return 0;
        }
    }
    if (i >= argc || argc - i > 2)
        return 0;
    options->verbName = argv[i];
    options->request = i + 1 < argc ? argv[i + 1] : 0;
    return 1;
}

// Builds the request bytes; 0 when the request text does not fit the verb.
static int BuildRequest(int verb, const char* text, unsigned char* request)
{
    memset(request, 0, PathBlockSize);
    if (verb == VerbSetDumpFile) {
        char* end = 0;
        long mode = strtol(text ? text : "0", &end, 10);
        if (*end)
            return 0;
        StoreLe32(request, (int)mode);
        return 1;
    }
    if (text && strlen(text) >= PathBlockSize)
        return 0;
    if (text)
        strcpy((char*)request, text);
    return 1;
}

static void PrintJsonString(const char* text)
{
    putchar('"');
    for (const unsigned char* p = (const unsigned char*)text; *p; ++p) {
        if (*p == '"' || *p == '\\')
            printf("\\%c", *p);
        else if (*p < 0x20)
            printf("\\u%04x", *p);
        else
            putchar(*p);
    }
    putchar('"');
}

static void PrintNotChosen(const HostOptions* options, const char* why)
{
    if (options->json) {
        printf("{\"status\":\"not-chosen\",\"reason\":");
        PrintJsonString(why);
        printf("}\n");
    } else {
        printf("No file was chosen (%s).\n", why);
    }
}

static void PrintReply(const HostOptions* options, int verb,
                       const unsigned char* reply)
{
    char shortPath[PathBlockSize];
    memcpy(shortPath, reply, PathBlockSize);
    TerminatePathBlock(shortPath);
    if (options->json) {
        printf("{\"status\":\"chosen\",\"verb\":\"%s\",\"shortPath\":",
               VerbNames[verb]);
        PrintJsonString(shortPath);
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
            printf(",\"startupSkip\":%d,\"symbolOnly\":%d,\"format\":%d,"
                   "\"formatLabel\":",
                   skip, symbol, format);
            PrintJsonString(label);
        } else {
            printf("startup skip: %d\nsymbol only:  %d\nformat:       %d (%s)\n",
                   skip, symbol, format, label);
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
        PrintJsonString(message);
        printf("}\n");
    }
    fprintf(stderr, "filepick-host: %s\n", message);
    return status;
}

// Picks options->choose in the dialog the way a user would.
static int DriveDialog(const HostOptions* options, PROCESS_INFORMATION* process)
{
    HWND dialog = WaitForDialog(process->dwProcessId, process->hProcess,
                                DialogTimeoutMs, 0);
    if (!dialog)
        return 0;
    if (options->fileType > 0 && !SelectFileType(dialog, options->fileType - 1))
        fprintf(stderr, "filepick-host: the dialog has no file type %d\n",
                options->fileType);
    if (options->screenshot && !SaveWindowBitmap(dialog, options->screenshot))
        fprintf(stderr, "filepick-host: could not save %s\n", options->screenshot);
    if (!options->choose)
        return 1;
    // The dialogs want backslashes; scripts on Linux tend to write slashes.
    char path[MAX_PATH];
    lstrcpynA(path, options->choose, sizeof path);
    for (char* p = path; *p; ++p)
        if (*p == '/')
            *p = '\\';
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

int main(int argc, char** argv)
{
    HostOptions options;
    if (!ParseOptions(argc, argv, &options)) {
        Usage();
        return HostCouldNotRun;
    }
    int verb = FindVerb(options.verbName);
    unsigned char request[PathBlockSize];
    if (verb >= 0 && !BuildRequest(verb, options.request, request))
        return Fail(&options, HostCouldNotRun, "request does not fit the verb");

    // A stale file could be read as this run's reply: it goes first.
    remove(ExchangePath);
    if (verb >= 0) {
        ExchangeBlock block = { request, ExchangeRequestSize(verb) };
        if (!WriteExchange(ExchangePath, 1, &block))
            return Fail(&options, HostCouldNotRun, "cannot write C:\\FILE");
    }

    char picker[MAX_PATH];
    PickerPathBesideSelf(picker, sizeof picker);
    char commandLine[MAX_PATH + 64];
    snprintf(commandLine, sizeof commandLine, "\"%s\" %s", picker,
             options.verbName);
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
        return Fail(&options, HostCouldNotRun,
                    "filepick.exe did not end in time and was stopped");
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
