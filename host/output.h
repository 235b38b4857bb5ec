// What filepick-host prints: a chosen file, no file, or a failure, as text
// or as one JSON object (--json), in one place.
#ifndef FILEPICK_HOST_OUTPUT_H
#define FILEPICK_HOST_OUTPUT_H

#include "console.h"
#include "options.h"

// The debug-file words: startup skip, symbol only, vendor format.
struct LoadWords {
    int startupSkip, symbolOnly, format;
};

// Says why the run could not go on (on standard error, and as JSON);
// returns status.
int Fail(const HostOptions* options, int status, const wchar_t* message);

// A chosen file: the host's ANSI path (labelled as what it is in text) and
// the words where there are any (0: none).
void PrintChosen(const HostOptions* options, const char* label, const char* path,
                 const LoadWords* words);

// No file chosen, and why; the words where there are any.
void PrintNotChosen(const HostOptions* options, const wchar_t* why, const LoadWords* words);

#endif
