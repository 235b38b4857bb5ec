// DoModuleListFile from end to end, through the real dialog.
#include "support/e2e.h"

namespace e2e {
namespace {

const char Listing[] = "Blinky main module listing.lst";

class ModuleList : public PickerTest {
protected:
    void SetUp() override
    {
        PickerTest::SetUp();
        WriteBytes(folder_ + "\\blinky.c", "void main(void) {}\n");
        WriteBytes(folder_ + "\\" + Listing, "0000 B290  CPL P1.0\n");
    }
};

TEST_F(ModuleList, OpensTitledInTheRequestedFolderOnCFiles)
{
    HWND dialog = Open(PathBlock(folder_), "DoModuleListFile");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(ExchangeExists()) << "the request is consumed before the dialog";
    EXPECT_EQ(Text(dialog), L"Module List Files");
    EXPECT_EQ(ComboItemCount(dialog, 1136), 3);
    EXPECT_EQ(ComboText(dialog, 1136, 0), L"C file (*.c)");
    EXPECT_EQ(ComboText(dialog, 1136, 1), L"List file (*.lst)");
    EXPECT_EQ(ComboText(dialog, 1136, 2), L"All Files (*.*)");
    EXPECT_EQ(ComboSelection(dialog, 1136), 0);
    // A bare name resolves against the folder the dialog opened in.
    ASSERT_TRUE(ChooseFile(dialog, Listing));
    EXPECT_EQ(ExitCode(), 1);
    std::string reply = ReadBytes(Exchange);
    ASSERT_EQ(reply.size(), 300u);
    EXPECT_EQ(TextOf(reply), ShortPathOf(folder_ + "\\" + Listing));
}

TEST_F(ModuleList, RepliesTheShortPathOfALongName)
{
    HWND dialog = Open(PathBlock(folder_), "DoModuleListFile");
    ASSERT_NE(dialog, nullptr);
    std::string chosen = folder_ + "\\" + Listing;
    ASSERT_TRUE(ChooseFile(dialog, chosen.c_str()));
    EXPECT_EQ(ExitCode(), 1);
    std::string reply = ReadBytes(Exchange);
    ASSERT_EQ(reply.size(), 300u);
    std::string shortPath = TextOf(reply);
    EXPECT_EQ(shortPath, ShortPathOf(chosen));
    EXPECT_NE(shortPath, chosen) << "a long name has a different short form";
    EXPECT_EQ(reply.substr(shortPath.size()), std::string(300 - shortPath.size(), '\0'));
}

TEST_F(ModuleList, CancelLeavesNoFile)
{
    HWND dialog = Open(PathBlock(folder_), "DoModuleListFile");
    ASSERT_NE(dialog, nullptr);
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_FALSE(ExchangeExists());
}

TEST_F(ModuleList, NoRequestMeansNoDialogAndNoReply)
{
    Start("DoModuleListFile");
    EXPECT_EQ(ExitCodeWithoutDialog(), 1);
    EXPECT_FALSE(ExchangeExists());
}

TEST_F(ModuleList, RequestWithoutNulIsReadWithinItsBlock)
{
    // 300 letters and no terminator: the text ends within the block, names
    // no folder, and the dialog still works.
    HWND dialog = Open(std::string(300, 'q') + "tail past the block", "DoModuleListFile");
    ASSERT_NE(dialog, nullptr);
    std::string chosen = folder_ + "\\blinky.c";
    ASSERT_TRUE(ChooseFile(dialog, chosen.c_str()));
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_EQ(TextOf(ReadBytes(Exchange)), ShortPathOf(chosen));
}

}  // namespace
}  // namespace e2e
