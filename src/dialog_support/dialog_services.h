// The thin layer over the platform's dialog services: the common dialog
// library and the few window functions the program calls. Both libraries
// are loaded on first use, so a run that never shows a dialog (an unknown
// verb, a missing request) starts and ends as fast as a program without
// them. Once a dialog runs they are loaded anyway.
#ifndef FILEPICK_DIALOG_SERVICES_H
#define FILEPICK_DIALOG_SERVICES_H

#include <windows.h>
#include <commdlg.h>

// GetOpenFileNameW / GetSaveFileNameW: non-zero when a file was accepted.
BOOL ShowOpenDialog(OPENFILENAMEW* record);
BOOL ShowSaveDialog(OPENFILENAMEW* record);

// CommDlgExtendedError: 0 after a cancel. CDERR_INITIALIZATION when the
// library itself could not be loaded.
DWORD DialogErrorCode();

// SendDlgItemMessageA, GetDlgItem, EnableWindow.
LRESULT SendItemMessage(HWND dialog, int id, UINT message, WPARAM wParam,
                        LPARAM lParam);
HWND DialogItem(HWND dialog, int id);
void EnableControl(HWND control, BOOL enable);

// A stop-icon message box with one OK button (MessageBoxW).
void ShowStopMessage(HWND owner, const wchar_t* text, const wchar_t* caption);

// wsprintfA of format with one long into text (at least 152 bytes).
void FormatCode(char* text, const char* format, long code);

#endif
