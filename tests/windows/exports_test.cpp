// filepick.exe loaded as a module by a host: its named exports and their
// calling convention, its dialog template, and its debug-file dialog called
// from the host's own thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debug_file/debug_file.h"
#include "driver/program_module.h"
#include "support/e2e.h"

namespace {

HMODULE Program()
{
    static HMODULE module = [] {
        wchar_t path[MAX_PATH];
        PathBesideSelf(L"filepick.exe", path, MAX_PATH);
        return LoadProgramAsModule(path);
    }();
    return module;
}

void* Export(const char* name) { return (void*)GetProcAddress(Program(), name); }

// Calls function with the arguments as a host calls a __stdcall routine and
// returns how far the stack pointer moved: 0 when the routine took its
// arguments off the stack itself, as __stdcall does.
int StackDrift(void* function, const std::vector<int>& arguments, int* result)
{
    int drift;
    __asm__ volatile("mov %%esp, %%esi\n\t"
                     "1: push -4(%%edi, %%ecx, 4)\n\t"
                     "loop 1b\n\t"
                     "call *%%eax\n\t"
                     "mov %%esp, %%ecx\n\t"
                     "sub %%esi, %%ecx\n\t"
                     "mov %%esi, %%esp\n\t"
                     : "=a"(*result), "=c"(drift)
                     : "0"(function), "1"(arguments.size()), "D"(arguments.data())
                     : "esi", "edx", "memory", "cc");
    return drift;
}

TEST(Exports, NamesConventionAndConversions)
{
    ASSERT_NE(Program(), nullptr);
    EXPECT_EQ(Export("GetVendorIndex"), nullptr) << "only the host's names";
    // The table is tested natively; these reach it through the exports.
    const struct { const char* name; std::vector<int> arguments; int result; } calls[] = {
        { FILEPICK_EXPORT_GETVENDORINDEX, { 7 }, 11 },
        { FILEPICK_EXPORT_GETVENDORINDEX, { 9 }, 0 },
        { FILEPICK_EXPORT_SETINDXVEND, { 13 }, 8 },
        { FILEPICK_EXPORT_SETINDXVEND, { 15 }, 7 },
        { FILEPICK_EXPORT_LOADFILEHOOK, { 0, 0, 0, 0 }, 0 },  // message 0: nothing to do
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(call.name);
        void* function = Export(call.name);
        ASSERT_NE(function, nullptr);
        int result = -1;
        EXPECT_EQ(StackDrift(function, call.arguments, &result), 0) << "not __stdcall";
        EXPECT_EQ(result, call.result);
    }
}

// The template is part of the host's contract: a host's own dialog code
// relies on its controls, so its bytes never change. Size and FNV-1a hash
// of the resource as built from resources/loaddialog.rc.
TEST(LoadDialogTemplate, BytesNeverChange)
{
    ASSERT_NE(Program(), nullptr);
    EXPECT_NE(FindResourceExA(Program(), (LPCSTR)RT_DIALOG, "LOADDIALOG",
                              MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)), nullptr)
        << "language neutral";
    HRSRC found = FindResourceA(Program(), "LoadDialog", (LPCSTR)RT_DIALOG);
    ASSERT_NE(found, nullptr) << "found by the mixed-case name";
    const unsigned char* bytes = (const unsigned char*)LockResource(LoadResource(Program(), found));
    DWORD size = SizeofResource(Program(), found), hash = 2166136261u;
    for (DWORD i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    EXPECT_EQ(size, 696u);
    EXPECT_EQ(hash, 0xAFB2BB95u);
}

// The exported dialog called from this thread, driven from a second one;
// cancelling, and names outside the code page, are host companion rows.
struct Driving {
    std::wstring steps;
    int optionsEnabled = -1;
};

DWORD WINAPI Drive(void* param)
{
    Driving* driving = (Driving*)param;
    PickerSession session = { GetCurrentProcessId(), 0, e2e::WaitBound(), 0, 0 };
    if (!SessionDialog(&session))
        return 0;
    driving->optionsEnabled = IsWindowEnabled(GetDlgItem(session.dialog, 4392)) != 0;
    wchar_t failed[MAX_PATH];
    if (RunSteps(&session, driving->steps.c_str(), failed, MAX_PATH))
        return 1;
    // Whatever is left (a message box, say) would hold the call forever.
    for (HWND window; (window = WaitForDialog(GetCurrentProcessId(), 0, 2000, 0));)
        PressButton(window, IDCANCEL);
    return 0;
}

TEST(LoadDebugFileExport, AcceptFillsTheCallersWords)
{
    void* load = Export(FILEPICK_EXPORT_LOADDEBUGFILE);
    ASSERT_NE(load, nullptr);
    // A folder of its own: the old-style dialog leaves this process's
    // current directory in the last one it showed.
    std::wstring dir = e2e::FreshFolder("Export", 0);
    Driving driving = { L"click 4390;click 4391;type 12;pick " + dir + L"\\blinky.c" };
    HANDLE driver = CreateThread(0, 0, Drive, &driving, 0, 0);
    VENDORFORMAT format = 3;
    char fileName[300] = "untouched";
    int startupSkip = 7, symbolOnly = 9, result = -1;
    char options[] = "";
    std::string folder = e2e::Ansi(dir);
    EXPECT_EQ(StackDrift(load, { 0, 0, (int)&format, (int)fileName, (int)&startupSkip,
                                 (int)&symbolOnly, (int)options, (int)folder.c_str() }, &result), 0)
        << "not __stdcall";
    DWORD driven = 0;
    EXPECT_EQ(WaitForSingleObject(driver, e2e::WaitBound()), WAIT_OBJECT_0);
    GetExitCodeThread(driver, &driven);
    CloseHandle(driver);
    EXPECT_TRUE(driven) << "the dialog was not driven";
    EXPECT_EQ(driving.optionsEnabled, 1) << "Options... with a non-null options";
    EXPECT_NE(result, 0);
    EXPECT_EQ(format, 8);
    EXPECT_EQ(startupSkip, 0);
    EXPECT_EQ(symbolOnly, 1);
    EXPECT_STRCASEEQ(fileName, (folder + "\\blinky.c").c_str());
}

}  // namespace
