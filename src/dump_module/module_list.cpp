// DoModuleListFile: the host asks for a C source or a listing, starting in a
// directory it names, and gets the chosen file's short path back.
#include "dump_module/dump_module.h"

#include "dialog_support/dialog_services.h"
#include "dialog_support/file_dialog.h"
#include "dialog_support/filter.h"
#include "exchange/layouts.h"
#include "exchange/replies.h"

static const char ModuleListFilter[] =
    "C file (*.c)|*.C|List file (*.lst)|*.LST|All Files (*.*)|*.*|";

int ModuleListDialog(void*, HWND owner, char* fileName, const char* initialDir)
{
    char filter[256];
    ResetDialogRecord();
    PrepareFilter(ModuleListFilter, filter, sizeof filter);
    DialogRecord.hwndOwner = owner;
    DialogRecord.lpstrFilter = filter;
    DialogRecord.nFilterIndex = 1;
    DialogRecord.lpstrFile = fileName;
    DialogRecord.nMaxFile = PathBlockSize;
    DialogRecord.lpstrInitialDir = initialDir;
    DialogRecord.lpstrTitle = "Module List Files";
    DialogRecord.Flags = ExistingFileFlags;
    int result = ShowOpenDialog(&DialogRecord);
    if (!result)
        ReportDialogError(owner);
    return result;
}

int DoModuleListFile()
{
    // The initial directory lives on the stack with the other two paths: a
    // heap buffer would add a way to fail and nothing else.
    char initialDir[PathBlockSize];
    char longPath[PathBlockSize] = "";
    char shortPath[PathBlockSize] = "";
    if (!ReadPathRequest(initialDir))
        return 0;
    if (!ModuleListDialog(0, 0, longPath, initialDir) || !longPath[0])
        return 0;
    if (!ConvertToShortPath(longPath, shortPath, sizeof shortPath))
        return 0;
    return WritePathReply(shortPath);
}
