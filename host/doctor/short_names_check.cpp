// short-names: whether the project folder's volume makes 8.3 names, by a
// probe file's own short name, and advice that fits the system.
#include "check.h"

#include <stdio.h>
#include <wchar.h>

#include "short_name_advice.h"

// The system-wide NTFS short-name setting (short_name_advice.h).
static int ShortNameSetting()
{
    DWORD value = 0, size = sizeof value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\FileSystem",
                        L"NtfsDisable8dot3NameCreation", RRF_RT_REG_DWORD, 0, &value,
                        &size) == ERROR_SUCCESS
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
        Append(check->found,
               L"the volume %ls makes 8.3 names (a new file in %ls got the short "
               L"name %ls)",
               volume, where, found.cAlternateFileName);
        return 1;
    }
    check->status = StatusWarn;
    Append(check->found,
           L"the volume %ls (%ls%ls) makes no 8.3 names (probe in %ls): the "
           L"debugger gets long paths, and a name with characters outside the ANSI "
           L"code page, or a path longer than the 300-byte block, cannot be passed "
           L"to it",
           volume, fileSystem[0] ? fileSystem : L"file system unknown",
           remote ? L", a network share" : L"", where);
    wchar_t windows[PathCapacity] = L"";
    GetSystemWindowsDirectoryW(windows, PathCapacity);
    int systemVolume = _wcsnicmp(windows, volume, 2) == 0;
    ShortNameAdvice(ShortNameSetting(), fileSystem, remote, volume, systemVolume, check->advice,
                    TextCapacity);
    return 1;
}


void CheckShortNames(Check* check, DoctorRun* run)
{
    wchar_t temp[PathCapacity];
    DWORD length = GetTempPathW(PathCapacity, temp);
    if (length && temp[length - 1] == L'\\')
        temp[length - 1] = 0;
    if (ProbeShortNames(check, run->folder, L"the project folder") ||
        (length && ProbeShortNames(check, temp, L"%TEMP%, as the project folder is not writable")))
        return;
    check->status = StatusUnknown;
    Append(check->found, L"no probe file could be made in the project folder or in %%TEMP%%");
}
