// Bad input and faults from end to end: whatever happens, a file at
// C:\FILE after a run is a complete reply, or there is none.
#include <limits.h>

#include "support/e2e.h"

namespace e2e {
namespace {

class ExchangeFaults : public PickerTest {};
class ChosenNames : public PickerTest {};
class InitialDirs : public PickerTest {};
class RequestLengths : public PickerTest {};

TEST_F(ExchangeFaults, ReadOnlyRequestIsStillConsumed)
{
    PutExchange(PathBlock(folder_));
    ASSERT_TRUE(SetFileAttributesA(Exchange, FILE_ATTRIBUTE_READONLY));
    Start("DoModuleListFile");
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(ExchangeExists()) << "the request stayed to be read as a reply";
    std::string file = folder_ + "\\main.c";
    WriteBytes(file, "x");
    std::string reply = Pick(dialog, file);
    EXPECT_EQ(reply, ShortPathOf(file));
}

TEST_F(ExchangeFaults, RequestThatCannotBeDeletedShowsNoDialog)
{
    PutExchange(PathBlock(folder_));
    // Held open without delete sharing: the platform refuses to delete it.
    HANDLE lock = CreateFileA(Exchange, GENERIC_READ, FILE_SHARE_READ, 0,
                              OPEN_EXISTING, 0, 0);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ASSERT_FALSE(DeleteFileA(Exchange)) << "the lock does not hold";
    Start("DoModuleListFile");
    int exitCode = ExitCodeWithoutDialog();
    CloseHandle(lock);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(ReadBytes(Exchange), PathBlock(folder_)) << "nothing was written over it";
}

TEST_F(ExchangeFaults, ReplyThatCannotBePlacedLeavesNothing)
{
    HWND dialog = Open(PathBlock(folder_), "DoModuleListFile");
    ASSERT_NE(dialog, nullptr);
    // While the dialog is open, a folder takes the reply's place.
    ASSERT_TRUE(CreateDirectoryA(Exchange, 0));
    std::string file = folder_ + "\\main.c";
    WriteBytes(file, "x");
    EXPECT_TRUE(ChooseFile(dialog, file.c_str()));
    EXPECT_EQ(ExitCode(), 1);
    DWORD attributes = GetFileAttributesA(Exchange);
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(FileExists("C:\\FILE.new")) << "a partial reply was left";
}

TEST_F(ChosenNames, AnsiNameBeyondAscii)
{
    std::string file = folder_ + "\\M\xfcller \xdc" "berlauf.lst";
    WriteBytes(file, "x");
    ASSERT_TRUE(FileExists(file));
    HWND dialog = Open(PathBlock(folder_), "DoModuleListFile");
    ASSERT_NE(dialog, nullptr);
    std::string reply = Pick(dialog, file);
    EXPECT_EQ(reply, ShortPathOf(file));
}

TEST_F(ChosenNames, DeepFolderNearTheDialogLimit)
{
    // Nested folders with spaces up to a 250-byte path: still fits 255.
    std::string path = folder_;
    while (path.size() < 220) {
        path += "\\sub folder";
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), 0));
    }
    std::string file = path + "\\" + std::string(250 - path.size() - 5, 'm') + ".hex";
    ASSERT_EQ(file.size(), 250u);
    WriteBytes(file, ":00000001FF\n");
    HWND dialog = Open(IntBlock(1), "DoSetDumpFile");
    ASSERT_NE(dialog, nullptr);
    std::string reply = Pick(dialog, file);
    EXPECT_EQ(reply, ShortPathOf(file));
}

TEST_F(ChosenNames, PathCutByTheOldStyleDialogGetsNoReply)
{
    // The old-style dialog cuts a path longer than its 255-byte buffer
    // instead of failing: the cut name does not exist, so no reply.
    std::string file = folder_ + "\\";
    file += std::string(258 - 4 - file.size(), 'y') + ".hex";
    ASSERT_EQ(file.size(), 258u);
    WriteBytes(file, ":00000001FF\n");
    HWND dialog = Open(PathBlock(folder_), "DoLoadDebugFile");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ChooseFile(dialog, file.c_str()));
    // Either the dialog refuses the name (a prompt over it, dismissed, then
    // cancelled) or it returns the cut path; neither may give a reply.
    HWND prompt = WaitForDialog(process_.dwProcessId, process_.hProcess, 5000, dialog);
    if (prompt) {
        PressButton(prompt, IDOK);
        WaitForInputIdle(process_.hProcess, DialogTimeoutMs);
        PressButton(dialog, IDCANCEL);
    }
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_FALSE(ExchangeExists());
}

TEST_F(InitialDirs, AnyRequestTextStillOpensTheDialog)
{
    std::string file = folder_ + "\\main.c";
    WriteBytes(file, "x");
    const std::string requests[] = {
        PathBlock("C:\\no such folder\\anywhere"),
        PathBlock(""),
        PathBlock("relative\\folder"),
        std::string(300, 'r'),
    };
    for (const std::string& request : requests) {
        SCOPED_TRACE(TextOf(request).substr(0, 40));
        HWND dialog = Open(request, "DoModuleListFile");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Text(dialog), L"Module List Files");
        std::string reply = Pick(dialog, file);
        EXPECT_EQ(reply, ShortPathOf(file));
        EndPicker(&process_);
        RemoveExchange();
    }
}

TEST_F(InitialDirs, MissingFolderForTheLoadDialog)
{
    std::string file = folder_ + "\\blinky.hex";
    WriteBytes(file, ":00000001FF\n");
    HWND dialog = Open(PathBlock("C:\\no such folder"), "DoLoadDebugFile");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"File Open");
    std::string reply = Pick(dialog, file, 312);
    EXPECT_EQ(reply, ShortPathOf(file));
}

TEST_F(RequestLengths, ShortRequestsNeverShowADialog)
{
    const struct { const char* verb; int length; } cases[] = {
        { "DoModuleListFile", 0 }, { "DoModuleListFile", 1 },
        { "DoModuleListFile", 4 }, { "DoModuleListFile", 150 },
        { "DoModuleListFile", 299 }, { "DoLoadDebugFile", 0 },
        { "DoLoadDebugFile", 299 }, { "DoSetDumpFile", 0 },
        { "DoSetDumpFile", 1 }, { "DoSetDumpFile", 2 }, { "DoSetDumpFile", 3 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.verb) + " " + std::to_string(c.length));
        PutExchange(std::string(c.length, 'a'));
        Start(c.verb);
        EXPECT_EQ(ExitCodeWithoutDialog(), 1);
        EXPECT_FALSE(ExchangeExists());
        EndPicker(&process_);
    }
}

TEST_F(RequestLengths, DumpModesOutsideTheTableTouchNothing)
{
    std::string file = folder_ + "\\existing.hex";
    for (int mode : { 3, -2, INT_MIN, INT_MAX }) {
        SCOPED_TRACE(mode);
        WriteBytes(file, "data");
        HWND dialog = Open(IntBlock(mode), "DoSetDumpFile");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Text(dialog), L"Save Dump As");
        std::string reply = Pick(dialog, file);
        EXPECT_EQ(reply, ShortPathOf(file));
        EXPECT_EQ(ReadBytes(file), "data");
        EndPicker(&process_);
        RemoveExchange();
    }
}

}  // namespace
}  // namespace e2e
