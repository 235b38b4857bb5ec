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

static int Fail()
{
    FileError = (int)GetLastError();
    return 0;
}

static int Widen(const char* path, wchar_t* wide)
{
    return MultiByteToWideChar(CP_ACP, 0, path, -1, wide, WidePathCapacity) > 0 || Fail();
}

// Brief locks: a virus scanner or an indexer opens a file for a moment
// just after it was closed or renamed. An operation refused for such a
// reason is tried again for about a second in all before it counts.
enum { RetryTries = 20, RetryPauseMs = 50 };

// After a failure (FileError set): whether to try once more, after a pause.
static int MayRetry(int* tries)
{
    if ((FileError != ERROR_SHARING_VIOLATION && FileError != ERROR_LOCK_VIOLATION &&
         FileError != ERROR_ACCESS_DENIED) ||
        ++*tries >= RetryTries)
        return 0;
    Sleep(RetryPauseMs);
    return 1;
}

// After a refused rename or move (FileError set): whether to try once more,
// after a pause. Under UAC virtualization some refusals are final at once
// (exchange/refusals.h).
static int MayRetryMove(int* tries)
{
    if (NextAfterRefusedMove(FileError, ProcessIsVirtualized()) != MoveAgain || ++*tries >= RetryTries)
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
    HANDLE store = CreateFileW(folder, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, 0);
    if (store == INVALID_HANDLE_VALUE)
        return;
    if (!FinalPath(store, path))
        path[0] = 0;
    CloseHandle(store);
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

// Opens the plain file at path itself, never a folder or what a link points
// to; INVALID_HANDLE_VALUE with FileError 0 when there is nothing at path.
static HANDLE OpenEntry(const wchar_t* path, DWORD access)
{
    HANDLE file = CreateFileW(path, access | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                              OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, 0);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        FileError = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : (int)error;
        return INVALID_HANDLE_VALUE;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) {
        Fail();
    } else if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT) ||
               !IsEntryItself(file, path)) {
        FileError = ERROR_CANT_ACCESS_FILE;
    } else {
        return file;
    }
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
}

// Whether nothing at all shows at path now (exchange/refusals.h).
static int IsFree(const wchar_t* path)
{
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        return 0;
    FileError = (int)GetLastError();
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
    Fail();
    if (readOnly)
        SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    return 0;
}

