// The platform's side of what the dialogs are given and what they return:
// start folders, device names, and the path the host gets for a file.
#ifndef FILEPICK_CHOSEN_FILE_H
#define FILEPICK_CHOSEN_FILE_H

#include <windows.h>

// requested when it names an existing folder a dialog can start in (not
// too long, not a device); its short path, for one too long, where that
// fits; otherwise 0: the dialog starts where it would without one. Some
// start folders crash the platform's dialogs.
const wchar_t* StartFolder(const wchar_t* requested);

// Whether a chosen name is a disk file, or a new name that will be one;
// not a device such as CON, NUL, COM1 or C:\x\aux.hex. When it is not, the
// user is told and chooses again.
int IsDiskFileName(const wchar_t* path);
void ReportNotAFile(HWND owner, const wchar_t* path);

// The host's path for a file (dialog_support/host_path.h), with the
// platform's services: a HostPathResult, and nobody told.
int HostPathOf(const wchar_t* longPath, char* hostPath, int capacity);

// The host's path for a chosen file, likewise, after telling the user why
// it is not ready (the file does not exist, or cannot be passed on): the
// HostPathResult.
int ChosenPathFor(HWND owner, const wchar_t* longPath, char* hostPath, int capacity);

// The same: 1 when the path is ready, else 0.
int ReplyPathFor(HWND owner, const wchar_t* longPath, char* hostPath, int capacity);

// The path LoadDebugFile gives its caller (host_path.h), for an existing
// file only, after telling the user why it is not ready: the
// HostPathResult.
int CallerPathFor(HWND owner, const wchar_t* longPath, char* hostPath, int capacity);

#endif
