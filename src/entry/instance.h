// The program's own module handle, stored by the entry routine.
#ifndef FILEPICK_INSTANCE_H
#define FILEPICK_INSTANCE_H

#include <windows.h>

// Zero until the entry routine runs (and so in a host that only loaded the
// program as a module).
extern HINSTANCE SavedInstance;

// The entry routine: stores the instance, runs the command the tail names.
// 1 for a recognised verb (whatever the command did), 0 otherwise.
int FilepickMain(HINSTANCE instance, const char* tail);

#endif
