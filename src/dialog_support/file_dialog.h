// What every file dialog of the program shares: the one dialog record, the
// report of dialog errors and the short-path conversion.
#ifndef FILEPICK_FILE_DIALOG_H
#define FILEPICK_FILE_DIALOG_H

#include <windows.h>
#include <commdlg.h>

// Default extension and record size every dialog passes.
extern const char DefaultExtension[];
enum { DialogRecordSize = 76 };  // the OPENFILENAME form without the 2000 tail

enum {
    // OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE |
    // OFN_ENABLEHOOK | OFN_SHOWHELP | OFN_HIDEREADONLY
    LoadFileFlags = 0x1874,
    // OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_SHOWHELP | OFN_HIDEREADONLY
    ExistingFileFlags = 0x1814,
    // OFN_OVERWRITEPROMPT | OFN_SHOWHELP | OFN_HIDEREADONLY
    AnyFileFlags = 0x0016
};

// The process-wide record all dialogs use, one at a time.
extern OPENFILENAMEA DialogRecord;

// Zeroes the record and sets its size and default extension, so nothing
// carries over from an earlier dialog.
void ResetDialogRecord();

// After a dialog returned without a file: nothing when the user cancelled,
// otherwise a stop-icon message box with the dialog's error code.
void ReportDialogError(HWND owner);

// The short (8.3) form of an existing file's path, into shortPath of
// capacity bytes. Its length, or 0 when the file does not exist or the
// short form does not fit.
int ConvertToShortPath(const char* longPath, char* shortPath, int capacity);

#endif
