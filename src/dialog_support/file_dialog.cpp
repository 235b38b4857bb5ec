#include "dialog_support/file_dialog.h"

#include <string.h>

#include "dialog_support/chosen_file.h"
#include "dialog_support/filter.h"
#include "dialog_support/warning.h"

static const wchar_t DefaultExtension[] = L"*";

OPENFILENAMEW DialogRecord;

void ResetDialogRecord()
{
    memset(&DialogRecord, 0, sizeof DialogRecord);
    DialogRecord.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    DialogRecord.lpstrDefExt = DefaultExtension;
}

void PrepareWideFilter(const char* source, wchar_t* work, int workSize)
{
    char list[1024];
    int room = workSize < (int)sizeof list ? workSize : (int)sizeof list;
    int length = PrepareFilter(source, list, room);
    // The filter texts are ASCII: each byte is its character. The list ends
    // in two NULs.
    for (int i = 0; i < length + 2 && i < room; ++i)
        work[i] = (unsigned char)list[i];
}

int ShowFileDialog(HWND owner, int save)
{
    int result = save ? GetSaveFileNameW(&DialogRecord) : GetOpenFileNameW(&DialogRecord);
    if (!result) {
        ReportDialogError(owner);
        return 0;
    }
    if (IsDiskFileName(DialogRecord.lpstrFile))
        return result;
    ReportNotAFile(owner, DialogRecord.lpstrFile);
    return -1;
}

void ReportDialogError(HWND owner)
{
    DWORD code = CommDlgExtendedError();
    if (code == 0)
        return;  // cancelled or closed by the user
    ShowWarning(owner, L"GetOpenFileName returned Error #%ld", (long)code);
}
