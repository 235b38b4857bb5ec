// filepick.exe loaded as a module by a host: its four named exports, its
// dialog template, and its debug-file dialog called from the host's thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debug_file/debug_file.h"
#include "support/e2e.h"
#include "support/module_loader.h"

namespace {

HMODULE Program()
{
    static HMODULE module = LoadProgramAsModule(e2e::PickerPath().c_str());
    return module;
}

template <typename Proc>
Proc Export(const char* name)
{
    return (Proc)GetProcAddress(Program(), name);
}

TEST(Exports, AllFourNamesResolve)
{
    ASSERT_NE(Program(), nullptr);
    EXPECT_NE(Export<FARPROC>(FILEPICK_EXPORT_GETVENDORINDEX), nullptr);
    EXPECT_NE(Export<FARPROC>(FILEPICK_EXPORT_SETINDXVEND), nullptr);
    EXPECT_NE(Export<FARPROC>(FILEPICK_EXPORT_LOADDEBUGFILE), nullptr);
    EXPECT_NE(Export<FARPROC>(FILEPICK_EXPORT_LOADFILEHOOK), nullptr);
    EXPECT_EQ(Export<FARPROC>("GetVendorIndex"), nullptr);
}

TEST(Exports, ConversionsThroughTheExports)
{
    GetVendorIndexProc getIndex = Export<GetVendorIndexProc>(FILEPICK_EXPORT_GETVENDORINDEX);
    SetIndxVendProc setIndex = Export<SetIndxVendProc>(FILEPICK_EXPORT_SETINDXVEND);
    ASSERT_NE(getIndex, nullptr);
    ASSERT_NE(setIndex, nullptr);
    // The table itself is tested natively; this checks the calling
    // convention and that the exports reach the table.
    EXPECT_EQ(getIndex(7), 11);
    EXPECT_EQ(getIndex(9), 0);
    EXPECT_EQ(setIndex(13), 8);
    EXPECT_EQ(setIndex(15), 7);
}

// A classic dialog template read field by field.
struct TemplateReader {
    const BYTE* p;
    WORD Word()
    {
        WORD w = *(const WORD*)p;
        p += 2;
        return w;
    }
    DWORD Dword()
    {
        DWORD d = *(const DWORD*)p;
        p += 4;
        return d;
    }
    short Short() { return (short)Word(); }
    // A text or an ordinal (0xFFFF then the number, shown as "#n").
    std::wstring TextOrOrdinal()
    {
        if (*(const WORD*)p == 0xFFFF) {
            p += 2;
            return L"#" + std::to_wstring(Word());
        }
        std::wstring text((const wchar_t*)p);
        p += (text.size() + 1) * 2;
        return text;
    }
    void AlignDword() { p = (const BYTE*)(((DWORD_PTR)p + 3) & ~(DWORD_PTR)3); }
};

struct Control {
    WORD id;
    const wchar_t* className;  // the predefined classes' ordinals
    const wchar_t* text;
    short x, y, cx, cy;
    DWORD style;
};

const Control ExpectedControls[] = {
    { 1090, L"#130", L"File &Name:", 5, 5, 76, 9, 0x50020000 },
    { 1152, L"#129", L"", 5, 15, 90, 12, 0x50810480 },
    { 1120, L"#131", L"", 5, 31, 90, 68, 0x50A11053 },
    { 65535, L"#130", L"&Directories:", 109, 5, 92, 9, 0x50020000 },
    { 1088, L"#130", L"", 109, 17, 92, 9, 0x50020080 },
    { 1121, L"#131", L"", 109, 31, 92, 68, 0x50A11053 },
    { 1089, L"#130", L"List Files of &Type:", 5, 103, 90, 9, 0x50020000 },
    { 1136, L"#133", L"", 5, 113, 90, 48, 0x50A10043 },
    { 1091, L"#130", L"Dri&ves:", 109, 103, 92, 9, 0x50020000 },
    { 1137, L"#133", L"", 109, 113, 92, 68, 0x50A10353 },
    { 1, L"#128", L"OK", 216, 6, 50, 14, 0x50030001 },
    { 2, L"#128", L"Cancel", 216, 28, 50, 14, 0x50030000 },
    { 1038, L"#128", L"&Help", 216, 50, 50, 14, 0x50030000 },
    { 4392, L"#128", L"Options...", 216, 72, 50, 14, 0x50010000 },
    { 4390, L"#128", L"&Symbol only", 216, 96, 60, 12, 0x50010003 },
    { 4391, L"#128", L"Startup s&kip", 216, 114, 60, 12, 0x50010003 },
};

TEST(LoadDialogTemplate, IsLanguageNeutralAndFoundByMixedCaseName)
{
    ASSERT_NE(Program(), nullptr);
    EXPECT_NE(FindResourceExA(Program(), (LPCSTR)RT_DIALOG, "LOADDIALOG",
                              MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)),
              nullptr);
    EXPECT_NE(FindResourceA(Program(), "LoadDialog", (LPCSTR)RT_DIALOG), nullptr);
}

