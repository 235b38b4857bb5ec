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
    // The dialog sets result bits in Flags: each showing starts from the
    // caller's. The file type the user picked stays in nFilterIndex.
    const DWORD flags = DialogRecord.Flags;
    for (;;) {
        int result = save ? GetSaveFileNameW(&DialogRecord) : GetOpenFileNameW(&DialogRecord);
        if (!result) {
            ReportDialogError(owner);
            return 0;
        }
        if (IsDiskFileName(DialogRecord.lpstrFile))
            return result;
        ReportNotAFile(owner, DialogRecord.lpstrFile);
        DialogRecord.Flags = flags;
        memset(DialogRecord.lpstrFile, 0, DialogRecord.nMaxFile * sizeof *DialogRecord.lpstrFile);
    }
}

void ReportDialogError(HWND owner)
{
    DWORD code = CommDlgExtendedError();
    if (code == 0)
        return;  // cancelled or closed by the user
    ShowWarning(owner, L"GetOpenFileName returned Error #%ld", (long)code);
}
