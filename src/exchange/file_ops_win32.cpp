#include "exchange/file_ops.h"

#include <windows.h>

#include "exchange/refusals.h"
#include "exchange/same_entry.h"
#include "exchange/virtual_store.h"

int FileError = 0;

enum { WidePathCapacity = MAX_PATH + 8 };

// Windows 10's POSIX delete (FileDispositionInfoEx, from 1607; of a
// read-only file, from 1809). The SDK declares it only for programs that
// require those versions, so it is spelt out here.
static const FILE_INFO_BY_HANDLE_CLASS DispositionInfoEx = (FILE_INFO_BY_HANDLE_CLASS)21;
enum {
    DispositionDelete = 0x1,
    DispositionPosixSemantics = 0x2,
    DispositionIgnoreReadOnly = 0x10,
};

OwnedFile::~OwnedFile()
{
    if (file != NoFile)
        CloseHandle((HANDLE)file);
}

// Keeps the reason of the call that just failed, for the user.
static void RecordLastError() { FileError = (int)GetLastError(); }

// The ANSI path in UTF-16 (WidePathCapacity); 0 when it does not convert.
static int Widen(const char* path, wchar_t* wide)
{
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, WidePathCapacity) > 0)
        return 1;
    RecordLastError();
    return 0;
}

// Brief locks: a virus scanner or an indexer opens a file for a moment
// just after it was closed or renamed. An operation refused for such a
// reason is tried again for about a second in all before it counts.
enum { RetryTries = 20, RetryPauseMs = 50 };

// After a failure (FileError recorded): whether to try once more, after a
// pause.
static int MayRetry(int* tries)
{
    if ((FileError != ERROR_SHARING_VIOLATION && FileError != ERROR_LOCK_VIOLATION &&
         FileError != ERROR_ACCESS_DENIED) ||
        ++*tries >= RetryTries)
        return 0;
    Sleep(RetryPauseMs);
    return 1;
}

// After a refused rename or move (FileError recorded): whether to try once more,
// after a pause. Under UAC virtualization some refusals are final at once
// (exchange/refusals.h).
static int MayRetryMove(int* tries)
{
    if (NextAfterRefusedMove(FileError, ProcessIsVirtualized()) != MoveAgain ||
        ++*tries >= RetryTries)
        return 0;
    Sleep(RetryPauseMs);
    return 1;
}

static int FinalPath(HANDLE file, wchar_t* path)
{
    DWORD length = GetFinalPathNameByHandleW(file, path, WidePathCapacity,
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length > 0 && length < WidePathCapacity;
}

// The final path of this user's VirtualStore folder, where UAC keeps a
// virtualized program's copies of files in C:\ (opened as the folder, so
// that a redirected profile compares as its files do); empty when there
// is none.
static void VirtualStoreFolder(wchar_t* path)
{
    wchar_t folder[WidePathCapacity];
    path[0] = 0;
    if (!VirtualStorePath(folder, WidePathCapacity))
        return;
    OwnedFile store((FileHandle)CreateFileW(folder, 0,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, 0));
    if (store.file != NoFile && !FinalPath((HANDLE)store.file, path))
        path[0] = 0;
}

// Whether the open handle is the entry at path itself, or its VirtualStore
// copy (exchange/same_entry.h). Windows opens a link itself
// (FILE_FLAG_OPEN_REPARSE_POINT), but Wine follows a Unix link whatever
// the flags: its handle's final path is then the target's.
static int IsEntryItself(HANDLE file, const wchar_t* path)
{
    wchar_t full[WidePathCapacity];
    wchar_t final[WidePathCapacity];
    DWORD fullLength = GetFullPathNameW(path, WidePathCapacity, full, 0);
    if (!fullLength || fullLength >= WidePathCapacity || !FinalPath(file, final))
        return 0;
    if (IsSameEntry(full, 0, final))
        return 1;
    wchar_t store[WidePathCapacity];
    VirtualStoreFolder(store);
    return IsSameEntry(full, store, final);
}

// What an open of the entry at a path found.
enum EntryResult {
    EntryOpen,     // the plain file itself, open
    EntryAbsent,   // nothing at the path
    EntryRefused,  // something that cannot be opened as the file itself; FileError says why
};

// Opens the plain file at path itself into *file, never a folder or what a
// link points to.
static EntryResult OpenEntry(const wchar_t* path, DWORD access, FileHandle* file)
{
    *file = NoFile;
    OwnedFile entry((FileHandle)CreateFileW(
        path, access | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, 0));
    if (entry.file == NoFile) {
        RecordLastError();
        return FileError == ERROR_FILE_NOT_FOUND || FileError == ERROR_PATH_NOT_FOUND
                   ? EntryAbsent
                   : EntryRefused;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle((HANDLE)entry.file, &info)) {
        RecordLastError();
        return EntryRefused;
    }
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT) ||
        !IsEntryItself((HANDLE)entry.file, path)) {
        FileError = ERROR_CANT_ACCESS_FILE;
        return EntryRefused;
    }
    *file = entry.Release();
    return EntryOpen;
}

