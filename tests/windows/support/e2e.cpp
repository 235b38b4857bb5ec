#include "support/e2e.h"

#include <stdio.h>

namespace e2e {

const char Exchange[] = "C:\\FILE";

void RemoveExchange()
{
    SetFileAttributesA(Exchange, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(Exchange);
    RemoveDirectoryA(Exchange);  // some tests put a folder in its way
    DeleteFileA("C:\\FILE.new");
}

void PutExchange(const std::string& bytes) { WriteBytes(Exchange, bytes); }

bool ExchangeExists() { return FileExists(Exchange); }

std::string ReadBytes(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return "<missing>";
    std::string bytes;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

std::string PathBlock(const std::string& text)
{
    std::string block = text;
    block.resize(300, '\0');
    return block;
}

std::string IntBlock(int value)
{
    std::string block(4, '\0');
    for (int i = 0; i < 4; ++i)
        block[i] = (char)((unsigned)value >> (8 * i));
    return block;
}

int IntAt(const std::string& bytes, size_t offset)
{
    unsigned value = 0;
    for (int i = 0; i < 4; ++i)
        value |= (unsigned)(unsigned char)bytes.at(offset + i) << (8 * i);
    return (int)value;
}

std::string TextOf(const std::string& block) { return block.c_str(); }

static void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string FreshFolder(const std::string& name)
{
    CreateDirectoryA("C:\\filepick-tests", 0);
    std::string folder = "C:\\filepick-tests\\" + name;
    RemoveTree(folder);
    EXPECT_TRUE(CreateDirectoryA(folder.c_str(), 0)) << folder;
    return folder;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    ASSERT_EQ(fclose(file), 0);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ShortPathOf(const std::string& path)
{
    char shortPath[300];
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return length > 0 && length < sizeof shortPath ? shortPath : "<no short path>";
}

std::string PickerPath()
{
    char path[MAX_PATH];
    PickerPathBesideSelf(path, sizeof path);
    return path;
}

void PickerTest::SetUp()
{
    RemoveExchange();
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = FreshFolder(std::string(test->test_suite_name()) + "-" + test->name());
}

HWND PickerTest::Open(const std::string& request, const char* verb)
{
    PutExchange(request);
    Start(verb);
    return Dialog();
}

void PickerTest::TearDown()
{
    // A failed test may leave the picker running: end it by its handle.
    EndPicker(&process_);
    RemoveExchange();
}

void PickerTest::Start(const std::string& tail)
{
    StartLine("\"" + PickerPath() + "\" " + tail);
}

void PickerTest::StartLine(const std::string& commandLine)
{
    ASSERT_EQ(process_.hProcess, nullptr) << "one picker per test";
    ASSERT_TRUE(StartPicker(PickerPath().c_str(), commandLine.c_str(), &process_))
        << commandLine;
}

HWND PickerTest::Dialog(HWND exclude)
{
    HWND dialog = WaitForDialog(process_.dwProcessId, process_.hProcess,
                                DialogTimeoutMs, exclude);
    EXPECT_NE(dialog, nullptr) << "no dialog appeared";
    return dialog;
}

int PickerTest::ExitCode()
{
    DWORD code = 0;
    if (!WaitForExit(process_.hProcess, ExitTimeoutMs, &code))
        return -1;
    return (int)code;
}

int PickerTest::ExitCodeWithoutDialog()
{
    // Returns -2 as soon as a dialog shows; otherwise the picker ends.
    if (WaitForDialog(process_.dwProcessId, process_.hProcess, ExitTimeoutMs, 0))
        return -2;
    return ExitCode();
}

std::string PickerTest::Pick(HWND dialog, const std::string& path, size_t replySize)
{
    EXPECT_TRUE(ChooseFile(dialog, path.c_str()));
    EXPECT_EQ(ExitCode(), 1);
    std::string reply = ReadBytes(Exchange);
    if (reply == "<missing>")
        return "<none>";
    EXPECT_EQ(reply.size(), replySize);
    return TextOf(reply);
}

std::wstring Text(HWND window)
{
    wchar_t text[512];
    WindowText(window, text, 512);
    return text;
}

std::wstring ComboText(HWND dialog, int id, int index)
{
    wchar_t text[512];
    ComboItemText(dialog, id, index, text, 512);
    return text;
}

}  // namespace e2e
