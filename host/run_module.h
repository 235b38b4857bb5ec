// filepick-host --module: the debug-file dialog through the export, in
// this process, as a host that loaded filepick.exe as a module calls it.
#ifndef FILEPICK_HOST_RUN_MODULE_H
#define FILEPICK_HOST_RUN_MODULE_H

#include "options.h"

// Calls the exported dialog with folder (ANSI) and reports; the status.
int RunModule(const HostOptions* options, const char* folder);

#endif