// OpenEntry, with brief locks tried again.
static EntryResult OpenEntryWaiting(const wchar_t* path, DWORD access, FileHandle* file)
{
    int tries = 0;
    EntryResult result = OpenEntry(path, access, file);
    while (result == EntryRefused && MayRetry(&tries))
        result = OpenEntry(path, access, file);
    return result;
}

// Whether nothing at all shows at path now (exchange/refusals.h).
static int IsFree(const wchar_t* path)
{
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        return 0;
    RecordLastError();
    return NameIsFree(FileError);
}

// Marks the open entry for deletion. Windows 10 on NTFS takes a POSIX
// delete, whose name goes as this handle closes even while a scanner still
// holds the file: one that ignores the read-only attribute from 1809, a
// plain one from 1607. Elsewhere (older systems, other file systems, Wine)
// both are refused, and the classic delete, which waits for the last
// handle, is asked for after taking the read-only attribute off; it is put
// back where that delete is refused too.
static int MarkDeleted(HANDLE file)
{
    static const DWORD posixDeletes[] = {
        DispositionDelete | DispositionPosixSemantics | DispositionIgnoreReadOnly,
        DispositionDelete | DispositionPosixSemantics,
    };
    for (DWORD posix : posixDeletes)
        if (SetFileInformationByHandle(file, DispositionInfoEx, &posix, sizeof posix))
            return 1;
    FILE_BASIC_INFO basic;
    int readOnly = GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) &&
                   basic.FileAttributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly) {
        FILE_BASIC_INFO writable = basic;
        writable.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
        if (!writable.FileAttributes)
            writable.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(file, FileBasicInfo, &writable, sizeof writable);
    }
    FILE_DISPOSITION_INFO disposition = { TRUE };
    if (SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition))
        return 1;
    RecordLastError();
    if (readOnly)
        SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    return 0;
}

// Deletes the open entry and closes it; 1 when the name at path is free
// afterwards.
static int DeleteAndClose(FileHandle file, const wchar_t* path)
{
    int deleted = MarkDeleted((HANDLE)file);
    CloseHandle((HANDLE)file);
    if (!deleted)
        return 0;
    for (int tries = 0; !IsFree(path);) {
        // Deleted, but another program still holds it: the name stays
        // taken till it lets go.
        FileError = ERROR_SHARING_VIOLATION;
        if (!MayRetry(&tries))
            return 0;
    }
    return 1;
}

