// The short-path conversion of the dialog support code, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string.h>

#include "dialog_support/file_dialog.h"
#include "support/e2e.h"

namespace {

TEST(ShortPath, ExistingFileGivesItsShortForm)
{
    std::string folder = e2e::FreshFolder("short-path");
    std::string file = folder + "\\A rather long file name.lst";
    e2e::WriteBytes(file, "x");
    char shortPath[300];
    int length = ConvertToShortPath(file.c_str(), shortPath, sizeof shortPath);
    EXPECT_GT(length, 0);
    EXPECT_EQ((size_t)length, strlen(shortPath));
    EXPECT_EQ(std::string(shortPath), e2e::ShortPathOf(file));
}

TEST(ShortPath, MissingFileFails)
{
    char shortPath[300] = "";
    EXPECT_EQ(ConvertToShortPath("C:\\filepick-tests\\no such file.lst", shortPath,
                                 sizeof shortPath),
              0);
}

TEST(ShortPath, ResultThatDoesNotFitIsAFailure)
{
    // The platform answers a too-small buffer with the size it needs and
    // writes nothing: that size must not pass for a path's length.
    std::string folder = e2e::FreshFolder("short-path-fit");
    std::string file = folder + "\\data.lst";
    e2e::WriteBytes(file, "x");
    size_t needed = e2e::ShortPathOf(file).size();
    char shortPath[300];
    memset(shortPath, 0, sizeof shortPath);
    EXPECT_EQ(ConvertToShortPath(file.c_str(), shortPath, (int)needed), 0);
    EXPECT_EQ(shortPath[0], '\0');
    EXPECT_EQ(ConvertToShortPath(file.c_str(), shortPath, (int)needed + 1),
              (int)needed);
}

}  // namespace
