#include "doctor.h"

#include <windows.h>
#include <aclapi.h>

#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "dialog_support/chosen_file.h"
#include "dialog_support/code_page.h"
#include "dialog_support/host_path.h"
#include "dialog_support/replies.h"
#include "dialog_support/warning.h"
#include "driver/picker_driver.h"
#include "driver/program_module.h"
#include "driver/request.h"
#include "entry/command_line.h"
#include "exchange/exchange.h"
#include "exchange/layouts.h"
#include "json.h"
#include "short_name_advice.h"

enum {
    TextCapacity = 4096,  // ten paths of the deepest the dialogs take, and more
    PathCapacity = MAX_PATH + 16,
    UnknownVerbLimitMs = 10000,
    DialogLimitMs = 60000,
    WalkLimit = 10000,  // entries of the project folder looked at
    ListedNames = 10    // of those that cannot be given, named
};

struct Check {
    const char* name;
    const char* status;  // ok, warn, fail, unknown, skipped
    wchar_t found[TextCapacity];
    wchar_t advice[TextCapacity];
};

// Adds to text (TextCapacity characters), as _snwprintf formats.
static void Append(wchar_t* text, const wchar_t* format, ...)
{
    size_t used = wcslen(text);
    va_list values;
    va_start(values, format);
    _vsnwprintf(text + used, TextCapacity - used, format, values);
    va_end(values);
    text[TextCapacity - 1] = 0;
}

// The worse of two statuses: fail over warn over the rest.
static const char* Worse(const char* a, const char* b)
{
    static const char* const order[] = { "ok", "unknown", "skipped", "warn", "fail" };
    int rankA = 0, rankB = 0;
    for (int i = 0; i < 5; ++i) {
        rankA = strcmp(a, order[i]) == 0 ? i : rankA;
        rankB = strcmp(b, order[i]) == 0 ? i : rankB;
    }
    return rankB > rankA ? b : a;
}

static const wchar_t ExchangeNames[3][12] = { L"C:\\FILE", L"C:\\FILE.new", L"C:\\FILE.old" };
static const wchar_t ProbePath[] = L"C:\\filepick-doctor.probe";

// "PATH (N bytes, AGE old)" for a file there; 0 when there is none.
static int DescribeFile(const wchar_t* path, wchar_t* text)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a, b;
    a.LowPart = now.dwLowDateTime, a.HighPart = now.dwHighDateTime;
    b.LowPart = data.ftLastWriteTime.dwLowDateTime, b.HighPart = data.ftLastWriteTime.dwHighDateTime;
    unsigned long long seconds = a.QuadPart > b.QuadPart ? (a.QuadPart - b.QuadPart) / 10000000 : 0;
    const wchar_t* unit = L"s";
    unsigned long long age = seconds;
    if (seconds >= 2 * 86400)
        age = seconds / 86400, unit = L" days";
    else if (seconds >= 2 * 3600)
        age = seconds / 3600, unit = L" h";
    else if (seconds >= 120)
        age = seconds / 60, unit = L" min";
    _snwprintf(text, TextCapacity, L"%ls (%lu bytes, %llu%ls old)", path,
               (unsigned long)data.nFileSizeLow, age, unit);
    text[TextCapacity - 1] = 0;
    return 1;
}

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
                  GetNamedSecurityInfoW(path, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                        0, 0, 0, &descriptor) == ERROR_SUCCESS &&
                  owner && !EqualSid(owner, ((TOKEN_USER*)user)->User.Sid);
    LocalFree(descriptor);
    CloseHandle(token);
    return another;
}

static void Reason(DWORD error, wchar_t* why) { SystemErrorText((int)error, why, 512); }

