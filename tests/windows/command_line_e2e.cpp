// The command line as the host writes it, parsed by the program itself.
#include "support/e2e.h"

namespace e2e {
namespace {

class CommandLine : public PickerTest {};

TEST_F(CommandLine, QuotedPathWithSpacesThenVerb)
{
    // No request: a recognised verb still exits 1, without a dialog.
    StartLine("\"" + PickerPath() + "\"  DoModuleListFile");
    EXPECT_EQ(ExitCodeWithoutDialog(), 1);
}

TEST_F(CommandLine, VerbRightAfterTheClosingQuote)
{
    StartLine("\"" + PickerPath() + "\"DoModuleListFile");
    EXPECT_EQ(ExitCodeWithoutDialog(), 1);
}

TEST_F(CommandLine, TabInsideTheQuotesLeavesNoVerb)
{
    PutExchange(PathBlock("C:\\"));
    StartLine("\"C:\\some\tdir\\filepick.exe\" DoModuleListFile");
    EXPECT_EQ(ExitCodeWithoutDialog(), 0);
    EXPECT_EQ(ReadBytes(Exchange), PathBlock("C:\\"));
}

TEST_F(CommandLine, UnknownVerbsLeaveTheExchangeFileAlone)
{
    const char* tails[] = { "domodulelistfile", "DoModuleListFile ",
                            "DoModuleListFile extra", "" };
    for (const char* tail : tails) {
        PutExchange(PathBlock("C:\\request"));
        Start(tail);
        EXPECT_EQ(ExitCodeWithoutDialog(), 0) << "[" << tail << "]";
        EXPECT_EQ(ReadBytes(Exchange), PathBlock("C:\\request")) << "[" << tail << "]";
        EndPicker(&process_);
    }
}

TEST_F(CommandLine, OnlyTheProgramName)
{
    PutExchange(IntBlock(0));
    StartLine("\"" + PickerPath() + "\"");
    EXPECT_EQ(ExitCodeWithoutDialog(), 0);
    EXPECT_EQ(ReadBytes(Exchange), IntBlock(0));
}

}  // namespace
}  // namespace e2e
