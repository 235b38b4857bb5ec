// exchange: what stands at the exchange paths now (never touched), and a
// probe file of the doctor's own in C:\, made, renamed and deleted as
// filepick and the debugger do.
#include "check.h"

#include <aclapi.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "dialog_support/replies.h"
#include "exchange/file_ops.h"
#include "exchange/refusals.h"
#include "exchange/virtual_store.h"

static const wchar_t ProbePath[] = L"C:\\filepick-doctor.probe";

// Whether the file's owner is an account other than this process's user;
// 0 where the platform does not tell.
static int OwnedByAnother(const wchar_t* path)
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 0;
    char user[256];
    DWORD size = 0;
    PSID owner = 0;
    PSECURITY_DESCRIPTOR descriptor = 0;
    int another = GetTokenInformation(token, TokenUser, user, sizeof user, &size) &&
                  GetNamedSecurityInfoW(path, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, 0,
                                        0, 0, &descriptor) == ERROR_SUCCESS &&
                  owner && !EqualSid(owner, ((TOKEN_USER*)user)->User.Sid);
    LocalFree(descriptor);
    CloseHandle(token);
    return another;
}

// One step of the probe in C:\; 0 (and the check failed) when it did not go.
// target: the name the step makes (the probe's, or the name it is renamed
// to).
static int ProbeStep(Check* check, int done, const wchar_t* what, const wchar_t* target = ProbePath)
{
    if (done)
        return 1;
    DWORD error = GetLastError();
    wchar_t why[ReasonCapacity];
    Reason(error, why);
    check->status = StatusFail;
    Append(check->found, L"%lsthis user could not %ls a file in C:\\ (%ls): %ls",
           check->found[0] ? L"; " : L"", what, target, why);
    // Something of another's at the name the step makes may be refused as
    // access denied too: then it is what stands there that is in the way.
    int inTheWay = (wcscmp(what, L"create") == 0 || wcscmp(what, L"rename") == 0) &&
                   GetFileAttributesW(target) != INVALID_FILE_ATTRIBUTES;
    if (error == ERROR_ACCESS_DENIED && !inTheWay)
        Append(check->advice, L"%ls", RightsAdvice + 2);
    else
        Append(check->advice, L"Remove what stands at %ls, then run the doctor again.", target);
    return 0;
}

// Where the probe file really is: "C:\" itself, or "VirtualStore (PATH)"
// when UAC virtualization put it there (into where, PathCapacity + 16).
static void WhereItLanded(HANDLE file, wchar_t* where)
{
    wchar_t final[PathCapacity], store[PathCapacity];
    lstrcpyW(where, L"C:\\");
    DWORD length = GetFinalPathNameByHandleW(file, final, PathCapacity, FILE_NAME_NORMALIZED);
    if (!length || length >= PathCapacity || !VirtualStorePath(store, PathCapacity - 1))
        return;
    lstrcatW(store, L"\\");
    const wchar_t* path = wcsncmp(final, L"\\\\?\\", 4) == 0 ? final + 4 : final;
    if (_wcsnicmp(path, store, wcslen(store)) == 0)
        _snwprintf(where, PathCapacity + 16, L"VirtualStore (%ls)", path);
}

