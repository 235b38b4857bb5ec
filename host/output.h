// What filepick-host prints: a chosen file, no file, or a failure, as text
// or as one JSON object (--json), in one place.
#ifndef FILEPICK_HOST_OUTPUT_H
#define FILEPICK_HOST_OUTPUT_H

#include "console.h"
#include "options.h"

// What the user chose in the debug-file dialog besides the file: startup
// skip, symbol only, vendor format.
struct LoadChoices {
    int startupSkip, symbolOnly, format;
};

// Prints why the run could not go on (on standard error, and as JSON);
// returns status, the exit status to end with.
int ReportFailure(const HostOptions* options, int status, const wchar_t* message);

// A chosen file: the host's ANSI path (labelled as what it is in text) and
// the choices where there are any (0: none).
void PrintChosen(const HostOptions* options, const char* label, const char* path,
                 const LoadChoices* choices);

// No file chosen, and why; the choices where there are any.
void PrintNotChosen(const HostOptions* options, const wchar_t* why, const LoadChoices* choices);

#endif
