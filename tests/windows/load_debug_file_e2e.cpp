// DoLoadDebugFile from end to end, through the old-style dialog built from
// the program's own template.
#include "support/e2e.h"

namespace e2e {
namespace {

const wchar_t* const FileTypes[] = {
    L"KEIL", L"IAR UBROF", L"IAR banked", L"BSO/Tasking OMF",
    L"BSO/Tasking IEEE695", L"Old BSO", L"2500AD", L"Intel ASM/PLM51",
    L"MetaLink ASM51", L"MCC Software", L"OMF51 Format", L"FOMF", L"Intel Hex",
};
enum { IntelHexItem = 12, Omf51Item = 10 };

class LoadDebugFile : public PickerTest {
protected:
    void SetUp() override
    {
        PickerTest::SetUp();
        file_ = folder_ + "\\Blinky debug output.hex";
        WriteBytes(file_, ":00000001FF\n");
    }
    HWND Open() { return PickerTest::Open(PathBlock(folder_), "DoLoadDebugFile"); }
    // Accepts file_ and returns the reply (empty on failure).
    std::string Accept(HWND dialog, const std::string& name)
    {
        EXPECT_TRUE(ChooseFile(dialog, name.c_str()));
        EXPECT_EQ(ExitCode(), 1);
        std::string reply = ReadBytes(Exchange);
        EXPECT_EQ(reply.size(), 312u);
        return reply.size() == 312 ? reply : std::string();
    }
    std::string file_;
};

TEST_F(LoadDebugFile, OpensWithTheTemplateOnKeil)
{
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"File Open");
    ASSERT_EQ(ComboItemCount(dialog, 1136), 13);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(ComboText(dialog, 1136, i), FileTypes[i]) << i;
    EXPECT_EQ(ComboSelection(dialog, 1136), 0);
    EXPECT_EQ(CheckState(dialog, 4391), BST_CHECKED) << "Startup skip";
    EXPECT_EQ(CheckState(dialog, 4390), BST_UNCHECKED) << "Symbol only";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 4392))) << "Options...";
    EXPECT_EQ(Text(GetDlgItem(dialog, 4390)), L"&Symbol only");
    EXPECT_EQ(Text(GetDlgItem(dialog, 4391)), L"Startup s&kip");
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(ExitCode(), 1);
}

TEST_F(LoadDebugFile, IntelHexWithBoxesUntouched)
{
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SelectFileType(dialog, IntelHexItem));
    std::string reply = Accept(dialog, file_);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(TextOf(reply), ShortPathOf(file_));
    EXPECT_EQ(IntAt(reply, 300), 1);
    EXPECT_EQ(IntAt(reply, 304), 0);
    EXPECT_EQ(IntAt(reply, 308), 8);
}

TEST_F(LoadDebugFile, ToggledBoxesAreReplied)
{
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ClickControl(dialog, 4391));
    ASSERT_TRUE(ClickControl(dialog, 4390));
    EXPECT_EQ(CheckState(dialog, 4391), BST_UNCHECKED);
    EXPECT_EQ(CheckState(dialog, 4390), BST_CHECKED);
    std::string reply = Accept(dialog, file_);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(IntAt(reply, 300), 0);
    EXPECT_EQ(IntAt(reply, 304), 1);
    EXPECT_EQ(IntAt(reply, 308), 0);  // still KEIL
}

TEST_F(LoadDebugFile, Omf51GivesCodeSevenNotTheFallback)
{
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SelectFileType(dialog, Omf51Item));
    std::string reply = Accept(dialog, file_);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(IntAt(reply, 308), 7);
}

TEST_F(LoadDebugFile, ToggleThenCancelLeavesNoFile)
{
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ClickControl(dialog, 4390));
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_FALSE(ExchangeExists());
}

TEST_F(LoadDebugFile, OpensInTheRequestedFolder)
{
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    // A bare name resolves against the folder the dialog opened in.
    std::string reply = Accept(dialog, "Blinky debug output.hex");
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(TextOf(reply), ShortPathOf(file_));
}

TEST_F(LoadDebugFile, NoRequestMeansNoDialog)
{
    Start("DoLoadDebugFile");
    EXPECT_EQ(ExitCodeWithoutDialog(), 1);
    EXPECT_FALSE(ExchangeExists());
}

}  // namespace
}  // namespace e2e
