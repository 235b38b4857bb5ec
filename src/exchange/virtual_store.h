// Where UAC keeps a virtualized program's copies of files in C:\: this
// user's VirtualStore folder.
#ifndef FILEPICK_VIRTUAL_STORE_H
#define FILEPICK_VIRTUAL_STORE_H

#include <wchar.h>

// "<this user's local application data>\VirtualStore", into path (capacity
// characters), from the shell's known folder, not from the environment: a
// host may start the picker with an environment block of its own, without
// LOCALAPPDATA. 0 (path empty) where the folder is not known or too long.
int VirtualStorePath(wchar_t* path, int capacity);

#endif
