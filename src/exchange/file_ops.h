// The two file operations the exchange file needs beyond the C library:
// an atomic replace and a delete that also takes read-only files. One
// implementation per platform (file_ops_posix.cpp, file_ops_win32.cpp).
#ifndef FILEPICK_FILE_OPS_H
#define FILEPICK_FILE_OPS_H

// Moves from onto to, replacing a file at to in one step: a reader sees the
// old file or the new one, never a part. 1 on success.
int AtomicReplace(const char* from, const char* to);

// Deletes the file, clearing a read-only attribute first if need be. 1 when
// no file is left at path.
int DeleteAnyFile(const char* path);

#endif
