// filepick-host: plays the host debugger's side of the exchange, for
// integrators and for scripted demonstrations; --doctor checks a machine
// (doctor/).
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

#include "doctor/doctor.h"
#include "driver/program_module.h"
#include "driver/request.h"
#include "entry/command_line.h"
#include "options.h"
#include "output.h"
#include "run_module.h"
#include "run_verb.h"


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
            FormatProblem(problem, L"unknown verb %ls", options.verb);
            return ReportFailure(&options, HostUnknownVerb, problem);
        }
        if (verb != VerbLoadDebugFile)
            return ReportFailure(&options, HostCouldNotRun, L"--module takes DoLoadDebugFile");
        return RunModule(&options, (const char*)request);
    }
    return RunPicker(&options, verb, request, requestSize);
}
