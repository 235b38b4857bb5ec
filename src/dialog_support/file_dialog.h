// What every file dialog of the program shares: the one dialog record, its
// filter lists, and the report of dialog errors.
#ifndef FILEPICK_FILE_DIALOG_H
#define FILEPICK_FILE_DIALOG_H

#include <windows.h>
#include <commdlg.h>

enum {
    LoadFileFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK |
                    OFN_SHOWHELP | OFN_HIDEREADONLY,
    ExistingFileFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_SHOWHELP | OFN_HIDEREADONLY,
    AnyFileFlags = OFN_OVERWRITEPROMPT | OFN_SHOWHELP | OFN_HIDEREADONLY
};

// The process-wide record all dialogs use, one at a time, in its form
// without the Windows 2000 tail. The dialogs run in wide characters, so
// that a file of any name can be chosen.
extern OPENFILENAMEW DialogRecord;

// Zeroes the record and sets its size and default extension, so nothing
// carries over from an earlier dialog.
void ResetDialogRecord();

// Prepares a filter text (see filter.h) as the dialog's wide filter list,
// into work of workSize characters.
void PrepareWideFilter(const char* source, wchar_t* work, int workSize);

// Shows the dialog the record describes (the save dialog when save) until
// the user accepts a disk file or a new name (the dialog's non-zero
// result), or gives up, or the dialog fails (0, reported). A device name
// is told, and the dialog shown again with an empty name.
int ShowFileDialog(HWND owner, int save);

// After a dialog returned without a file: nothing when the user cancelled,
// otherwise a stop-icon message box with the dialog's error code.
void ReportDialogError(HWND owner);

#endif
