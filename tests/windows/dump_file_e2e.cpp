// DoSetDumpFile from end to end, one suite per mode.
#include "support/e2e.h"

namespace e2e {
namespace {

class DumpTest : public PickerTest {
protected:
    HWND Open(int mode) { return PickerTest::Open(IntBlock(mode), "DoSetDumpFile"); }
    // The prompt or message box the dialog opened over itself.
    HWND Prompt(HWND dialog) { return Dialog(dialog); }
};

class DumpSave : public DumpTest {};
class DumpLoad : public DumpTest {};
class DumpLog : public DumpTest {};
class DumpOther : public DumpTest {};

TEST_F(DumpSave, NewNameIsCreatedEmptyAndReplied)
{
    HWND dialog = Open(0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"Save Dump As");
    EXPECT_EQ(ComboText(dialog, 1136, 0), L"Intel Hex (*.hex)");
    std::string file = folder_ + "\\Saved code memory.hex";
    std::string reply = Pick(dialog, file);
    EXPECT_EQ(reply, ShortPathOf(file));
    EXPECT_EQ(ReadBytes(file), "");
}

TEST_F(DumpSave, ReplacingAfterYesEmptiesTheFile)
{
    std::string file = folder_ + "\\old dump.hex";
    WriteBytes(file, ":0100000000FF\n");
    HWND dialog = Open(0);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ChooseFile(dialog, file.c_str()));
    HWND prompt = Prompt(dialog);
    ASSERT_NE(prompt, nullptr);
    PressButton(prompt, IDYES);
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_EQ(ReadBytes(file), "");
    std::string reply = ReadBytes(Exchange);
    ASSERT_EQ(reply.size(), 300u);
    EXPECT_EQ(TextOf(reply), ShortPathOf(file));
}

TEST_F(DumpSave, AnsweringNoKeepsTheFile)
{
    std::string file = folder_ + "\\old dump.hex";
    WriteBytes(file, ":0100000000FF\n");
    HWND dialog = Open(0);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ChooseFile(dialog, file.c_str()));
    HWND prompt = Prompt(dialog);
    ASSERT_NE(prompt, nullptr);
    PressButton(prompt, IDNO);
    // Back in the dialog; the user gives up.
    ASSERT_TRUE(WaitForInputIdle(process_.hProcess, DialogTimeoutMs) == 0);
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_EQ(ReadBytes(file), ":0100000000FF\n");
    EXPECT_FALSE(ExchangeExists());
}

TEST_F(DumpLoad, MissingFileIsRefusedByTheDialog)
{
    HWND dialog = Open(1);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"Load Dump File");
    std::string missing = folder_ + "\\no such dump.hex";
    ASSERT_TRUE(ChooseFile(dialog, missing.c_str()));
    HWND refusal = Prompt(dialog);
    ASSERT_NE(refusal, nullptr);
    PressButton(refusal, IDOK);
    ASSERT_TRUE(WaitForInputIdle(process_.hProcess, DialogTimeoutMs) == 0);
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(ExchangeExists());
}

TEST_F(DumpLoad, ExistingFileIsRepliedUntouched)
{
    std::string file = folder_ + "\\code memory dump.hex";
    const std::string content = ":10000000020003E4F590B290DFFE80FA00000000A5\n";
    WriteBytes(file, content);
    HWND dialog = Open(1);
    ASSERT_NE(dialog, nullptr);
    std::string reply = Pick(dialog, file);
    EXPECT_EQ(reply, ShortPathOf(file));
    EXPECT_EQ(ReadBytes(file), content);
}

TEST_F(DumpLog, NewLogIsCreatedEmpty)
{
    HWND dialog = Open(2);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"Save Dump As");
    EXPECT_EQ(ComboText(dialog, 1136, 0), L"Log file (*.log)");
    std::string file = folder_ + "\\session trace.log";
    std::string reply = Pick(dialog, file);
    EXPECT_EQ(reply, ShortPathOf(file));
    EXPECT_EQ(ReadBytes(file), "");
}

TEST_F(DumpLog, ExistingLogIsEmptiedWithoutAsking)
{
    std::string file = folder_ + "\\session trace.log";
    WriteBytes(file, "old session\n");
    HWND dialog = Open(2);
    ASSERT_NE(dialog, nullptr);
    std::string reply = Pick(dialog, file);
    EXPECT_EQ(reply, ShortPathOf(file));
    EXPECT_EQ(ReadBytes(file), "");
}

TEST_F(DumpLog, LogThatCannotBeWrittenKeepsItsContentAndIsReplied)
{
    std::string file = folder_ + "\\locked.log";
    WriteBytes(file, "keep me\n");
    // Held open without write sharing: nobody else may open it for writing.
    HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, 0,
                              OPEN_EXISTING, 0, 0);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    HANDLE writer = CreateFileA(file.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
    ASSERT_EQ(writer, INVALID_HANDLE_VALUE) << "the lock does not hold";
    HWND dialog = Open(2);
    if (dialog)
        ChooseFile(dialog, file.c_str());
    int exitCode = ExitCode();
    CloseHandle(lock);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(ReadBytes(file), "keep me\n");
    std::string reply = ReadBytes(Exchange);
    ASSERT_EQ(reply.size(), 300u);
    EXPECT_EQ(TextOf(reply), ShortPathOf(file));
}

TEST_F(DumpLog, PathTooLongForTheDialogIsReported)
{
    // The dump dialogs hold 255 bytes: a longer name makes the dialog fail,
    // and the user is told its error code. (Past MAX_PATH the platform's
    // own dialog breaks, so the name stays just below it.)
    std::string file = folder_ + "\\";
    file += std::string(258 - 4 - file.size(), 'x') + ".log";
    ASSERT_EQ(file.size(), 258u);
    HWND dialog = Open(2);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ChooseFile(dialog, file.c_str()));
    HWND box = Dialog(dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Text(box), L"WARNING");
    wchar_t message[256];
    EXPECT_TRUE(MessageBoxText(box, message, 256));
    EXPECT_EQ(std::wstring(message), L"GetOpenFileName returned Error #12291");
    PressButton(box, IDOK);
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_FALSE(ExchangeExists());
}

TEST_F(DumpOther, UnknownModeWithNewNameWritesNothing)
{
    HWND dialog = Open(5);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"Save Dump As");
    EXPECT_EQ(ComboText(dialog, 1136, 0), L"Intel Hex (*.hex)");
    std::string file = folder_ + "\\new.hex";
    ASSERT_TRUE(ChooseFile(dialog, file.c_str()));
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(ExchangeExists());
}

}  // namespace
}  // namespace e2e
