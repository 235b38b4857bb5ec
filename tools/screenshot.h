// filepick-host --screenshot: a picture of the dialog as the user sees it.
#ifndef FILEPICK_SCREENSHOT_H
#define FILEPICK_SCREENSHOT_H

#include <windows.h>

// Saves the window as it shows on screen, once it has painted, to a 24-bit
// BMP file. process: the window's process (0 for this one). 1 on success.
int SaveWindowBitmap(HWND window, HANDLE process, const wchar_t* bmpPath);

#endif