// Whether the user can create, write, read back, rename and delete a
// file in C:\, as picker and debugger must, and where UAC puts it.
static void ProbeRoot(Check* check)
{
    wchar_t renamed[PathCapacity], where[PathCapacity + 16];
    _snwprintf(renamed, PathCapacity, L"%ls.renamed", ProbePath);
    static const char content[] = "filepick doctor probe";
    char back[sizeof content] = "";
    DWORD moved = 0;
    HANDLE file = CreateFileW(ProbePath, GENERIC_READ | GENERIC_WRITE | DELETE, 0, 0, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, 0);
    if (!ProbeStep(check, file != INVALID_HANDLE_VALUE, L"create"))
        return;
    WhereItLanded(file, where);
    int ok = ProbeStep(check,
                       WriteFile(file, content, sizeof content, &moved, 0) &&
                           moved == sizeof content,
                       L"write") &&
             ProbeStep(check,
                       SetFilePointer(file, 0, 0, FILE_BEGIN) == 0 &&
                           ReadFile(file, back, sizeof back, &moved, 0) &&
                           memcmp(back, content, sizeof content) == 0,
                       L"read back");
    const wchar_t* left = ProbePath;
    int inPlace = 0;
    // Renamed through its handle, as filepick moves its reply onto C:\FILE,
    // but never over a file that is there.
    if (ok && RenameOpenFile((FileHandle)file, renamed, 0)) {
        left = renamed;
    } else if (ok && where[0] == L'V' && NextAfterRefusedMove(FileError, 1) == WriteInPlaceInstead) {
        // As filepick's move of its reply onto C:\FILE would be: it then
        // writes the reply in place.
        inPlace = 1;
        check->status = Worse(check->status, StatusWarn);
        Append(check->found,
               L"%lsC:\\ is virtualized into %ls, where this user's rename was "
               L"refused: filepick writes the reply in place here (a picker ended "
               L"while it writes leaves a part of a reply)",
               check->found[0] ? L"; " : L"", where);
    } else if (ok) {
        SetLastError((DWORD)FileError);
        ProbeStep(check, 0, L"rename", renamed);
        ok = 0;
    }
    CloseHandle(file);
    if (!ProbeStep(check, DeleteFileW(left), L"delete", left) || !ok || inPlace)
        return;
    if (where[0] == L'V')
        Append(check->found,
               L"%lsC:\\ is virtualized into %ls: there this user can create, "
               L"write, read back, rename and delete a file, as filepick and a "
               L"legacy debugger do",
               check->found[0] ? L"; " : L"", where);
    else
        Append(check->found,
               L"%lsthis user can create, write, read back, rename and delete a "
               L"file in C:\\",
               check->found[0] ? L"; " : L"");
}

// What stands at the pending reply's or the set-aside request's name, and
// keeps every run from going (filepick removes a plain file of its own
// there): a folder, a link, or a file this user cannot remove; 0 for a
// plain, removable file.
static const wchar_t* InTheWay(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return NameIsFree((int)GetLastError()) ? 0 : L"a file that this user cannot reach";
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return L"a link";
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return L"a folder";
    // Opened for deletion, not deleted: whether this user could remove it.
    HANDLE file = CreateFileW(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              0, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, 0);
    if (file == INVALID_HANDLE_VALUE)
        return L"a file that this user cannot remove";
    CloseHandle(file);
    return 0;
}

void CheckExchange(Check* check, DoctorRun* run)
{
    int any = 0;
    wchar_t text[TextCapacity];
    for (const wchar_t* path : ExchangeNames) {
        if (!DescribeFile(path, text))
            continue;
        any = 1;
        const wchar_t* separator = check->found[0] ? L"; " : L"";
        const wchar_t* inTheWay = path == ExchangeNames[0] ? 0 : InTheWay(path);
        if (inTheWay) {
            check->status = StatusFail;
            Append(check->found,
                   L"%ls%ls stands at %ls: every run of filepick fails while it is there",
                   separator, inTheWay, path);
            Append(check->advice, L"Remove %ls (an administrator may have to). ", path);
            continue;
        }
        check->status = Worse(check->status, StatusWarn);
        if (path == ExchangeNames[0])
            Append(check->found,
                   L"%ls%ls exists: a pending request or reply, or one left by an "
                   L"earlier run",
                   separator, text);
        else
            Append(check->found,
                   L"%ls%ls exists: a leftover of an earlier run, which filepick "
                   L"removes on its next run",
                   separator, text);
        if (OwnedByAnother(path))
            Append(check->found, L", owned by another account, which can put there a reply "
                                 L"that this user's debugger would read");
    }
    if (any && check->status != StatusFail)
        Append(check->advice, L"If no debugger is waiting for a file, remove it. ");
    ProbeRoot(check);
    run->exchangeInUse = any;
}
