#include <gtest/gtest.h>

#include "entry/command_line.h"

namespace {

TEST(CommandTail, Table)
{
    const struct {
        const char* line;
        const char* tail;
    } rows[] = {
        { "filepick.exe\tDoSetDumpFile", "DoSetDumpFile" },
        { "\"C:\\Program Files\\x\\filepick.exe\" DoSetDumpFile", "DoSetDumpFile" },
        { "\"C:\\a b\\filepick.exe\"DoSetDumpFile", "DoSetDumpFile" },  // glued to the quote
        { "\"C:\\a\tb\\filepick.exe\" DoSetDumpFile", "b\\filepick.exe\" DoSetDumpFile" },
        { "\"unterminated quote DoSetDumpFile", "" },
    };
    for (const auto& row : rows)
        EXPECT_STREQ(CommandTail(row.line), row.tail) << row.line;
}

TEST(FindVerb, OnlyTheWholeTailInItsOwnCase)
{
    EXPECT_EQ(FindVerb("DoLoadDebugFile "), -1);
    EXPECT_EQ(FindVerb("doloaddebugfile"), -1);
}

}  // namespace