static void CheckPicker(Check* check)
{
    wchar_t picker[PathCapacity], host[64], version[64];
    PathBesideSelf(L"filepick.exe", picker, PathCapacity);
    if (GetFileAttributesW(picker) == INVALID_FILE_ATTRIBUTES) {
        check->status = "fail";
        Append(check->found, L"no filepick.exe beside filepick-host (%ls)", picker);
        Append(check->advice, L"Keep filepick-host.exe beside a copy of filepick.exe.");
        return;
    }
    ProgramVersion(L"filepick-host.exe", host, 64);
    ProgramVersion(L"filepick.exe", version, 64);
    Append(check->found, L"%ls %ls beside filepick-host %ls", picker, version, host);
    if (wcscmp(host, version) != 0) {
        check->status = Worse(check->status, "warn");
        Append(check->advice, L"Use filepick-host of the same release as filepick.exe. ");
    }
    wchar_t line[PathCapacity + 32];
    _snwprintf(line, PathCapacity + 32, L"\"%ls\" NoSuchVerb", picker);
    PROCESS_INFORMATION process;
    DWORD start = GetTickCount(), code = 0;
    if (!StartPicker(picker, line, &process)) {
        wchar_t why[512];
        Reason(GetLastError(), why);
        check->status = "fail";
        Append(check->found, L"; it does not start: %ls", why);
        Append(check->advice, L"Unblock filepick.exe (Properties), or allow it in the "
                              L"security software that stopped it.");
        return;
    }
    int ended = WaitForExit(process.hProcess, UnknownVerbLimitMs, &code);
    EndPicker(&process);
    if (!ended || code != 0) {
        check->status = "fail";
        Append(check->found, ended ? L"; an unknown verb ended with %lu, not 0"
                                   : L"; an unknown verb did not end within 10 s", code);
        Append(check->advice, L"Reinstall filepick.exe from the release package.");
        return;
    }
    Append(check->found, L"; it started and ended (unknown verb, exit 0) in %lu ms",
           (unsigned long)(GetTickCount() - start));
}

// One step of the probe in C:\; 0 (and the check failed) when it did not go.
static int ProbeStep(Check* check, int done, const wchar_t* what)
{
    if (done)
        return 1;
    DWORD error = GetLastError();
    wchar_t why[512];
    Reason(error, why);
    check->status = "fail";
    Append(check->found, L"%lsthis user could not %ls a file in C:\\ (%ls): %ls",
           check->found[0] ? L"; " : L"", what, ProbePath, why);
    // Something of another's at the probe's name may be refused as access
    // denied too: then it is what stands there that is in the way.
    int inTheWay = wcscmp(what, L"create") == 0 &&
                   GetFileAttributesW(ProbePath) != INVALID_FILE_ATTRIBUTES;
    if (error == ERROR_ACCESS_DENIED && !inTheWay)
        Append(check->advice, L"%ls", RightsAdvice + 2);
    else
        Append(check->advice, L"Remove what stands at %ls, then run the doctor again.",
               ProbePath);
    return 0;
}

// Renames the open file to path through its handle, as filepick moves its
// reply onto C:\FILE.
static int RenameOpen(HANDLE file, const wchar_t* path)
{
    struct {
        FILE_RENAME_INFO info;
        wchar_t room[PathCapacity];
    } rename = {};
    rename.info.ReplaceIfExists = FALSE;
    rename.info.FileNameLength = (DWORD)(wcslen(path) * sizeof(wchar_t));
    lstrcpynW(rename.info.FileName, path, PathCapacity);
    return SetFileInformationByHandle(file, FileRenameInfo, &rename, sizeof rename);
}

// Where the probe file really is: "C:\" itself, or "VirtualStore (PATH)"
// when UAC virtualization put it there (into where, PathCapacity + 16).
static void WhereItLanded(HANDLE file, wchar_t* where)
{
    wchar_t final[PathCapacity], store[PathCapacity];
    lstrcpyW(where, L"C:\\");
    DWORD length = GetFinalPathNameByHandleW(file, final, PathCapacity, FILE_NAME_NORMALIZED);
    if (!length || length >= PathCapacity ||
        !ExpandEnvironmentStringsW(L"%LOCALAPPDATA%\\VirtualStore\\", store, PathCapacity))
        return;
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
                       WriteFile(file, content, sizeof content, &moved, 0) && moved == sizeof content,
                       L"write") &&
             ProbeStep(check,
                       SetFilePointer(file, 0, 0, FILE_BEGIN) == 0 &&
                           ReadFile(file, back, sizeof back, &moved, 0) &&
                           memcmp(back, content, sizeof content) == 0,
                       L"read back");
    const wchar_t* left = ProbePath;
    if (ok && ProbeStep(check, RenameOpen(file, renamed), L"rename"))
        left = renamed;
    CloseHandle(file);
    if (!ProbeStep(check, DeleteFileW(left), L"delete") || !ok || left != renamed)
        return;
    if (where[0] == L'V')
        Append(check->found, L"%lsC:\\ is virtualized into %ls: there this user can create, "
                             L"write, read back, rename and delete a file, as filepick and a "
                             L"legacy debugger do", check->found[0] ? L"; " : L"", where);
    else
        Append(check->found, L"%lsthis user can create, write, read back, rename and delete a "
                             L"file in C:\\", check->found[0] ? L"; " : L"");
}

