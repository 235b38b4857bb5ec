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
    SystemNotSameDevice = 17,
    SystemSharingViolation = 32,
    SystemLockViolation = 33,
};

// Whether a name is free, after a look-up of its attributes failed with
// error. Only "not found" frees it: a file deleted while another program
// (a scanner) still holds it answers "access denied" until it lets go.
int NameIsFree(int error);

// What the exchange does after the move of the complete pending reply onto
// its name was refused with error.
enum AfterRefusedMove {
    MoveAgain,            // a brief lock (a scanner): again after a pause, for about a second
    WriteInPlaceInstead,  // at once: the reply written straight to its name
    MoveFailed,           // told to the user
};

// Windows documents that a virtualized program's creates, writes and
// deletes in C:\ land in its VirtualStore, but not that a rename does: where
// UAC virtualizes this process, a rename refused as "access denied" or
// "not the same device" (a VirtualStore on another volume) is not tried
// again but written in place. Elsewhere "access denied" may be a brief lock
// (a file deleted while a scanner holds it), tried again before it fails.
AfterRefusedMove NextAfterRefusedMove(int error, int virtualized);

#endif
