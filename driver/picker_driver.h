// Drives filepick.exe from outside, as a user would: start it, find its
// dialog, type a file name, pick a file type, click boxes and buttons,
// answer a prompt, wait for it to end. Every wait is bounded. Shared by the
// host companion (--choose) and the Windows end-to-end tests.
#ifndef FILEPICK_PICKER_DRIVER_H
#define FILEPICK_PICKER_DRIVER_H

#include <windows.h>

// Whether this runs under Wine (ntdll exports wine_get_version), which
// lacks some of what Windows does: UAC, for one.
int RunsUnderWine();

// Full path of the program name (filepick.exe, say) beside the running one.
void PathBesideSelf(const wchar_t* name, wchar_t* path, int capacity);

// Starts commandLine (its program named by applicationPath). 1 on success.
int StartPicker(const wchar_t* applicationPath, const wchar_t* commandLine,
                PROCESS_INFORMATION* process);

// The first visible dialog window (class #32770) of the process other than
// exclude, once it exists and the process waits for input; 0 on timeout or
// when the process ends first. A null process handle looks for a dialog of
// another thread of the calling process.
HWND WaitForDialog(DWORD processId, HANDLE process, DWORD timeoutMs, HWND exclude);

// Waits for the process to end; 1 and its exit code when it did in time.
int WaitForExit(HANDLE process, DWORD timeoutMs, DWORD* exitCode);

// Ends a process that is still running, by its handle, and waits for it.
void EndPicker(PROCESS_INFORMATION* process);

// A control of a dialog by its id: a direct child, or else wherever it
// stands among the dialog's descendants (a visible one first): Windows' Common Item Dialog, which
// the platform shows for the dialogs without a template, does not keep its
// file-name box and file-type list as direct children. 0 when none.
HWND FindControl(HWND window, int id);

// The file-name box: the old-style edit, or the Explorer-style combo box
// (its edit, where it has one).
HWND FileNameBox(HWND dialog);

// Types text into the dialog's file-name box. 1 on success.
int SetFileName(HWND dialog, const wchar_t* text);

// Selects item index (0-based) of the file-type list, as a user would:
// the list's own parent is told of the change.
int SelectFileType(HWND dialog, int index);

// Clicks a button (or check box) of the dialog and waits until handled;
// 0 for one that is not there or greyed out.
int ClickControl(HWND dialog, int id);

// Presses a push button (IDOK, IDCANCEL, IDYES, IDNO) without waiting for
// what it starts: the dialog may open a prompt or end.
void PressButton(HWND window, int id);

// Types the path into the dialog and presses OK.
int ChooseFile(HWND dialog, const wchar_t* path);

// Texts of a window, of the file-type list's items (0 past the last) and
// of a message box's message, as wide text (the ANSI forms arrive cut
// across processes).
int WindowText(HWND window, wchar_t* text, int capacity);
int ComboItemText(HWND dialog, int id, int index, wchar_t* text, int capacity);
int MessageBoxText(HWND box, wchar_t* text, int capacity);

// A picker driven through its dialogs, one step at a time.
struct PickerSession {
    DWORD processId;
    HANDLE process;  // 0: a dialog of this process, shown by another thread
    DWORD waitMs;    // the bound of every wait
    HWND dialog;     // the dialog the steps act on; found when first needed
    HWND closed;     // a window that went, not to be taken for the next one
};

// Runs steps separated by ';', as a user would: "type N" (select file type
// N, 0 = first), "click ID" (ID a number, or one of the debug-file dialog's
// symbol-only, startup-skip, options), "name TEXT" (type it into the name
// box, then tab on to OK), "pick PATH" (type it, press OK), "answer ID"
// (press ok, yes, no, cancel or the button with id ID in a prompt over the
// dialog, wait till it goes), "warn TEXT" (a
// message box captioned WARNING that says TEXT: press OK), "next" (wait till
// the dialog goes; what follows acts on the next one), "cancel". 1 when
// every step was done; else 0, with the failed step in failed.
int RunSteps(PickerSession* session, const wchar_t* steps, wchar_t* failed, int capacity);

// The session's dialog, waited for if it is not there yet (0 on timeout).
HWND SessionDialog(PickerSession* session);

// What the process shows in front, for a user who asks why it has not
// ended: 'the dialog "TITLE"', 'a box "CAPTION" saying "TEXT"', or 0 when
// it shows no dialog. OpenWindowCapacity characters hold any of them.
enum { OpenWindowCapacity = 512 };
int DescribeOpenWindow(DWORD processId, wchar_t* text, int capacity);

// Whether window is one of the picker's message boxes (captioned WARNING).
int IsWarning(HWND window);

#endif
