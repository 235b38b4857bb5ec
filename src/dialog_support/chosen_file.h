// The platform's side of what the dialogs are given and what they return:
// start folders, device names, and the path the host gets for a file.
#ifndef FILEPICK_CHOSEN_FILE_H
#define FILEPICK_CHOSEN_FILE_H

#include <windows.h>

#include "dialog_support/host_path.h"

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

// Which of the host's paths a file gets (dialog_support/host_path.h).
enum PathUse {
    PathForReply,   // the short path the exchange file's reply carries
    PathForCaller,  // the path LoadDebugFile gives its caller; existing files only
};

// The host's path for a file, into hostPath of capacity bytes, with the
// platform's services; nobody is told.
HostPathResult HostPathFor(PathUse use, const wchar_t* longPath, char* hostPath, int capacity);

// Tells the user why the path of the file they chose is not ready (the
// file does not exist, or cannot be passed on); nothing when it is.
void TellWhyNotReady(HWND owner, HostPathResult result, const wchar_t* longPath);

// Writes the reply for a chosen file, its path for the host, after telling
// the user why that is not ready; 1 when the reply was written.
int ReplyWithChosenFile(const wchar_t* longPath);

#endif
