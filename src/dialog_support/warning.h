// The program's messages to the user: a stop-icon box captioned "WARNING"
// with one OK button.
#ifndef FILEPICK_WARNING_H
#define FILEPICK_WARNING_H

#include <windows.h>

// Shows format as _snwprintf fills it with the values that follow (%ls
// for a text).
void ShowWarning(HWND owner, const wchar_t* format, ...);

// The system's text for an error code, into text of capacity characters
// (ReasonCapacity is room enough).
enum { ReasonCapacity = 512 };
void SystemErrorText(int code, wchar_t* text, int capacity);

#endif