// Returns whether any exchange path held a file.
static int CheckExchange(Check* check)
{
    int any = 0;
    wchar_t text[TextCapacity];
    for (const wchar_t* path : ExchangeNames) {
        if (!DescribeFile(path, text))
            continue;
        any = 1;
        check->status = Worse(check->status, "warn");
        Append(check->found, L"%ls%ls exists: a pending request or reply, or one left by an "
                             L"earlier run", check->found[0] ? L"; " : L"", text);
        if (OwnedByAnother(path))
            Append(check->found, L", owned by another account, which can put there a reply "
                                 L"that this user's debugger would read");
    }
    if (any)
        Append(check->advice, L"If no debugger is waiting for a file, remove it. ");
    ProbeRoot(check);
    return any;
}

static const wchar_t* ElevationName(DWORD type)
{
    return type == TokenElevationTypeFull      ? L"elevated"
           : type == TokenElevationTypeLimited ? L"not elevated (UAC limited)"
                                               : L"default (no split token)";
}

static const wchar_t* IntegrityName(DWORD level)
{
    return level >= SECURITY_MANDATORY_SYSTEM_RID   ? L"system"
           : level >= SECURITY_MANDATORY_HIGH_RID   ? L"high"
           : level >= SECURITY_MANDATORY_MEDIUM_RID ? L"medium"
                                                    : L"low";
}

static void CheckVirtualization(Check* check)
{
    HANDLE token = 0;
    TOKEN_ELEVATION_TYPE elevation = TokenElevationTypeDefault;
    DWORD virtualized = 0, size = 0, level = 0;
    char label[256];
    int told = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
               GetTokenInformation(token, TokenElevationType, &elevation, sizeof elevation, &size) &&
               GetTokenInformation(token, TokenVirtualizationEnabled, &virtualized,
                                   sizeof virtualized, &size) &&
               GetTokenInformation(token, TokenIntegrityLevel, label, sizeof label, &size);
    if (told) {
        PSID sid = ((TOKEN_MANDATORY_LABEL*)label)->Label.Sid;
        level = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1);
    }
    DWORD error = GetLastError();
    if (token)
        CloseHandle(token);
    int on = told && virtualized;
    if (!told) {
        wchar_t why[512];
        Reason(error, why);
        check->status = "unknown";
        Append(check->found, L"the system did not tell this program's elevation and "
                             L"virtualization: %ls", why);
    } else if (RunsUnderWine()) {
        check->status = "unknown";
        Append(check->found, L"Wine has no UAC: it reports this program as %ls, integrity %ls, "
                             L"virtualization %ls, which says nothing of Windows",
               ElevationName(elevation), IntegrityName(level), on ? L"on" : L"off");
        told = 0;
    } else {
        Append(check->found, L"this program runs %ls, integrity %ls, with UAC file "
                             L"virtualization %ls. filepick has the same manifest, so it is "
                             L"virtualized exactly when this is, and so is a legacy debugger "
                             L"started the same way: both see the same C:\\FILE",
               ElevationName(elevation), IntegrityName(level), on ? L"on" : L"off");
    }
    wchar_t store[PathCapacity], path[PathCapacity], text[TextCapacity];
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", store, PathCapacity);
    if (!length || length + 24 >= PathCapacity)
        return;
    lstrcatW(store, L"\\VirtualStore");
    for (const wchar_t* name : ExchangeNames) {
        _snwprintf(path, PathCapacity, L"%ls%ls", store, name + 2);
        if (!DescribeFile(path, text))
            continue;
        if (on || !told) {
            check->status = Worse(check->status, "warn");
            Append(check->found, L"; a VirtualStore copy %ls hides the real %ls from virtualized "
                                 L"programs (it matters only where virtualization is on): a "
                                 L"debugger may read an old reply there", text, name);
        } else {
            Append(check->found, L"; a leftover VirtualStore copy %ls (virtualization is off "
                                 L"here, so it can be removed)", text);
        }
        Append(check->advice, L"While no debugger runs, remove %ls. ", path);
    }
}

