// The entry routine: runs the command the command tail names.
#ifndef FILEPICK_DISPATCH_H
#define FILEPICK_DISPATCH_H

// 1 for a recognised verb (whatever the command did), 0 otherwise, also
// for a null tail.
int FilepickMain(const char* tail);

#endif
