// DoModuleListFile: the host asks for a C source or a listing, starting in a
// directory it names, and gets the chosen file's short path back.
#include "dump_module/dump_module.h"

#include "dialog_support/chosen_file.h"
#include "dialog_support/code_page.h"
#include "dialog_support/file_dialog.h"
#include "dialog_support/replies.h"
#include "exchange/layouts.h"

static const char ModuleListFilter[] =
    "C file (*.c)|*.C|List file (*.lst)|*.LST|All Files (*.*)|*.*|";

int ModuleListDialog(void*, HWND owner, wchar_t* fileName, const wchar_t* initialDir)
{
    wchar_t filter[256];
    ResetDialogRecord();
    PrepareWideFilter(ModuleListFilter, filter, 256);
    DialogRecord.hwndOwner = owner;
    DialogRecord.lpstrFilter = filter;
    DialogRecord.nFilterIndex = 1;
    DialogRecord.lpstrFile = fileName;
    DialogRecord.nMaxFile = PathBlockSize;
    DialogRecord.lpstrInitialDir = StartFolder(initialDir);
    DialogRecord.lpstrTitle = L"Module List Files";
    DialogRecord.Flags = ExistingFileFlags;
    return ShowFileDialog(owner, 0);
}

int DoModuleListFile()
{
    // The initial directory lives on the stack with the other two paths: a
    // heap buffer would add a way to fail and nothing else.
    char request[PathBlockSize];
    wchar_t initialDir[PathBlockSize];
    wchar_t longPath[PathBlockSize] = L"";
    if (!ReadPathRequest(request))
        return 0;
    AnsiToWide(request, initialDir, PathBlockSize);
    if (!ModuleListDialog(0, 0, longPath, initialDir) || !longPath[0])
        return 0;
    return ReplyWithChosenFile(longPath);
}
