// What the doctor advises where a volume makes no 8.3 names. No Windows
// API here: short_names_check.cpp reads the system's facts, and the rule is tested
// natively.
#ifndef FILEPICK_SHORT_NAME_ADVICE_H
#define FILEPICK_SHORT_NAME_ADVICE_H

#include <wchar.h>

// The system-wide NTFS setting, NtfsDisable8dot3NameCreation under
// HKLM\SYSTEM\CurrentControlSet\Control\FileSystem: 0 every volume makes
// short names, 1 none does, 2 each volume's own flag holds (the default
// since Windows 8), 3 none but the system volume does; -1 where it cannot
// be read. A volume's own flag (fsutil 8dot3name set D: 0) counts only
// under 2.
enum { SettingUnread = -1 };

// The advice, into advice (capacity characters), for volume ("D:"), whose
// file system is named fileSystem ("NTFS", "ReFS", ...; empty when
// unknown); remote: a network share; systemVolume: the volume Windows is
// on.
void ShortNameAdvice(int setting, const wchar_t* fileSystem, int remote, const wchar_t* volume,
                     int systemVolume, wchar_t* advice, int capacity);

#endif
