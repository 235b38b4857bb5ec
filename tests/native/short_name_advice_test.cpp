#include <gtest/gtest.h>

#include <string>

#include "short_name_advice.h"

namespace {

TEST(ShortNameAdvice, FollowsTheSettingTheFileSystemAndTheDrive)
{
    const struct {
        const char* name;
        int setting;
        const wchar_t* fileSystem;
        int remote, systemVolume;
        const wchar_t* advice;  // a part of it
        const wchar_t* never;   // text it must not hold
    } rows[] = {
        { "each volume decides (the default)", 2, L"NTFS", 0, 0, L": fsutil 8dot3name set D: 0.",
          L"set 2" },
        { "off system-wide: the volume's own setting would be ignored", 1, L"NTFS", 0, 0,
          L"fsutil 8dot3name set 2, then fsutil 8dot3name set D: 0.", L"but the system" },
        // The volume's flag counts only under 2: under 0 every volume makes them.
        { "on for every volume: files made while they were off", 0, L"NTFS", 0, 0,
          L"on for D: by the system-wide setting", L"set D: 0" },
        { "off for all but the system volume, on another volume", 3, L"NTFS", 0, 0,
          L"but the system volume here: move the project there, or an administrator can let each",
          L"on for D: by" },
        { "off for all but the system volume, on the system volume", 3, L"NTFS", 0, 1,
          L"on for D: by the system-wide setting", L"set 2" },
        { "ReFS makes none", 2, L"ReFS", 0, 0,
          L"ReFS makes no short names at all. Move the project", L"fsutil" },
        { "a share's names are the server's", 2, L"NTFS", 1, 0, L"the server's: Move the project",
          L"fsutil" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        wchar_t advice[512];
        ShortNameAdvice(row.setting, row.fileSystem, row.remote, L"D:", row.systemVolume, advice,
                        512);
        EXPECT_NE(std::wstring(advice).find(row.advice), std::wstring::npos)
            << std::string(advice, advice + wcslen(advice));
        EXPECT_EQ(std::wstring(advice).find(row.never), std::wstring::npos);
    }
}

}  // namespace
