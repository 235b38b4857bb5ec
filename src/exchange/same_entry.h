// Whether an open handle is the exchange entry that was asked for. No
// Windows API here: the platform's side (file_ops_win32.cpp) gives the
// three paths, and the rule is tested natively.
//
// UAC file virtualization opens a legacy program's C:\FILE as its copy in
// the user's VirtualStore folder: the handle's final path is then that of
// the copy, <VirtualStore>\FILE, and it is still the entry that host and
// picker share. Any other final path is something else, for example what a
// link points to.
#ifndef FILEPICK_SAME_ENTRY_H
#define FILEPICK_SAME_ENTRY_H

#include <wchar.h>

// requested: the full path asked for ("C:\FILE"). store: the final path of
// the VirtualStore folder, or null or empty where there is none. handle:
// the final path of the open handle. Final paths may start with \\?\.
// Names compare as Windows compares them here: letters without regard to
// case (the exchange paths are ASCII; a final path's own folders are
// normalized, so the two final paths agree letter for letter).
int IsSameEntry(const wchar_t* requested, const wchar_t* store, const wchar_t* handle);

#endif
