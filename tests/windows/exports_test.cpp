// filepick.exe loaded as a module by a host: its named exports and their
// calling convention, its dialog template, and its debug-file dialog called
// from the host's own thread.
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
    static HMODULE module = [] {
        wchar_t path[MAX_PATH];
        PathBesideSelf(L"filepick.exe", path, MAX_PATH);
        return LoadProgramAsModule(e2e::Ansi(path).c_str());
    }();
    return module;
}

void* Export(const char* name) { return (void*)GetProcAddress(Program(), name); }

// Calls function with count copies of argument the way a host calls a
// __stdcall routine, and returns how far the stack pointer moved: 0 when the
// routine took its arguments off the stack itself, as __stdcall does.
int StackDrift(void* function, int count, int argument, int* result)
{
    int drift;
    __asm__ volatile("mov %%esp, %%esi\n\t"
                     "mov %[count], %%ecx\n\t"
                     "1: push %[argument]\n\t"
                     "loop 1b\n\t"
                     "call *%%eax\n\t"
                     "mov %%esp, %%ecx\n\t"
                     "sub %%esi, %%ecx\n\t"
                     "mov %%esi, %%esp\n\t"
                     : "=a"(*result), "=c"(drift)
                     : "a"(function), [count] "D"(count), [argument] "b"(argument)
                     : "esi", "edx", "memory", "cc");
    return drift;
}

TEST(Exports, NamesConventionAndConversions)
{
    ASSERT_NE(Program(), nullptr);
    EXPECT_EQ(Export("GetVendorIndex"), nullptr) << "only the host's names";
    EXPECT_NE(Export(FILEPICK_EXPORT_LOADDEBUGFILE), nullptr);
    // The table is tested natively; these reach it through the exports.
    const struct { const char* name; int count, argument, result; } calls[] = {
        { FILEPICK_EXPORT_GETVENDORINDEX, 1, 7, 11 },
        { FILEPICK_EXPORT_GETVENDORINDEX, 1, 9, 0 },
        { FILEPICK_EXPORT_SETINDXVEND, 1, 13, 8 },
        { FILEPICK_EXPORT_SETINDXVEND, 1, 15, 7 },
        { FILEPICK_EXPORT_LOADFILEHOOK, 4, 0, 0 },  // message 0: nothing to do
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(std::string(call.name) + " " + std::to_string(call.argument));
        void* function = Export(call.name);
        ASSERT_NE(function, nullptr);
        int result = -1;
        EXPECT_EQ(StackDrift(function, call.count, call.argument, &result), 0) << "not __stdcall";
        EXPECT_EQ(result, call.result);
    }
}

// The template's controls: id, class ordinal, text, x, y, cx, cy, style.
const struct { WORD id, klass; const wchar_t* text; short x, y, cx, cy; DWORD style; } Controls[] = {
    { 1090, 0x82, L"File &Name:", 5, 5, 76, 9, 0x50020000 },
    { 1152, 0x81, L"", 5, 15, 90, 12, 0x50810480 },
    { 1120, 0x83, L"", 5, 31, 90, 68, 0x50A11053 },
    { 65535, 0x82, L"&Directories:", 109, 5, 92, 9, 0x50020000 },
    { 1088, 0x82, L"", 109, 17, 92, 9, 0x50020080 },
    { 1121, 0x83, L"", 109, 31, 92, 68, 0x50A11053 },
    { 1089, 0x82, L"List Files of &Type:", 5, 103, 90, 9, 0x50020000 },
    { 1136, 0x85, L"", 5, 113, 90, 48, 0x50A10043 },
    { 1091, 0x82, L"Dri&ves:", 109, 103, 92, 9, 0x50020000 },
    { 1137, 0x85, L"", 109, 113, 92, 68, 0x50A10353 },
    { 1, 0x80, L"OK", 216, 6, 50, 14, 0x50030001 },
    { 2, 0x80, L"Cancel", 216, 28, 50, 14, 0x50030000 },
    { 1038, 0x80, L"&Help", 216, 50, 50, 14, 0x50030000 },
    { 4392, 0x80, L"Options...", 216, 72, 50, 14, 0x50010000 },
    { 4390, 0x80, L"&Symbol only", 216, 96, 60, 12, 0x50010003 },
    { 4391, 0x80, L"Startup s&kip", 216, 114, 60, 12, 0x50010003 },
};

