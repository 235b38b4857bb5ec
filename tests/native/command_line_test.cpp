#include <gtest/gtest.h>

#include "entry/command_line.h"

namespace {

std::string Tail(const char* line) { return CommandTail(line); }

TEST(CommandTail, UnquotedProgramNameEndsAtFirstBlank)
{
    EXPECT_EQ(Tail("filepick.exe DoSetDumpFile"), "DoSetDumpFile");
    EXPECT_EQ(Tail("filepick.exe\tDoSetDumpFile"), "DoSetDumpFile");
    EXPECT_EQ(Tail("  \t filepick.exe  \t DoSetDumpFile"), "DoSetDumpFile");
}

TEST(CommandTail, QuotedProgramNameMayHoldSpaces)
{
    EXPECT_EQ(Tail("\"C:\\Program Files\\x\\filepick.exe\" DoSetDumpFile"),
              "DoSetDumpFile");
    // The verb glued to the closing quote is still the whole tail.
    EXPECT_EQ(Tail("\"C:\\a b\\filepick.exe\"DoSetDumpFile"), "DoSetDumpFile");
}

TEST(CommandTail, TabInsideQuotesEndsTheProgramName)
{
    EXPECT_EQ(Tail("\"C:\\a\tb\\filepick.exe\" DoSetDumpFile"),
              "b\\filepick.exe\" DoSetDumpFile");
}

TEST(CommandTail, TrailingBlanksStayInTheTail)
{
    EXPECT_EQ(Tail("filepick.exe DoLoadDebugFile "), "DoLoadDebugFile ");
    EXPECT_EQ(Tail("filepick.exe DoLoadDebugFile x"), "DoLoadDebugFile x");
}

TEST(CommandTail, OnlyAProgramNameGivesAnEmptyTail)
{
    EXPECT_EQ(Tail("filepick.exe"), "");
    EXPECT_EQ(Tail("filepick.exe   "), "");
    EXPECT_EQ(Tail("\"C:\\a b\\filepick.exe\""), "");
    EXPECT_EQ(Tail("\"unterminated quote DoSetDumpFile"), "");
    EXPECT_EQ(Tail(""), "");
    EXPECT_EQ(CommandTail(nullptr), nullptr);
}

TEST(FindVerb, MatchesTheWholeTailExactly)
{
    EXPECT_EQ(FindVerb("DoLoadDebugFile"), VerbLoadDebugFile);
    EXPECT_EQ(FindVerb("DoSetDumpFile"), VerbSetDumpFile);
    EXPECT_EQ(FindVerb("DoModuleListFile"), VerbModuleListFile);
    EXPECT_EQ(FindVerb("doloaddebugfile"), -1);
    EXPECT_EQ(FindVerb("DOMODULELISTFILE"), -1);
    EXPECT_EQ(FindVerb("DoLoadDebugFile "), -1);
    EXPECT_EQ(FindVerb("DoLoadDebugFile C:\\x"), -1);
    EXPECT_EQ(FindVerb(" DoSetDumpFile"), -1);
    EXPECT_EQ(FindVerb("DoSetDump"), -1);
    EXPECT_EQ(FindVerb(""), -1);
    EXPECT_EQ(FindVerb(nullptr), -1);
}

}  // namespace
