// The file operations the exchange file needs (file_ops_win32.cpp), kept
// apart from exchange.cpp, which needs no Windows API. None of them ever acts
// on what a link at the path points to: a link is refused, never followed,
// written through, renamed or deleted in its target's place. The entry may
// be its UAC VirtualStore copy (exchange/same_entry.h). What a sharing,
// lock or access violation refuses is tried again for about a second
// before it fails: scanners and indexers hold files for a moment.
#ifndef FILEPICK_FILE_OPS_H
#define FILEPICK_FILE_OPS_H

#include <stdint.h>

#include "exchange/exchange.h"

typedef intptr_t FileHandle;
enum { NoFile = -1 };

// The platform's error code of the last operation here that failed, for
// telling the user why.
extern int FileError;

// Closes the file it holds at the end of its scope, unless Release gave it
// to a call that closes it.
struct OwnedFile {
    FileHandle file;
    explicit OwnedFile(FileHandle opened)
        : file(opened)
    {
    }
    ~OwnedFile();
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;
    FileHandle Release()
    {
        FileHandle held = file;
        file = NoFile;
        return held;
    }
};

// Opens the request at path into *file, for reading and for taking it
// away: RequestTaken when it is open (and this run's), RequestAbsent when there is none,
// RequestHeld when it cannot be taken (held by another program without
// delete sharing, a folder or a link).
RequestResult OpenRequest(const char* path, FileHandle* file);

// Reads exactly length bytes; 0 at the end of the file or on an error.
int ReadAll(FileHandle file, void* data, int length);

// Closes the request and removes it, read-only or not, so that the name is
// free for the reply at once (also when another program still holds it with
// delete sharing): renamed aside to path + ".old" through this handle, and
// deleted there; where that rename is refused, deleted in place.
// RequestTaken when nothing is left at path, RequestHeld when it could not
// be removed, RequestShadowed when another file shows at path.
RequestResult ConsumeRequest(FileHandle file, const char* path);

// Removes a plain file left at path, read-only or not; 1 when the name is
// free. A folder, a link or a file another program holds stays, and is a
// failure.
int RemoveLeftover(const char* path);

// Creates path as a new file, to be moved with MoveIntoPlace; fails when
// anything is there, a link too.
FileHandle CreateNew(const char* path);

// Writes all length bytes; 0 when they could not all be written.
int WriteAll(FileHandle file, const void* data, int length);

// Makes the written data durable; 0 when that failed (a full disk may
// show only here).
int Commit(FileHandle file);

// Commit, then closes the file; 0 when either failed.
int CommitAndClose(FileHandle file);

// Moves the committed file, open as file (from CreateNew) at from, onto
// to, replacing a file at to in one step: a reader sees the old file or the
// new one, never a part. Renamed through the handle; where that is
// refused, closed and moved by name. The file is closed either way. 1 on
// success.
int MoveIntoPlace(FileHandle file, const char* from, const char* to);

// Renames the open file itself (opened with DELETE access) to path: the
// entry that was checked, not whatever the name finds a moment later. A
// file at path is replaced only where replace is 1. Brief refusals are
// tried again; 0 when it was refused.
int RenameOpenFile(FileHandle file, const wchar_t* path, int replace);

// Creates or empties the file at path itself (never what a link points
// to), for writing in place.
FileHandle CreateInPlace(const char* path);

// Whether UAC file virtualization is on for this process.
int ProcessIsVirtualized();

#endif