// The system-wide NTFS short-name setting (short_name_advice.h).
static int ShortNameSetting()
{
    DWORD value = 0, size = sizeof value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\FileSystem",
                        L"NtfsDisable8dot3NameCreation", RRF_RT_REG_DWORD, 0, &value, &size) ==
                   ERROR_SUCCESS
               ? (int)value
               : SettingUnread;
}

// A probe file with a long name holding a space, in folder: whether its
// volume makes 8.3 names, by the short name the new file itself was given
// (the folders above it may have short names of their own). 0 when no
// probe could be made there.
static int ProbeShortNames(Check* check, const wchar_t* folder, const wchar_t* where)
{
    wchar_t probe[PathCapacity], volume[PathCapacity];
    _snwprintf(probe, PathCapacity, L"%ls\\filepick doctor probe.tmp", folder);
    probe[PathCapacity - 1] = 0;
    HANDLE file = CreateFileW(probe, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(probe, &found);
    if (search == INVALID_HANDLE_VALUE)
        found.cAlternateFileName[0] = 0;
    else
        FindClose(search);
    DeleteFileW(probe);
    if (!GetVolumePathNameW(probe, volume, PathCapacity))
        lstrcpynW(volume, folder, 3);
    wchar_t fileSystem[MAX_PATH + 1] = L"";
    GetVolumeInformationW(volume, 0, 0, 0, 0, 0, fileSystem, MAX_PATH + 1);
    int remote = GetDriveTypeW(volume) == DRIVE_REMOTE;
    size_t end = wcslen(volume);
    if (end > 2 && volume[end - 1] == L'\\')
        volume[end - 1] = 0;
    if (found.cAlternateFileName[0]) {
        Append(check->found, L"the volume %ls makes 8.3 names (a new file in %ls got the short "
                             L"name %ls)", volume, where, found.cAlternateFileName);
        return 1;
    }
    check->status = "warn";
    Append(check->found, L"the volume %ls (%ls%ls) makes no 8.3 names (probe in %ls): the "
                         L"debugger gets long paths, and a name with characters outside the ANSI "
                         L"code page, or a path longer than the 300-byte block, cannot be passed "
                         L"to it",
           volume, fileSystem[0] ? fileSystem : L"file system unknown", remote ? L", a network share" : L"",
           where);
    ShortNameAdvice(ShortNameSetting(), fileSystem, remote, volume, check->advice, TextCapacity);
    return 1;
}

static void CheckShortNames(Check* check, const wchar_t* folder)
{
    wchar_t temp[PathCapacity];
    DWORD length = GetTempPathW(PathCapacity, temp);
    if (length && temp[length - 1] == L'\\')
        temp[length - 1] = 0;
    if (ProbeShortNames(check, folder, L"the project folder") ||
        (length && ProbeShortNames(check, temp, L"%TEMP%, as the project folder is not writable")))
        return;
    check->status = "unknown";
    Append(check->found, L"no probe file could be made in the project folder or in %%TEMP%%");
}

struct Walk {
    int entries, cut, files, refused;
    wchar_t listed[TextCapacity];
};

// Counts the files below folder (path, of PathCapacity characters) whose
// path the debugger could not be given.
static void WalkFolder(wchar_t* path, Walk* walk)
{
    size_t length = wcslen(path);
    if (length + 4 >= PathCapacity)
        return;
    wcscpy(path + length, L"\\*");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    path[length] = 0;
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0)
            continue;
        if (++walk->entries > WalkLimit) {
            walk->cut = 1;
            break;
        }
        int fits = length + 1 + wcslen(found.cFileName) < MAX_PATH;
        if (fits)
            _snwprintf(path + length, PathCapacity - length, L"\\%ls", found.cFileName);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (fits && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                WalkFolder(path, walk);
        } else {
            ++walk->files;
            char host[PathBlockSize];
            int result = fits ? HostPathOf(path, host, PathBlockSize) : HostPathTooLong;
            if (result != HostPathReady && result != HostPathMissing &&
                walk->refused++ < ListedNames)
                Append(walk->listed, L"; %ls%ls", fits ? path : found.cFileName,
                       fits ? L"" : L" (its path is longer than the dialogs take)");
        }
        path[length] = 0;
    } while (!walk->cut && FindNextFileW(search, &found));
    FindClose(search);
}

