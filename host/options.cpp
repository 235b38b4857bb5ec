#include "options.h"

#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "screenshot.h"


void Usage(FILE* out)
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


void FormatProblem(wchar_t* problem, const wchar_t* format, ...)
{
    va_list values;
    va_start(values, format);
    _vsnwprintf(problem, MessageCapacity, format, values);
    va_end(values);
    problem[MessageCapacity - 1] = 0;
}


static int ParseNumber(const wchar_t* text, long low, long high, long* value)
{
    wchar_t* end = 0;
    *value = wcstol(text, &end, 10);
    return end != text && !*end && *value >= low && *value <= high;
}

// The readers of the options that take a value: 1, or 0 and what is wrong.
static int TakeChoose(const wchar_t* value, HostOptions* options, wchar_t*)
{
    options->choose = value;
    return 1;
}

static int TakeType(const wchar_t* value, HostOptions* options, wchar_t* problem)
{
    long number = 0;
    if (!ParseNumber(value, 1, 1000, &number)) {
        FormatProblem(problem, L"--type takes a file type's number, 1 for the first, not \"%ls\"",
                      value);
        return 0;
    }
    options->fileType = (int)number;
    return 1;
}

static int TakeScreenshot(const wchar_t* value, HostOptions* options, wchar_t* problem)
{
    if (!IsPictureName(value)) {
        FormatProblem(problem,
                      L"--screenshot takes a file name ending in .png or .bmp, not \"%ls\"", value);
        return 0;
    }
    options->screenshot = value;
    return 1;
}

static int TakeSteps(const wchar_t* value, HostOptions* options, wchar_t*)
{
    options->steps = value;
    return 1;
}

static int TakeTimeout(const wchar_t* value, HostOptions* options, wchar_t* problem)
{
    long number = 0;
    if (!ParseNumber(value, 1, 86400, &number)) {
        FormatProblem(problem, L"--timeout takes whole seconds from 1 to 86400, not \"%ls\"", value);
        return 0;
    }
    options->timeoutMs = (DWORD)number * 1000;
    return 1;
}

// Every option, as the usage text above lists it: a flag sets its word; an
// option with a value takes the next argument through its reader.
static const struct {
    const wchar_t* name;
    int HostOptions::*flag;
    int (*take)(const wchar_t* value, HostOptions* options, wchar_t* problem);
} Options[] = {
    { L"--json", &HostOptions::json, 0 },     { L"--version", &HostOptions::version, 0 },
    { L"--module", &HostOptions::module, 0 }, { L"--doctor", &HostOptions::doctor, 0 },
    { L"--help", &HostOptions::help, 0 },     { L"-h", &HostOptions::help, 0 },
    { L"--choose", 0, TakeChoose },           { L"--type", 0, TakeType },
    { L"--screenshot", 0, TakeScreenshot },   { L"--steps", 0, TakeSteps },
    { L"--timeout", 0, TakeTimeout },
};

int ParseOptions(int argc, wchar_t** argv, HostOptions* options, wchar_t* problem)
{
    memset(options, 0, sizeof *options);
    options->timeoutMs = INFINITE;
    int i = 1;
    // Verbs never start with '-': whatever does is an option.
    for (; i < argc && argv[i][0] == L'-'; ++i) {
        const wchar_t* name = argv[i];
        int known = -1;
        for (int entry = 0; entry < (int)(sizeof Options / sizeof *Options); ++entry)
            if (wcscmp(name, Options[entry].name) == 0)
                known = entry;
        if (known < 0) {
            FormatProblem(problem, L"unknown option %ls", name);
            return 0;
        }
        if (Options[known].flag) {
            options->*Options[known].flag = 1;
            continue;
        }
        if (i + 1 >= argc) {
            FormatProblem(problem, L"%ls needs a value", name);
            return 0;
        }
        if (!Options[known].take(argv[++i], options, problem))
            return 0;
    }
    int left = argc - i;
    if (options->help)
        return 1;
    if (options->version) {
        if (left != 0)
            FormatProblem(problem, L"--version takes no verb");
        return left == 0;
    }
    if (options->doctor) {
        options->request = left ? argv[i] : 0;
        if (left > 1)
            FormatProblem(problem, L"--doctor takes one folder at the most");
        return left <= 1;
    }
    if (left == 0) {
        FormatProblem(problem, L"no verb given");
        return 0;
    }
    if (left > 2) {
        FormatProblem(problem,
                      L"too many arguments: a verb takes one request at the most "
                      L"(\"%ls\" is one too many)",
                      argv[i + 2]);
        return 0;
    }
    // Verbs are ASCII: anything else is an unknown verb, and stays one. No
    // best-fit look-alike: "DoS\u0113tDumpFile" must not become a verb.
    options->verb = argv[i];
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, argv[i], -1, options->verbName,
                        sizeof options->verbName, "?", 0);
    options->verbName[sizeof options->verbName - 1] = 0;
    options->request = left > 1 ? argv[i + 1] : 0;
    return 1;
}