int RenameOpenFile(FileHandle file, const wchar_t* path, int replace)
{
    struct {
        FILE_RENAME_INFO info;
        wchar_t room[WidePathCapacity];
    } rename = {};
    int length = lstrlenW(path);
    if (length >= WidePathCapacity) {
        FileError = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    rename.info.ReplaceIfExists = replace ? TRUE : FALSE;
    rename.info.FileNameLength = (DWORD)(length * sizeof(wchar_t));
    lstrcpyW(rename.info.FileName, path);
    int tries = 0;
    while (!SetFileInformationByHandle((HANDLE)file, FileRenameInfo, &rename, sizeof rename)) {
        RecordLastError();
        if (!MayRetryMove(&tries))
            return 0;
    }
    return 1;
}

RequestResult OpenRequest(const char* path, FileHandle* file)
{
    *file = NoFile;
    wchar_t wide[WidePathCapacity];
    if (!Widen(path, wide))
        return RequestHeld;
    // Delete access now: a request that could be read but not taken away
    // would be read back by the host as the reply.
    switch (OpenEntryWaiting(wide, GENERIC_READ | DELETE, file)) {
    case EntryOpen:
        return RequestTaken;
    case EntryAbsent:
        return RequestAbsent;
    default:
        return RequestHeld;
    }
}

int ReadAll(FileHandle file, void* data, int length)
{
    char* p = (char*)data;
    while (length > 0) {
        DWORD got = 0;
        if (!ReadFile((HANDLE)file, p, (DWORD)length, &got, 0)) {
            RecordLastError();
            return 0;
        }
        if (got == 0)
            return 0;
        p += got;
        length -= (int)got;
    }
    return 1;
}

RequestResult ConsumeRequest(FileHandle file, const char* path)
{
    OwnedFile request(file);
    wchar_t wide[WidePathCapacity];
    wchar_t aside[WidePathCapacity];
    if (!Widen(path, wide) || !Widen(path, aside))
        return RequestHeld;
    // Renamed aside first: a program that holds the request with delete
    // sharing keeps a deleted file's name taken until it lets go (on Wine,
    // and on Windows without POSIX deletes), and the reply needs the name.
    // Where it cannot be renamed, it is deleted in place.
    int renamed = 0;
    if (lstrlenW(aside) + 5 < WidePathCapacity) {
        lstrcatW(aside, L".old");
        renamed = RenameOpenFile(file, aside, 1);
    }
    if (renamed) {
        // Under its new name it may stay till its holder lets go; the next
        // run's rename replaces it.
        MarkDeleted((HANDLE)file);
    } else if (!DeleteAndClose(request.Release(), wide)) {
        return RequestHeld;
    }
    // Under UAC virtualization the request was this user's VirtualStore
    // copy; a real C:\FILE that this account cannot remove (left by an
    // elevated run or another user) then comes back into view, and the
    // host would read it as every reply.
    return IsFree(wide) ? RequestTaken : RequestShadowed;
}

int RemoveLeftover(const char* path)
{
    wchar_t wide[WidePathCapacity];
    if (!Widen(path, wide))
        return 0;
    FileHandle file;
    switch (OpenEntryWaiting(wide, DELETE, &file)) {
    case EntryOpen:
        return DeleteAndClose(file, wide);
    case EntryAbsent:
        return 1;
    default:
        return 0;
    }
}

// Creates the file at path (disposition CREATE_NEW or CREATE_ALWAYS),
// never through a link, brief refusals tried again.
static HANDLE Create(const char* path, DWORD access, DWORD disposition, wchar_t* wide)
{
    if (!Widen(path, wide))
        return INVALID_HANDLE_VALUE;
    int tries = 0;
    for (;;) {
        HANDLE file = CreateFileW(wide, access, 0, 0, disposition,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, 0);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        RecordLastError();
        if (!MayRetry(&tries))
            return INVALID_HANDLE_VALUE;
    }
}

FileHandle CreateNew(const char* path)
{
    // Delete access: the complete file is renamed onto its place through
    // this handle.
    wchar_t wide[WidePathCapacity];
    HANDLE file = Create(path, GENERIC_WRITE | DELETE, CREATE_NEW, wide);
    return file == INVALID_HANDLE_VALUE ? NoFile : (FileHandle)file;
}

int WriteAll(FileHandle file, const void* data, int length)
{
    DWORD put = 0;
    if (!WriteFile((HANDLE)file, data, (DWORD)length, &put, 0)) {
        RecordLastError();
        return 0;
    }
    if (put != (DWORD)length) {  // a disk file is written whole or not at all
        FileError = ERROR_DISK_FULL;
        return 0;
    }
    return 1;
}

int Commit(FileHandle file)
{
    if (FlushFileBuffers((HANDLE)file))
        return 1;
    RecordLastError();
    return 0;
}

int CommitAndClose(FileHandle file)
{
    int committed = Commit(file);
    if (CloseHandle((HANDLE)file))
        return committed;
    RecordLastError();
    return 0;
}

int MoveIntoPlace(FileHandle file, const char* from, const char* to)
{
    wchar_t wideFrom[WidePathCapacity];
    wchar_t wideTo[WidePathCapacity];
    int moved;
    {  // closed at the end of this block: a move by name needs it closed
        OwnedFile pending(file);
        if (!Widen(from, wideFrom) || !Widen(to, wideTo))
            return 0;
        moved = RenameOpenFile(file, wideTo, 1);
    }
    if (moved)
        return 1;
    // Where the handle's rename is refused (a file system without it), the
    // file is moved by its name; not where virtualization makes the refusal
    // final.
    if (NextAfterRefusedMove(FileError, ProcessIsVirtualized()) == WriteInPlaceInstead)
        return 0;
    int tries = 0;
    while (!MoveFileExW(wideFrom, wideTo, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        RecordLastError();
        if (!MayRetryMove(&tries))
            return 0;
    }
    return 1;
}

FileHandle CreateInPlace(const char* path)
{
    wchar_t wide[WidePathCapacity];
    OwnedFile file((FileHandle)Create(path, GENERIC_WRITE | DELETE, CREATE_ALWAYS, wide));
    if (file.file != NoFile && !IsEntryItself((HANDLE)file.file, wide)) {
        // Created or emptied, but not the entry the host reads: an empty
        // file left there would read as a reply.
        MarkDeleted((HANDLE)file.file);
        FileError = ERROR_CANT_ACCESS_FILE;
        return NoFile;
    }
    return file.Release();
}

int ProcessIsVirtualized()
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 0;
    DWORD virtualized = 0, size = 0;
    if (!GetTokenInformation(token, TokenVirtualizationEnabled, &virtualized, sizeof virtualized,
                             &size))
        virtualized = 0;
    CloseHandle(token);
    return virtualized != 0;
}