static void CheckFolderNames(Check* check, const wchar_t* folder)
{
    static Walk walk;
    memset(&walk, 0, sizeof walk);
    wchar_t path[PathCapacity];
    lstrcpynW(path, folder, PathCapacity);
    WalkFolder(path, &walk);
    Append(check->found, L"%d of %d files in %ls and its subfolders cannot be given to the "
                         L"debugger%ls",
           walk.refused, walk.files, folder, walk.cut ? L" (the walk stopped at 10000 entries)" : L"");
    if (walk.refused) {
        check->status = "warn";
        Append(check->found, L"%ls%ls", walk.listed,
               walk.refused > ListedNames ? L"; ..." : L"");
        Append(check->advice, L"Rename or move these files or their folders: the debugger takes "
                              L"a path only in the ANSI code page or as a short (8.3) path, "
                              L"within 300 bytes.");
    }
}

static void CheckCodePages(Check* check, const wchar_t* folder)
{
    char ansi[4 * PathCapacity];
    int exact = ExactAnsi(folder, ansi, sizeof ansi) != AnsiInexact;
    Append(check->found, L"ANSI code page %u, OEM code page %u; the project folder %ls an exact "
                         L"ANSI form", GetACP(), GetOEMCP(), exact ? L"has" : L"has no");
    if (!exact) {
        check->status = "warn";
        Append(check->advice, L"The debugger sends the start folder in ANSI: rename the folder, or "
                              L"choose a system code page (for programs that are not Unicode) "
                              L"that holds its name.");
    }
}

// Opens one verb's dialog on a request of the doctor's own, and cancels it.
static int TryDialog(Check* check, int verb, const wchar_t* request)
{
    unsigned char bytes[RequestCapacity];
    int size = BuildRequest(verb, request, bytes);
    if (size <= 0)
        size = BuildRequest(verb, 0, bytes);  // a folder the debugger could not send
    ExchangeBlock block = { bytes, size };
    wchar_t picker[PathCapacity], line[PathCapacity + 32], open[512] = L"nothing";
    PathBesideSelf(L"filepick.exe", picker, PathCapacity);
    _snwprintf(line, PathCapacity + 32, L"\"%ls\" %hs", picker, VerbNames[verb]);
    PROCESS_INFORMATION process;
    if (!WriteExchange(ExchangePath, 1, &block) || !StartPicker(picker, line, &process)) {
        check->status = "fail";
        Append(check->found, L"; %hs: the request could not be written, or filepick.exe not "
                             L"started", VerbNames[verb]);
        return 0;
    }
    AllowSetForegroundWindow(process.dwProcessId);
    DWORD start = GetTickCount(), code = 0;
    PickerSession session = { process.dwProcessId, process.hProcess, DialogLimitMs, 0, 0 };
    HWND dialog = SessionDialog(&session);
    DWORD ready = GetTickCount() - start;
    wchar_t failed[16];
    int shown = dialog && !IsWarning(dialog);
    if (!shown)
        DescribeOpenWindow(process.dwProcessId, open, 512);
    int ended = shown ? RunSteps(&session, L"cancel", failed, 16) &&
                            WaitForExit(process.hProcess, DialogLimitMs, &code)
                      : 0;
    EndPicker(&process);
    Append(check->found, L"%ls%hs ", check->found[0] ? L"; " : L"", VerbNames[verb]);
    if (!shown)
        Append(check->found, L"showed no dialog within 60 s (open: %ls)", open);
    else if (!ended)
        Append(check->found, L"did not end within 60 s of Cancel");
    else
        Append(check->found, L"ready in %lu ms, cancelled", (unsigned long)ready);
    // Nothing was at the exchange paths before: what is there now is this
    // run's, and goes.
    int left = 0;
    for (const wchar_t* path : ExchangeNames)
        if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
            left = 1;
            Append(check->found, L", left %ls behind", path);
            DeleteFileW(path);
        }
    if (!shown || !ended || left) {
        check->status = "fail";
        return 0;
    }
    return 1;
}

