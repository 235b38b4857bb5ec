#include <gtest/gtest.h>

#include "entry/command_line.h"

namespace {

TEST(CommandTail, Table)
{
    const struct { const char* line; const char* tail; } rows[] = {
        { "filepick.exe DoSetDumpFile", "DoSetDumpFile" },
        { "filepick.exe\tDoSetDumpFile", "DoSetDumpFile" },
        { "  \t filepick.exe  \t DoSetDumpFile", "DoSetDumpFile" },
        { "\"C:\\Program Files\\x\\filepick.exe\" DoSetDumpFile", "DoSetDumpFile" },
        { "\"C:\\a b\\filepick.exe\"DoSetDumpFile", "DoSetDumpFile" },  // glued to the quote
        { "\"C:\\a\tb\\filepick.exe\" DoSetDumpFile", "b\\filepick.exe\" DoSetDumpFile" },
        // Code page 936: trail bytes 0x5C and 0x7C are never a blank or a quote.
        { "\"C:\\\x81\x5c\x83\x7c\\filepick.exe\" DoSetDumpFile", "DoSetDumpFile" },
        { "filepick.exe DoLoadDebugFile ", "DoLoadDebugFile " },
        { "filepick.exe DoLoadDebugFile x", "DoLoadDebugFile x" },
        { "filepick.exe", "" },
        { "filepick.exe   ", "" },
        { "\"C:\\a b\\filepick.exe\"", "" },
        { "\"unterminated quote DoSetDumpFile", "" },
        { "", "" },
    };
    for (const auto& row : rows)
        EXPECT_STREQ(CommandTail(row.line), row.tail) << row.line;
    EXPECT_EQ(CommandTail(nullptr), nullptr);
}

TEST(FindVerb, OnlyTheWholeTailInItsOwnCase)
{
    const struct { const char* tail; int verb; } rows[] = {
        { "DoLoadDebugFile", VerbLoadDebugFile }, { "DoSetDumpFile", VerbSetDumpFile },
        { "DoModuleListFile", VerbModuleListFile }, { "doloaddebugfile", -1 },
        { "DOMODULELISTFILE", -1 }, { "DoLoadDebugFile ", -1 }, { "DoLoadDebugFile C:\\x", -1 },
        { " DoSetDumpFile", -1 }, { "DoSetDump", -1 }, { "", -1 }, { nullptr, -1 },
    };
    for (const auto& row : rows)
        EXPECT_EQ(FindVerb(row.tail), row.verb) << (row.tail ? row.tail : "(null)");
}

}  // namespace