// Deletes the open entry and closes it; 1 when the name at path is free
// afterwards.
static int DeleteAndClose(HANDLE file, const wchar_t* path)
{
    int deleted = MarkDeleted(file);
    CloseHandle(file);
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

// Renames the open file itself to path, replacing a file there: the entry
// that was checked, not whatever the name finds a moment later. Needs the
// handle's DELETE access. Brief refusals are tried again.
static int RenameHandle(HANDLE file, const wchar_t* path)
{
    struct {
        FILE_RENAME_INFO info;
        wchar_t room[WidePathCapacity];
    } rename = {};
    int length = lstrlenW(path);
    rename.info.ReplaceIfExists = TRUE;
    rename.info.FileNameLength = (DWORD)(length * sizeof(wchar_t));
    lstrcpyW(rename.info.FileName, path);
    int tries = 0;
    while (!SetFileInformationByHandle(file, FileRenameInfo, &rename, sizeof rename)) {
        Fail();
        if (!MayRetryMove(&tries))
            return 0;
    }
    return 1;
}

FileHandle OpenRequest(const char* path)
{
    wchar_t wide[WidePathCapacity];
    if (!Widen(path, wide))
        return NoFile;
    // Delete access now: a request that could be read but not taken away
    // would be read back by the host as the reply.
    HANDLE file;
    int tries = 0;
    do
        file = OpenEntry(wide, GENERIC_READ | DELETE);
    while (file == INVALID_HANDLE_VALUE && MayRetry(&tries));
    return file == INVALID_HANDLE_VALUE ? NoFile : (FileHandle)file;
}

int ReadAll(FileHandle file, void* data, int length)
{
    char* p = (char*)data;
    while (length > 0) {
        DWORD got = 0;
        if (!ReadFile((HANDLE)file, p, (DWORD)length, &got, 0))
            return Fail();
        if (got == 0)
            return 0;
        p += got;
        length -= (int)got;
    }
    return 1;
}

int ConsumeRequest(FileHandle file, const char* path)
{
    wchar_t wide[WidePathCapacity];
    wchar_t aside[WidePathCapacity];
    if (!Widen(path, wide) || !Widen(path, aside)) {
        CloseHandle((HANDLE)file);
        return 0;
    }
    // Renamed aside first: a program that holds the request with delete
    // sharing keeps a deleted file's name taken until it lets go (on Wine,
    // and on Windows without POSIX deletes), and the reply needs the name.
    // Where it cannot be renamed, it is deleted in place.
    int renamed = 0;
    if (lstrlenW(aside) + 5 < WidePathCapacity) {
        lstrcatW(aside, L".old");
        renamed = RenameHandle((HANDLE)file, aside);
    }
    if (renamed) {
        // Under its new name it may stay till its holder lets go; the next
        // run's rename replaces it.
        MarkDeleted((HANDLE)file);
        CloseHandle((HANDLE)file);
    } else if (!DeleteAndClose((HANDLE)file, wide)) {
        return 0;
    }
    // Under UAC virtualization the request was this user's VirtualStore
    // copy; a real C:\FILE that this account cannot remove (left by an
    // elevated run or another user) then comes back into view, and the
    // host would read it as every reply.
    if (!IsFree(wide)) {
        FileError = ERROR_FILE_EXISTS;
        return 0;
    }
    return 1;
}

int RemoveLeftover(const char* path)
{
    wchar_t wide[WidePathCapacity];
    if (!Widen(path, wide))
        return 0;
    HANDLE file;
    int tries = 0;
    do
        file = OpenEntry(wide, DELETE);
    while (file == INVALID_HANDLE_VALUE && MayRetry(&tries));
    if (file == INVALID_HANDLE_VALUE)
        return FileError == 0;
    return DeleteAndClose(file, wide);
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
        Fail();
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
    return (WriteFile((HANDLE)file, data, (DWORD)length, &put, 0) && put == (DWORD)length) ||
           Fail();
}

int Commit(FileHandle file) { return FlushFileBuffers((HANDLE)file) || Fail(); }

int CommitAndClose(FileHandle file)
{
    int ok = Commit(file);
    if (!CloseHandle((HANDLE)file))
        ok = Fail();
    return ok;
}

void CloseFile(FileHandle file) { CloseHandle((HANDLE)file); }

int MoveIntoPlace(FileHandle file, const char* from, const char* to)
{
    wchar_t wideFrom[WidePathCapacity];
    wchar_t wideTo[WidePathCapacity];
    if (!Widen(from, wideFrom) || !Widen(to, wideTo)) {
        CloseHandle((HANDLE)file);
        return 0;
    }
    int moved = RenameHandle((HANDLE)file, wideTo);
    CloseHandle((HANDLE)file);
    if (moved)
        return 1;
    // Where the handle's rename is refused (a file system without it), the
    // file is moved by its name; not where virtualization makes the refusal
    // final.
    if (NextAfterRefusedMove(FileError, ProcessIsVirtualized()) == WriteInPlaceInstead)
        return 0;
    int tries = 0;
    while (!MoveFileExW(wideFrom, wideTo, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Fail();
        if (!MayRetryMove(&tries))
            return 0;
    }
    return 1;
}

FileHandle CreateInPlace(const char* path)
{
    wchar_t wide[WidePathCapacity];
    HANDLE file = Create(path, GENERIC_WRITE | DELETE, CREATE_ALWAYS, wide);
    if (file == INVALID_HANDLE_VALUE)
        return NoFile;
    if (!IsEntryItself(file, wide)) {
        // Created or emptied, but not the entry the host reads: an empty
        // file left there would read as a reply.
        MarkDeleted(file);
        CloseHandle(file);
        FileError = ERROR_CANT_ACCESS_FILE;
        return NoFile;
    }
    return (FileHandle)file;
}

int ProcessIsVirtualized()
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 0;
    DWORD virtualized = 0, size = 0;
    if (!GetTokenInformation(token, TokenVirtualizationEnabled, &virtualized, sizeof virtualized, &size))
        virtualized = 0;
    CloseHandle(token);
    return virtualized != 0;
}
