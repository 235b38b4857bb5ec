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
        int remote;
        const wchar_t* advice;  // a part of it
    } rows[] = {
        { "each volume decides (the default)", 2, L"NTFS", 0, L": fsutil 8dot3name set D: 0." },
        { "off system-wide: the volume's own setting would be ignored", 1, L"NTFS", 0,
          L"fsutil 8dot3name set 2, then fsutil 8dot3name set D: 0." },
        { "ReFS makes none", 2, L"ReFS", 0, L"ReFS makes no short names at all. Move the project" },
        { "a share's names are the server's", 2, L"NTFS", 1, L"the server's: Move the project" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        wchar_t advice[512];
        ShortNameAdvice(row.setting, row.fileSystem, row.remote, L"D:", advice, 512);
        EXPECT_NE(std::wstring(advice).find(row.advice), std::wstring::npos);
    }
}

}  // namespace