static void CheckDialogs(Check* check, const wchar_t* folder, int exchangeInUse)
{
    if (exchangeInUse) {
        check->status = "skipped";
        Append(check->found, L"a file stood at an exchange path before the doctor ran: the "
                             L"dialogs were not opened, so that a pending request is never "
                             L"consumed");
        Append(check->advice, L"Run the doctor again once no debugger waits for a file.");
        return;
    }
    int ok = TryDialog(check, VerbLoadDebugFile, folder);
    ok = TryDialog(check, VerbSetDumpFile, L"1") && ok;  // load: nothing is created
    ok = TryDialog(check, VerbModuleListFile, folder) && ok;
    if (ok)
        Append(check->found, L"; nothing was left at the exchange paths");
    else
        Append(check->advice, L"Run filepick-host with that verb to see what happens, and send "
                              L"this report with it.");
}

static void PrintChecks(int json, const wchar_t* version, Check* checks, int count,
                        const char* status)
{
    if (json) {
        printf("{\"version\":");
        PrintJsonString(version);
        printf(",\"checks\":[");
        for (int i = 0; i < count; ++i) {
            printf("%s{\"name\":\"%s\",\"status\":\"%s\",\"found\":", i ? "," : "",
                   checks[i].name, checks[i].status);
            PrintJsonString(checks[i].found);
            printf(",\"advice\":");
            PrintJsonString(checks[i].advice[0] ? checks[i].advice : 0);
            printf("}");
        }
        printf("],\"status\":\"%s\"}\n", status);
        return;
    }
    printf("filepick doctor %ls\n", version);
    for (int i = 0; i < count; ++i) {
        char text[4 * TextCapacity];
        WideCharToMultiByte(CP_ACP, 0, checks[i].found, -1, text, sizeof text, 0, 0);
        printf("%-8s %-15s %s\n", checks[i].status, checks[i].name, text);
        if (checks[i].advice[0]) {
            WideCharToMultiByte(CP_ACP, 0, checks[i].advice, -1, text, sizeof text, 0, 0);
            printf("%-24s what to do: %s\n", "", text);
        }
    }
    printf("status: %s\n", status);
}

int RunDoctor(int json, const wchar_t* folder)
{
    wchar_t full[PathCapacity], version[64];
    DWORD length = GetFullPathNameW(folder ? folder : L".", PathCapacity, full, 0);
    if (!length || length >= MAX_PATH) {
        fprintf(stderr, "filepick-host: the doctor's folder is not a path it can use\n");
        return 3;
    }
    if (length > 3 && full[length - 1] == L'\\')
        full[length - 1] = 0;
    ProgramVersion(L"filepick-host.exe", version, 64);
    static Check checks[] = { { "picker", "ok", {}, {} },       { "exchange", "ok", {}, {} },
                              { "virtualization", "ok", {}, {} }, { "short-names", "ok", {}, {} },
                              { "folder-names", "ok", {}, {} },   { "code-pages", "ok", {}, {} },
                              { "dialogs", "ok", {}, {} } };
    CheckPicker(&checks[0]);
    int exchangeInUse = CheckExchange(&checks[1]);
    CheckVirtualization(&checks[2]);
    CheckShortNames(&checks[3], full);
    CheckFolderNames(&checks[4], full);
    CheckCodePages(&checks[5], full);
    CheckDialogs(&checks[6], full, exchangeInUse);
    // unknown and skipped leave the whole ok: the platform could not tell.
    const char* status = "ok";
    for (const Check& check : checks)
        if (strcmp(check.status, "warn") == 0 || strcmp(check.status, "fail") == 0)
            status = Worse(status, check.status);
    PrintChecks(json, version, checks, 7, status);
    return strcmp(status, "fail") == 0 ? 1 : 0;
}
