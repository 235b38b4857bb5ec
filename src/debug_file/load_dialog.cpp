// The old-style file-open dialog for debug files, built from the program's
// own template: a vendor format through the file-type list and two load
// options as check boxes, which the hook keeps in step with two words.
#include "debug_file/load_dialog.h"

#include <string.h>

#include "debug_file/vendor_table.h"
#include "dialog_support/dialog_services.h"
#include "dialog_support/file_dialog.h"
#include "dialog_support/filter.h"
#include "entry/instance.h"

// The linker's symbol for the start of this image, wherever it was loaded.
extern "C" IMAGE_DOS_HEADER __ImageBase;

int SymbolOnly = 0;
int StartupSkip = 1;
UINT_PTR OptionsEnabled = 0;

static char VendorFilterWork[1024];

enum { LoadMaxFile = 255 };

HINSTANCE TemplateInstance()
{
    return SavedInstance ? SavedInstance : (HINSTANCE)&__ImageBase;
}

extern "C" int __stdcall LoadDebugFile(void*, void* owner, VENDORFORMAT& format,
                                       char* fileName, int& startupSkip,
                                       int& symbolOnly, char* options,
                                       const char* initialDir)
{
    // Every dialog opens with "Symbol only" clear and "Startup skip" set,
    // whatever the caller's words hold.
    SymbolOnly = 0;
    StartupSkip = 1;
    OptionsEnabled = (UINT_PTR)options;
    ResetDialogRecord();
    memset(fileName, 0, LoadMaxFile);
    PrepareFilter(VendorFilter, VendorFilterWork, sizeof VendorFilterWork);

    DialogRecord.hwndOwner = (HWND)owner;
    DialogRecord.hInstance = TemplateInstance();
    DialogRecord.lpstrFilter = VendorFilterWork;
    DialogRecord.nFilterIndex = GetVendorIndex(format);
    DialogRecord.lpstrFile = fileName;
    DialogRecord.nMaxFile = LoadMaxFile;
    DialogRecord.lpstrInitialDir = initialDir;
    DialogRecord.lpstrTitle = "File Open";  // replaces the template's caption
    DialogRecord.Flags = LoadFileFlags;
    DialogRecord.lpfnHook = (LPOFNHOOKPROC)LoadFileHook;
    DialogRecord.lpTemplateName = "LoadDialog";

    int result = ShowOpenDialog(&DialogRecord);
    if (!result) {
        ReportDialogError((HWND)owner);
        return 0;
    }
    format = SetIndxVend((int)DialogRecord.nFilterIndex);
    startupSkip = StartupSkip;
    symbolOnly = SymbolOnly;
    return result;
}

static int IsChecked(HWND dialog, int box)
{
    return SendItemMessage(dialog, box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Returns 0 in every case, so the dialog's default processing always goes on.
extern "C" unsigned __stdcall LoadFileHook(void* dialogWindow, unsigned message,
                                           unsigned wParam, long)
{
    HWND dialog = (HWND)dialogWindow;
    if (message == WM_INITDIALOG) {
        SendItemMessage(dialog, StartupSkipBox, BM_SETCHECK, StartupSkip, 0);
        SendItemMessage(dialog, SymbolOnlyBox, BM_SETCHECK, SymbolOnly, 0);
        if (!OptionsEnabled)
            EnableControl(DialogItem(dialog, OptionsButton), FALSE);
    } else if (message == WM_COMMAND &&
               (wParam == SymbolOnlyBox || wParam == StartupSkipBox)) {
        // A click on either box (notification code 0): refresh both words.
        SymbolOnly = IsChecked(dialog, SymbolOnlyBox);
        StartupSkip = IsChecked(dialog, StartupSkipBox);
    }
    return 0;
}