TEST(LoadDialogTemplate, FieldByField)
{
    ASSERT_NE(Program(), nullptr);
    EXPECT_NE(FindResourceExA(Program(), (LPCSTR)RT_DIALOG, "LOADDIALOG",
                              MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)), nullptr)
        << "language neutral";
    HRSRC found = FindResourceA(Program(), "LoadDialog", (LPCSTR)RT_DIALOG);
    ASSERT_NE(found, nullptr) << "found by the mixed-case name";
    const WORD* p = (const WORD*)LockResource(LoadResource(Program(), found));
    auto dword = [&p] { DWORD d = p[0] | (DWORD)p[1] << 16; p += 2; return d; };
    auto text = [&p] { std::wstring t = (const wchar_t*)p; p += t.size() + 1; return t; };
    EXPECT_EQ(dword(), 0x90C800C0u) << "style; an extended template would differ";
    EXPECT_EQ(dword(), 0u);
    EXPECT_EQ(p[0], 16);
    EXPECT_EQ(std::vector<short>(p + 1, p + 5), (std::vector<short>{ 9, 26, 282, 141 }));
    p += 5;
    EXPECT_EQ(text(), L"") << "no menu";
    EXPECT_EQ(text(), L"") << "no class";
    EXPECT_EQ(text(), L"Load File");
    EXPECT_EQ(*p++, 8);
    EXPECT_EQ(text(), L"Helv");
    for (const auto& want : Controls) {
        SCOPED_TRACE(want.id);
        p = (const WORD*)(((DWORD_PTR)p + 3) & ~(DWORD_PTR)3);
        EXPECT_EQ(dword(), want.style);
        EXPECT_EQ(dword(), 0u);
        EXPECT_EQ(std::vector<short>(p, p + 4), (std::vector<short>{ want.x, want.y, want.cx, want.cy }));
        p += 4;
        EXPECT_EQ(*p++, want.id);
        EXPECT_EQ(p[0], 0xFFFF);
        EXPECT_EQ(p[1], want.klass);
        p += 2;
        EXPECT_EQ(text(), want.text);
        EXPECT_EQ(*p++, 0) << "no creation data";
    }
}

// One call of the exported dialog, driven from a second thread.
struct Script {
    const char* name;
    bool accept;           // else Cancel
    bool toggleBoxes;      // click both boxes first
    int fileType;          // item to select, -1 to leave
    const wchar_t* file;   // in the folder
    bool options;          // pass a non-null options text
    bool fullPathBack;     // fileName gets the full path (else the short one)
    int format, startupSkip, symbolOnly;  // the caller's words afterwards
    bool optionsEnabled;   // seen by the driver
};

const Script Calls[] = {
    { "accept fills the caller's words", true, true, 12, L"blinky.hex", true, true, 8, 0, 1, true },
    { "cancel leaves them alone", false, true, 12, L"blinky.hex", false, false, 3, 7, 9, false },
    { "a name outside the code page comes back short", true, false, -1,
      L"\u0416\u0443\u0440\u043d\u0430\u043b.hex", false, false, 3, 1, 0, false },
};

DWORD WINAPI Drive(void* param)
{
    const Script* script = (const Script*)param;
    HWND dialog = WaitForDialog(GetCurrentProcessId(), 0, e2e::WaitBound(), 0);
    if (!dialog)
        return 0;
    DWORD enabled = IsWindowEnabled(GetDlgItem(dialog, 4392)) ? 2 : 1;
    if (script->toggleBoxes) {
        ClickControl(dialog, 4390);
        ClickControl(dialog, 4391);
    }
    if (script->fileType >= 0)
        SelectFileType(dialog, script->fileType);
    if (script->accept)
        ChooseFile(dialog, script->file);
    else
        PressButton(dialog, IDCANCEL);
    return enabled;
}

TEST(LoadDebugFileExport, Calls)
{
    auto load = (LoadDebugFileProc)Export(FILEPICK_EXPORT_LOADDEBUGFILE);
    ASSERT_NE(load, nullptr);
    for (size_t i = 0; i < sizeof Calls / sizeof *Calls; ++i) {
        const Script& script = Calls[i];
        SCOPED_TRACE(script.name);
        // A folder per call: the old-style dialog leaves this process's
        // current directory in the last one it showed.
        std::wstring folder = e2e::FreshFolder("Export", (int)i);
        std::wstring file = folder + L"\\" + script.file;
        e2e::WriteFileBytes(file, "x");
        HANDLE driver = CreateThread(0, 0, Drive, (void*)&script, 0, 0);
        VENDORFORMAT format = 3;
        char fileName[300] = "untouched";
        int startupSkip = 7, symbolOnly = 9;
        char options[] = "";
        int result = load(0, 0, format, fileName, startupSkip, symbolOnly,
                          script.options ? options : nullptr, e2e::Ansi(folder).c_str());
        DWORD enabled = 0;
        EXPECT_EQ(WaitForSingleObject(driver, e2e::WaitBound()), WAIT_OBJECT_0);
        GetExitCodeThread(driver, &enabled);
        CloseHandle(driver);
        EXPECT_EQ(enabled, script.optionsEnabled ? 2u : 1u) << "Options... (0: no dialog)";
        EXPECT_EQ(result != 0, script.accept);
        EXPECT_EQ(format, script.format);
        EXPECT_EQ(startupSkip, script.startupSkip);
        EXPECT_EQ(symbolOnly, script.symbolOnly);
        std::string want = !script.accept ? "" : script.fullPathBack ? e2e::Ansi(file)
                                                                     : e2e::ShortPathOf(file);
        EXPECT_STRCASEEQ(fileName, want.c_str());
    }
}

}  // namespace
