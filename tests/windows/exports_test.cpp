// filepick.exe loaded as a module by a host: its named exports and their
// calling convention, and its dialog template. (Its debug-file dialog called
// from a host's thread is a host companion row.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debug_file/debug_file.h"
#include "driver/picker_driver.h"
#include "driver/program_module.h"

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

// One call through an export, on a thread of its own: a call that never
// returns (a dialog that never shows) fails the row in bounded time, and the
// thread ends with the test program.
struct ExportCall {
    void* function;
    std::vector<int> arguments;
    int result, drift;
};

DWORD WINAPI MakeCall(void* param)
{
    ExportCall* call = (ExportCall*)param;
    call->drift = StackDrift(call->function, call->arguments, &call->result);
    return 0;
}

TEST(Exports, NamesConventionAndConversions)
{
    ASSERT_NE(Program(), nullptr);
    // The program starts with KERNEL32 and the C runtime alone: the dialog,
    // window and security libraries are delay-imported, loaded when first
    // called, so a run without a dialog starts as fast as can be.
    BYTE* base = (BYTE*)Program();
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::string names;
    for (IMAGE_IMPORT_DESCRIPTOR* import = (IMAGE_IMPORT_DESCRIPTOR*)(base + imports.VirtualAddress);
         imports.Size && import->Name; ++import)
        names += std::string(names.empty() ? "" : " ") + (const char*)(base + import->Name);
    EXPECT_EQ(names, "KERNEL32.dll msvcrt.dll");
    int format = 0, skip = -1, symbol = -1;
    char fileName[256];
    // One call each, as a host makes it (the table is tested natively).
    // The dialog's owner is not a window but the module's handle, as a host
    // passed it: the dialog shows all the same, and is cancelled.
    const struct { const char* name; std::vector<int> arguments; int result; bool dialog; } calls[] = {
        { FILEPICK_EXPORT_GET_VENDOR_INDEX, { 7 }, 11, false },
        { FILEPICK_EXPORT_SET_INDX_VEND, { 15 }, 7, false },
        { FILEPICK_EXPORT_LOAD_FILE_HOOK, { 0, 0, 0, 0 }, 0, false },  // message 0: nothing to do
        { FILEPICK_EXPORT_LOAD_DEBUG_FILE,
          { 0, (int)(INT_PTR)Program(), (int)(INT_PTR)&format, (int)(INT_PTR)fileName, (int)(INT_PTR)&skip,
            (int)(INT_PTR)&symbol, 0, 0 },
          0, true },
    };
    for (const auto& row : calls) {
        SCOPED_TRACE(row.name);
        ExportCall* call = new ExportCall{ Export(row.name), row.arguments, -1, -1 };  // may outlive the row
        ASSERT_NE(call->function, nullptr);
        HANDLE thread = CreateThread(0, 0, MakeCall, call, 0, 0);
        if (row.dialog) {
            HWND dialog = WaitForDialog(GetCurrentProcessId(), 0, 10000, 0);
            ASSERT_NE(dialog, nullptr) << "no dialog within 10 s";
            PressButton(dialog, IDCANCEL);
        }
        ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0) << "the call did not return";
        CloseHandle(thread);
        EXPECT_EQ(call->drift, 0) << "not __stdcall";
        EXPECT_EQ(call->result, row.result);
        delete call;
    }
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages)
{
    ((std::vector<WORD>*)languages)->push_back(language);
    return TRUE;
}

// The template is part of the host's contract: a host's own dialog code
// relies on its controls, so its bytes never change. Size and FNV-1a hash
// of the resource as built from resources/loaddialog.rc.
TEST(LoadDialogTemplate, BytesNeverChange)
{
    ASSERT_NE(Program(), nullptr);
    std::vector<WORD> languages;
    EnumResourceLanguagesA(Program(), (LPCSTR)RT_DIALOG, "LOADDIALOG", AddLanguage,
                           (LONG_PTR)&languages);
    EXPECT_EQ(languages, std::vector<WORD>{ LANG_NEUTRAL }) << "language neutral only";
    HRSRC found = FindResourceA(Program(), "LoadDialog", (LPCSTR)RT_DIALOG);
    ASSERT_NE(found, nullptr) << "found by the mixed-case name";
    const unsigned char* bytes = (const unsigned char*)LockResource(LoadResource(Program(), found));
    DWORD size = SizeofResource(Program(), found), hash = 2166136261u;
    for (DWORD i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    EXPECT_EQ(size, 696u);
    EXPECT_EQ(hash, 0xAFB2BB95u);
}

}  // namespace
