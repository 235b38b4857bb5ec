#include "dialog_support/chosen_file.h"

#include <string.h>

#include "dialog_support/code_page.h"
#include "dialog_support/host_path.h"
#include "dialog_support/replies.h"
#include "dialog_support/warning.h"
#include "exchange/layouts.h"

enum {
    FullPathCapacity = MAX_PATH + 8,
    // The longest start folder the dialogs take: they add to it within
    // MAX_PATH, and the Explorer-style one crashes past that.
    StartFolderLimit = MAX_PATH - 2
};

// Why the system last refused a short form (ShortFormFailed).
static DWORD ShortFormError;

static int ShortForm(const wchar_t* longPath, wchar_t* shortPath, int capacity)
{
    DWORD length = GetShortPathNameW(longPath, shortPath, (DWORD)capacity);
    // A result at or above the capacity is the size the short form would
    // need: nothing was written.
    if (length >= (DWORD)capacity)
        return ShortFormTooLong;
    if (length)
        return (int)length;
    // Each folder of the path is looked up in its parent: one that the
    // user may pass through but not list refuses it for an existing file.
    ShortFormError = GetLastError();
    return ShortFormError == ERROR_FILE_NOT_FOUND || ShortFormError == ERROR_PATH_NOT_FOUND
               ? ShortFormMissing
               : ShortFormFailed;
}

// GetShortPathNameW and the exact ANSI conversion, for host_path.h.
static const PathServices PlatformPaths = { ShortForm, ExactAnsi };

// Device names come back from GetFullPathNameW as \\.\NAME, wherever they
// stand in the path and whatever extension they carry.
static int FullPath(const wchar_t* path, wchar_t* full)
{
    DWORD length = GetFullPathNameW(path, FullPathCapacity, full, 0);
    return length > 0 && length < FullPathCapacity ? (int)length : 0;
}

static int IsDeviceName(const wchar_t* full) { return wcsncmp(full, L"\\\\.\\", 4) == 0; }

// The folder's attributes, with critical errors failed in this thread
// alone: a drive without its medium must not bring up the system's "no
// disk" box, and a host that loaded the program keeps its own error mode.
// (Windows 7 and later; on Vista the program's own mode holds.)
static DWORD ProbedAttributes(const wchar_t* path)
{
    typedef BOOL(WINAPI * SetThreadErrorModeProc)(DWORD, DWORD*);
    SetThreadErrorModeProc setMode = (SetThreadErrorModeProc)(void*)GetProcAddress(
        GetModuleHandleW(L"kernel32"), "SetThreadErrorMode");
    DWORD before = 0;
    int set = setMode && setMode(SEM_FAILCRITICALERRORS, &before) &&
              setMode(before | SEM_FAILCRITICALERRORS, 0);
    DWORD attributes = GetFileAttributesW(path);
    if (set)
        setMode(before, 0);
    return attributes;
}

// Whether folder names an existing folder a dialog can start in.
static int IsStartFolder(const wchar_t* folder)
{
    wchar_t full[FullPathCapacity];
    if (wcslen(folder) >= StartFolderLimit)
        return 0;
    int length = FullPath(folder, full);
    if (!length || length >= StartFolderLimit || IsDeviceName(full))
        return 0;
    DWORD attributes = ProbedAttributes(full);
    return attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_DIRECTORY;
}

const wchar_t* StartFolder(const wchar_t* requested)
{
    // A folder too long for the dialogs opens by its short path where that
    // fits (asked through \\?\, as the long path passes MAX_PATH). The
    // dialogs run one at a time: one buffer serves.
    static wchar_t shortened[StartFolderLimit];
    enum { LongPrefix = 4, LongCapacity = 2 * FullPathCapacity };
    if (!requested || !requested[0])
        return 0;
    if (IsStartFolder(requested))
        return requested;
    wchar_t longPath[LongCapacity] = L"\\\\?\\";
    wchar_t shortPath[LongCapacity];
    DWORD length = GetFullPathNameW(requested, LongCapacity - LongPrefix, longPath + LongPrefix, 0);
    if (!length || length >= LongCapacity - LongPrefix)
        return 0;
    length = GetShortPathNameW(longPath, shortPath, LongCapacity);
    if (!length || length >= LongCapacity || length - LongPrefix >= StartFolderLimit)
        return 0;
    lstrcpynW(shortened, shortPath + LongPrefix, StartFolderLimit);
    return IsStartFolder(shortened) ? shortened : 0;
}

int IsDiskFileName(const wchar_t* path)
{
    wchar_t full[FullPathCapacity];
    if (FullPath(path, full) && IsDeviceName(full))
        return 0;
    // Opened without access: nothing is read or written, the type shows.
    HANDLE file = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 1;  // a new name
    int disk = GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    return disk;
}

void ReportNotAFile(HWND owner, const wchar_t* path)
{
    ShowWarning(owner, L"\"%ls\" is a device, not a file.\n\nChoose a file, or Cancel.", path);
}

void TellWhyNotReady(HWND owner, HostPathResult result, const wchar_t* longPath)
{
    if (result == HostPathMissing) {
        ShowWarning(owner,
                    L"The file you chose does not exist:\n\n%ls\n\nChoose another file, or Cancel.",
                    longPath);
    } else if (result == HostPathNoAnsiForm) {
        ShowWarning(owner,
                    L"The file you chose cannot be passed to the debugger:\n\n%ls\n\n"
                    L"The debugger takes file names only in this system's code page "
                    L"(ANSI), and this name or one of its folders has characters "
                    L"outside it, with no short (8.3) name to stand in.\n\n"
                    L"Rename the file or folder, or choose another file.",
                    longPath);
    } else if (result == HostPathTooLong) {
        ShowWarning(owner,
                    L"The file you chose cannot be passed to the debugger:\n\n%ls\n\n"
                    L"Its path is too long for the debugger.\n\n"
                    L"Move or rename the file or its folders, or choose another file.",
                    longPath);
    } else if (result == HostPathNoShortForm) {
        wchar_t why[ReasonCapacity];
        SystemErrorText((int)ShortFormError, why, ReasonCapacity);
        ShowWarning(owner,
                    L"The file you chose cannot be passed to the debugger:\n\n%ls\n\n"
                    L"Windows did not give its short (8.3) path, which the debugger "
                    L"needs: %ls\n\n"
                    L"Move the file to a folder of your own, or choose another file.",
                    longPath, why);
    }
}

HostPathResult HostPathFor(PathUse use, const wchar_t* longPath, char* hostPath, int capacity)
{
    if (use == PathForReply)
        return HostShortPath(&PlatformPaths, longPath, hostPath, capacity);
    // The caller's full path is given as it is, so it is looked at first: a
    // name Wine's old-style dialog let through, or a path it cut (to a
    // folder, or to nothing), is no file.
    DWORD attributes = GetFileAttributesW(longPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || attributes & FILE_ATTRIBUTE_DIRECTORY)
        return HostPathMissing;
    return HostCallerPath(&PlatformPaths, longPath, hostPath, capacity);
}

int ReplyWithChosenFile(const wchar_t* longPath)
{
    char hostPath[PathBlockSize] = "";
    HostPathResult result = HostPathFor(PathForReply, longPath, hostPath, sizeof hostPath);
    TellWhyNotReady(0, result, longPath);
    return result == HostPathReady && WritePathReply(hostPath);
}
