// A user's part in the picker's dialog for filepick-host: --type,
// --steps, --screenshot and --choose, through the driver's steps.
#ifndef FILEPICK_HOST_DRIVE_H
#define FILEPICK_HOST_DRIVE_H

#include "options.h"

// Whether the dialog is acted in (or pictured) at all.
int DrivesDialog(const HostOptions* options);

// How long the picker may take to end: a scripted run ends in time.
DWORD EndTimeout(const HostOptions* options);

// Acts in the dialog of the process (process 0: of this one) the way a
// user would: --type, --steps, then the picture, then --choose. 1 when all
// was done; else 0 and what was not, in problem.
int DriveDialog(const HostOptions* options, DWORD processId, HANDLE process, wchar_t* problem);

#endif
