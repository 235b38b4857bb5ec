#include "dialog_support/file_dialog.h"

#include "dialog_support/dialog_services.h"

#include <string.h>

const char DefaultExtension[] = "*";

OPENFILENAMEA DialogRecord;

void ResetDialogRecord()
{
    memset(&DialogRecord, 0, sizeof DialogRecord);
    DialogRecord.lStructSize = DialogRecordSize;
    DialogRecord.lpstrDefExt = DefaultExtension;
}

void ReportDialogError(HWND owner)
{
    DWORD code = DialogErrorCode();
    if (code == 0)
        return;  // cancelled or closed by the user
    char text[152];
    FormatCode(text, "GetOpenFileName returned Error #%ld", (long)code);
    ShowStopMessage(owner, text, "WARNING");
}

int ConvertToShortPath(const char* longPath, char* shortPath, int capacity)
{
    DWORD length = GetShortPathNameA(longPath, shortPath, (DWORD)capacity);
    // A result at or above the capacity is the size the short form would
    // need: nothing was written, so it is a failure, not a path.
    if (length == 0 || length >= (DWORD)capacity)
        return 0;
    return (int)length;
}
