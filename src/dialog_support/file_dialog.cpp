#include "dialog_support/file_dialog.h"

#include <stdio.h>
#include <string.h>

#include "dialog_support/chosen_file.h"
#include "dialog_support/dialog_services.h"
#include "dialog_support/filter.h"

static const wchar_t DefaultExtension[] = L"*";

OPENFILENAMEW DialogRecord;

void ResetDialogRecord()
{
    memset(&DialogRecord, 0, sizeof DialogRecord);
    DialogRecord.lStructSize = DialogRecordSize;
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
    int result = save ? ShowSaveDialog(&DialogRecord) : ShowOpenDialog(&DialogRecord);
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
    DWORD code = DialogErrorCode();
    if (code == 0)
        return;  // cancelled or closed by the user
    char text[152];
    FormatCode(text, "GetOpenFileName returned Error #%ld", (long)code);
    wchar_t wide[152];
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 152);
    ShowStopMessage(owner, wide, L"WARNING");
}

void ShowWarning(HWND owner, const wchar_t* format, const wchar_t* first,
                 const wchar_t* second)
{
    wchar_t text[2048];
    _snwprintf(text, 2048, format, first, second);
    text[2047] = 0;
    ShowStopMessage(owner, text, L"WARNING");
}

void SystemErrorText(int code, wchar_t* text, int capacity)
{
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  0, (DWORD)code, 0, text, (DWORD)capacity, 0);
    if (!length)
        length = (DWORD)_snwprintf(text, (size_t)capacity, L"Error %d.", code);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n'))
        text[--length] = 0;
}
