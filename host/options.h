// filepick-host's command line: what it asks for, the usage text, and
// the exit statuses.
#ifndef FILEPICK_HOST_OPTIONS_H
#define FILEPICK_HOST_OPTIONS_H

#include <windows.h>

#include <stdio.h>

enum HostStatus { HostChosen = 0, HostNotChosen = 1, HostUnknownVerb = 2, HostCouldNotRun = 3 };

enum { DialogTimeoutMs = 60000, ChooseExitTimeoutMs = 60000, MessageCapacity = 1024 };

struct HostOptions {
    char verbName[64];
    const wchar_t* verb;  // as given; 0 when none was
    const wchar_t* request;
    const wchar_t* choose;      // drive the dialog and pick this file
    const wchar_t* screenshot;  // save the dialog as a picture (.png or .bmp)
    const wchar_t* steps;       // further steps of a user, before --choose
    int fileType;               // file type to select first (1-based)
    int json;
    int version;
    int help;
    int module;       // call the exported dialog in this process
    int doctor;       // check this machine (doctor.h)
    DWORD timeoutMs;  // INFINITE unless --timeout
};

// Prints the usage text to out.
void Usage(FILE* out);

// 1 when the arguments make sense; else 0 and what is wrong, in a line.
int ParseOptions(int argc, wchar_t** argv, HostOptions* options, wchar_t* problem);

// Formats a message into problem (MessageCapacity characters).
void FormatProblem(wchar_t* problem, const wchar_t* format, ...);

#endif
