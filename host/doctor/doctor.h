// filepick-host --doctor: checks the machine it runs on as the debugger
// would use filepick there, and says what to change. Seven checks, each
// ok, warn, fail, unknown (the platform cannot tell) or skipped: the
// picker, the exchange file, UAC and virtualization, short names, the names
// in the project folder, the code pages, and the three dialogs. It never
// changes, moves or deletes a file at the exchange paths; its own probe
// files go again. Every wait is bounded.
#ifndef FILEPICK_DOCTOR_H
#define FILEPICK_DOCTOR_H

// folder: the project folder (0: the current one). Prints a line a check,
// or with json one object. 0 when no check failed (warnings allowed), 1
// when one did.
int RunDoctor(int json, const wchar_t* folder);

#endif
