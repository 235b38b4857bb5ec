// filepick.exe loaded as a module by a host: its named exports and their
// calling convention, and its dialog template. (Its debug-file dialog called
// from a host's thread is a host companion row.) And the driver in a window
// of the test's own laid out as Windows' Common Item Dialog is.
#include <windows.h>

#include <dlgs.h>
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
    const struct {
        const char* name;
        std::vector<int> arguments;
        int result;
        bool dialog;
    } calls[] = {
        { FILEPICK_EXPORT_GET_VENDOR_INDEX, { 7 }, 11, false },
        { FILEPICK_EXPORT_SET_INDX_VEND, { 15 }, 7, false },
        { FILEPICK_EXPORT_LOAD_FILE_HOOK, { 0, 0, 0, 0 }, 0, false },  // message 0: nothing to do
        { FILEPICK_EXPORT_LOAD_DEBUG_FILE,
          { 0, (int)(INT_PTR)Program(), (int)(INT_PTR)&format, (int)(INT_PTR)fileName,
            (int)(INT_PTR)&skip, (int)(INT_PTR)&symbol, 0, 0 },
          0,
          true },
    };
    for (const auto& row : calls) {
        SCOPED_TRACE(row.name);
        ExportCall* call = new ExportCall { Export(row.name), row.arguments, -1,
                                            -1 };  // may outlive the row
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
    EXPECT_EQ(languages, std::vector<WORD> { LANG_NEUTRAL }) << "language neutral only";
    HRSRC found = FindResourceA(Program(), "LoadDialog", (LPCSTR)RT_DIALOG);
    ASSERT_NE(found, nullptr) << "found by the mixed-case name";
    const unsigned char* bytes = (const unsigned char*)LockResource(LoadResource(Program(), found));
    DWORD size = SizeofResource(Program(), found), hash = 2166136261u;
    for (DWORD i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    EXPECT_EQ(size, 696u);
    EXPECT_EQ(hash, 0xAFB2BB95u);
}

// A dialog whose file-name box (a combo box with its edit), file-type list
// and buttons stand in a pane below the top window, as in Windows' Common
// Item Dialog; the pane counts what its controls tell it.
struct NestedDialog {
    HWND top = 0, pane = 0;
    int selectionChanges = 0, clicks = 0;
    HANDLE ready = CreateEventW(0, TRUE, FALSE, 0);
};

LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    NestedDialog* dialog = (NestedDialog*)GetWindowLongPtrW(window, GWLP_USERDATA);
    if (message == WM_COMMAND && dialog) {
        dialog->selectionChanges += LOWORD(wParam) == cmb1 && HIWORD(wParam) == CBN_SELCHANGE;
        dialog->clicks += LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI ShowNestedDialog(void* param)
{
    NestedDialog* dialog = (NestedDialog*)param;
    WNDCLASSW paneClass = {};
    paneClass.lpfnWndProc = PaneProc;
    paneClass.lpszClassName = L"NestedPane";
    RegisterClassW(&paneClass);
    dialog->top = CreateWindowExW(0, L"#32770", L"Open", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  400, 300, 0, 0, 0, 0);
    dialog->pane = CreateWindowExW(0, L"NestedPane", L"", WS_CHILD | WS_VISIBLE, 0, 0, 380, 260,
                                   dialog->top, 0, 0, 0);
    SetWindowLongPtrW(dialog->pane, GWLP_USERDATA, (LONG_PTR)dialog);
    const struct {
        const wchar_t* className;
        int id;
        DWORD style;
        int y;
    } controls[] = {
        { L"ComboBox", cmb13, CBS_DROPDOWN, 10 },
        { L"ComboBox", cmb1, CBS_DROPDOWNLIST, 40 },
        { L"Button", IDOK, BS_PUSHBUTTON, 200 },
    };
    for (const auto& control : controls)
        CreateWindowExW(0, control.className, L"", WS_CHILD | WS_VISIBLE | control.style, 10,
                        control.y, 200, 100, dialog->pane, (HMENU)(INT_PTR)control.id, 0, 0);
    for (const wchar_t* type : { L"C source", L"Intel Hex" })
        SendDlgItemMessageW(dialog->pane, cmb1, CB_ADDSTRING, 0, (LPARAM)type);
    SetEvent(dialog->ready);
    MSG message;
    while (GetMessageW(&message, 0, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}

TEST(Driver, ControlsBelowTheTopWindow)
{
    NestedDialog* dialog = new NestedDialog;  // the window's thread may outlive the row
    HANDLE thread = CreateThread(0, 0, ShowNestedDialog, dialog, 0, 0);
    ASSERT_EQ(WaitForSingleObject(dialog->ready, 10000), WAIT_OBJECT_0);
    PickerSession session = { GetCurrentProcessId(), 0, 10000, dialog->top, 0 };
    wchar_t failed[64] = L"";
    EXPECT_TRUE(RunSteps(&session, L"name x.c;type 1;click 1", failed, 64))
        << "not done: " << failed;
    wchar_t typed[32] = L"";
    GetWindowTextW(GetDlgItem(dialog->pane, cmb13), typed, 32);
    EXPECT_STREQ(typed, L"x.c");
    EXPECT_EQ(SendDlgItemMessageW(dialog->pane, cmb1, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(dialog->selectionChanges, 1) << "the list's parent was not told";
    EXPECT_EQ(dialog->clicks, 1);
    PostThreadMessageW(GetThreadId(thread), WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
}

}  // namespace
