// filepick-host VERB: runs filepick.exe for the verb as the debugger does
// (request, start, the user's part, reply), and reports.
#ifndef FILEPICK_HOST_RUN_VERB_H
#define FILEPICK_HOST_RUN_VERB_H

#include "options.h"

// Builds the request bytes (RequestCapacity): their size, or 0 (after
// saying why) when the text does not fit the verb.
int MakeRequest(const HostOptions* options, int verb, unsigned char* request);

// Runs filepick.exe for the verb (-1: unknown) and reports; the status.
int RunPicker(const HostOptions* options, int verb, const unsigned char* request, int requestSize);

#endif
