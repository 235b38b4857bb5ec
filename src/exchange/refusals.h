// What the exchange does next when Windows refuses a step. No Windows API
// here: file_ops_win32.cpp passes the system's error codes, and the rules
// are tested natively.
#ifndef FILEPICK_REFUSALS_H
#define FILEPICK_REFUSALS_H

// The system error codes these rules look at (winerror.h).
enum {
    SystemFileNotFound = 2,
    SystemPathNotFound = 3,
    SystemAccessDenied = 5,
};

// Whether a name is free, after a look-up of its attributes failed with
// error. Only "not found" frees it: a file deleted while another program
// (a scanner) still holds it answers "access denied" until it lets go.
int NameIsFree(int error);

// Whether the reply is to be written straight to its name, after the move
// of the complete pending file onto it was refused with error even after
// the retries. Only where UAC virtualizes this process and refuses with
// "access denied": Windows documents that a virtualized program's creates,
// writes and deletes in C:\ land in its VirtualStore, but not that a
// rename does. Anywhere else a refused move is a failure, told to the user.
int WriteInPlaceAfter(int moveError, int virtualized);

#endif