TEST(LoadDialogTemplate, MatchesTheLayoutFieldByField)
{
    ASSERT_NE(Program(), nullptr);
    HRSRC found = FindResourceA(Program(), "LoadDialog", (LPCSTR)RT_DIALOG);
    ASSERT_NE(found, nullptr);
    TemplateReader r = { (const BYTE*)LockResource(LoadResource(Program(), found)) };
    ASSERT_NE(r.p, nullptr);
    ASSERT_NE(*(const DWORD*)r.p, 0xFFFF0001u) << "an extended template";

    EXPECT_EQ(r.Dword(), 0x90C800C0u);  // style
    EXPECT_EQ(r.Dword(), 0u);           // extended style
    WORD count = r.Word();
    EXPECT_EQ(count, 16);
    EXPECT_EQ(r.Short(), 9);
    EXPECT_EQ(r.Short(), 26);
    EXPECT_EQ(r.Short(), 282);
    EXPECT_EQ(r.Short(), 141);
    EXPECT_EQ(r.TextOrOrdinal(), L"");  // no menu
    EXPECT_EQ(r.TextOrOrdinal(), L"");  // no class
    EXPECT_EQ(r.TextOrOrdinal(), L"Load File");
    EXPECT_EQ(r.Word(), 8);  // point size
    EXPECT_EQ(r.TextOrOrdinal(), L"Helv");

    ASSERT_EQ(count, sizeof ExpectedControls / sizeof ExpectedControls[0]);
    for (const Control& want : ExpectedControls) {
        SCOPED_TRACE(want.id);
        r.AlignDword();
        EXPECT_EQ(r.Dword(), want.style);
        EXPECT_EQ(r.Dword(), 0u);
        EXPECT_EQ(r.Short(), want.x);
        EXPECT_EQ(r.Short(), want.y);
        EXPECT_EQ(r.Short(), want.cx);
        EXPECT_EQ(r.Short(), want.cy);
        EXPECT_EQ(r.Word(), want.id);
        EXPECT_EQ(r.TextOrOrdinal(), want.className);
        EXPECT_EQ(r.TextOrOrdinal(), want.text);
        EXPECT_EQ(r.Word(), 0);  // no creation data
    }
}

// Drives the dialog that LoadDebugFile opens on the test's own main thread.
struct DialogScript {
    int accept;            // OK or Cancel
    int toggleBoxes;       // click both check boxes first
    int fileType;          // 0-based item to select, -1 to leave
    std::string path;      // file to choose
    int optionsEnabled;    // observed: "Options..." enabled
    int found;             // observed: the dialog appeared
};

DWORD WINAPI RunScript(void* param)
{
    DialogScript* script = (DialogScript*)param;
    HWND dialog = WaitForDialog(GetCurrentProcessId(), 0, e2e::DialogTimeoutMs, 0);
    script->found = dialog != 0;
    if (!dialog)
        return 0;
    script->optionsEnabled = IsWindowEnabled(GetDlgItem(dialog, 4392));
    if (script->toggleBoxes) {
        ClickControl(dialog, 4390);
        ClickControl(dialog, 4391);
    }
    if (script->fileType >= 0)
        SelectFileType(dialog, script->fileType);
    if (script->accept)
        ChooseFile(dialog, script->path.c_str());
    else
        PressButton(dialog, IDCANCEL);
    return 0;
}

class LoadDebugFileExport : public ::testing::Test {
protected:
    int Run(DialogScript* script, char* options, VENDORFORMAT* format,
            char* fileName, int* startupSkip, int* symbolOnly)
    {
        LoadDebugFileProc load = Export<LoadDebugFileProc>(FILEPICK_EXPORT_LOADDEBUGFILE);
        EXPECT_NE(load, nullptr);
        if (!load)
            return -1;
        HANDLE driver = CreateThread(0, 0, RunScript, script, 0, 0);
        int result = load(0, 0, *format, fileName, *startupSkip, *symbolOnly,
                          options, folder_.c_str());
        EXPECT_EQ(WaitForSingleObject(driver, e2e::DialogTimeoutMs), WAIT_OBJECT_0);
        CloseHandle(driver);
        return result;
    }
    void SetUp() override
    {
        // A folder per test: the old-style dialog leaves this process's
        // current directory in the last one it showed.
        folder_ = e2e::FreshFolder(
            std::string("export-") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        file_ = folder_ + "\\blinky.hex";
        e2e::WriteBytes(file_, ":00000001FF\n");
    }
    std::string folder_;
    std::string file_;
};

TEST_F(LoadDebugFileExport, AcceptFillsTheCallersWords)
{
    DialogScript script = { 1, 1, 12, file_, 0, 0 };
    char options[] = "";
    VENDORFORMAT format = 0;
    char fileName[300] = "";
    int startupSkip = 7, symbolOnly = 7;
    int result = Run(&script, options, &format, fileName, &startupSkip, &symbolOnly);
    EXPECT_TRUE(script.found);
    EXPECT_TRUE(script.optionsEnabled) << "options non-null keeps it enabled";
    EXPECT_NE(result, 0);
    EXPECT_EQ(format, 8);  // Intel Hex
    EXPECT_EQ(startupSkip, 0);
    EXPECT_EQ(symbolOnly, 1);
    EXPECT_STRCASEEQ(fileName, file_.c_str());
}

TEST_F(LoadDebugFileExport, CancelLeavesTheCallersWordsAlone)
{
    DialogScript script = { 0, 1, 12, file_, 1, 0 };
    VENDORFORMAT format = 3;
    char fileName[300] = "untouched?";
    int startupSkip = 7, symbolOnly = 9;
    int result = Run(&script, nullptr, &format, fileName, &startupSkip, &symbolOnly);
    EXPECT_TRUE(script.found);
    EXPECT_FALSE(script.optionsEnabled) << "options null disables it";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(format, 3);
    EXPECT_EQ(startupSkip, 7);
    EXPECT_EQ(symbolOnly, 9);
}

}  // namespace
