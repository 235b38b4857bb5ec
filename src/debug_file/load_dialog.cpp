// The old-style file-open dialog for debug files, built from the program's
// own template: a vendor format through the file-type list and two load
// options as check boxes, which the hook keeps in step with two words.
#include "debug_file/load_dialog.h"

#include <string.h>

#include <type_traits>

#include "debug_file/vendor_table.h"
#include "dialog_support/chosen_file.h"
#include "dialog_support/code_page.h"
#include "dialog_support/file_dialog.h"
#include "dialog_support/host_path.h"
#include "exchange/layouts.h"

// The linker's symbol for the start of this image, wherever it was loaded:
// the module that holds the template, whether the program was started or
// a host only loaded it.
extern "C" IMAGE_DOS_HEADER __ImageBase;

int SymbolOnly = 0;
int StartupSkip = 1;
UINT_PTR OptionsEnabled = 0;

static wchar_t VendorFilterWork[1024];

enum { LoadMaxFile = 255 };

// Shows the dialog until the user accepts a disk file or gives up; the
// chosen file's full path goes to fileName (LoadMaxFile characters).
// Returns the dialog's result and the filter index it was left on.
static int ShowLoadDialog(HWND owner, int* filterIndex, wchar_t* fileName, const wchar_t* initialDir)
{
    ResetDialogRecord();
    memset(fileName, 0, LoadMaxFile * sizeof *fileName);
    PrepareWideFilter(VendorFilter, VendorFilterWork, 1024);
    DialogRecord.hwndOwner = owner;
    DialogRecord.hInstance = (HINSTANCE)&__ImageBase;
    DialogRecord.lpstrFilter = VendorFilterWork;
    DialogRecord.nFilterIndex = (DWORD)*filterIndex;
    DialogRecord.lpstrFile = fileName;
    DialogRecord.nMaxFile = LoadMaxFile;
    DialogRecord.lpstrInitialDir = StartFolder(initialDir);
    DialogRecord.lpstrTitle = L"File Open";  // replaces the template's caption
    DialogRecord.Flags = LoadFileFlags;
    DialogRecord.lpfnHook = (LPOFNHOOKPROC)LoadFileHook;
    DialogRecord.lpTemplateName = L"LoadDialog";
    int result = ShowFileDialog(owner, 0);
    if (result)
        *filterIndex = (int)DialogRecord.nFilterIndex;
    return result;
}

// The exports have the public header's types.
static_assert(std::is_same<decltype(&GetVendorIndex), FilepickGetVendorIndex>::value,
              "GetVendorIndex");
static_assert(std::is_same<decltype(&SetIndxVend), FilepickSetIndxVend>::value, "SetIndxVend");
static_assert(std::is_same<decltype(&LoadDebugFile), FilepickLoadDebugFile>::value,
              "LoadDebugFile");
static_assert(std::is_same<decltype(&LoadFileHook), FilepickLoadFileHook>::value, "LoadFileHook");

extern "C" int __stdcall LoadDebugFile(void*, HWND owner, VENDORFORMAT* format, char* fileName,
                                       int* startupSkip, int* symbolOnly, char* options,
                                       const char* initialDir)
{
    // A host that passed something else than a window (its module's
    // handle, say) gets a dialog without an owner: the platform's dialog
    // would show none, and never return.
    if (owner && !IsWindow(owner))
        owner = 0;
    // Every dialog opens with "Symbol only" clear and "Startup skip" set,
    // whatever the caller's words hold.
    SymbolOnly = 0;
    StartupSkip = 1;
    OptionsEnabled = (UINT_PTR)options;
    memset(fileName, 0, LoadMaxFile);
    wchar_t folder[PathBlockSize];
    AnsiToWide(initialDir ? initialDir : "", folder, PathBlockSize);

    int filterIndex = GetVendorIndex(*format);
    wchar_t chosen[LoadMaxFile];
    // The caller gets an ANSI path that opens the chosen file, or nothing.
    // A name that is no existing file (Wine's old-style dialog lets one
    // through, and cuts a path too long for it) is told, and the dialog
    // shown again.
    char path[LoadMaxFile];
    int result;
    HostPathResult ready;
    do {
        result = ShowLoadDialog(owner, &filterIndex, chosen, folder);
        if (!result)
            return 0;
        ready = HostPathFor(PathForCaller, chosen, path, LoadMaxFile);
        TellWhyNotReady(owner, ready, chosen);
    } while (ready == HostPathMissing);
    if (ready != HostPathReady)
        return 0;
    memcpy(fileName, path, strlen(path) + 1);
    *format = SetIndxVend(filterIndex);
    *startupSkip = StartupSkip;
    *symbolOnly = SymbolOnly;
    return result;
}

static int IsChecked(HWND dialog, int box)
{
    return SendDlgItemMessageW(dialog, box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Returns 0 in every case, so the dialog's default processing always goes on.
extern "C" unsigned __stdcall LoadFileHook(void* dialogWindow, unsigned message, unsigned wParam,
                                           long)
{
    HWND dialog = (HWND)dialogWindow;
    if (message == WM_INITDIALOG) {
        SendDlgItemMessageW(dialog, StartupSkipBox, BM_SETCHECK, StartupSkip, 0);
        SendDlgItemMessageW(dialog, SymbolOnlyBox, BM_SETCHECK, SymbolOnly, 0);
        if (!OptionsEnabled)
            EnableWindow(GetDlgItem(dialog, OptionsButton), FALSE);
    } else if (message == WM_COMMAND && (wParam == SymbolOnlyBox || wParam == StartupSkipBox)) {
        // A click on either box (notification code 0): refresh both words.
        SymbolOnly = IsChecked(dialog, SymbolOnlyBox);
        StartupSkip = IsChecked(dialog, StartupSkipBox);
    }
    return 0;
}
