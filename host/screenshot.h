// filepick-host --screenshot: a picture of the dialog as the user sees it.
#ifndef FILEPICK_SCREENSHOT_H
#define FILEPICK_SCREENSHOT_H

#include <windows.h>

// Whether path names a picture this can write: .png or .bmp.
int IsPictureName(const wchar_t* path);

// Saves the window as it shows on screen, in front and once it has
// painted: a PNG file (through the Windows Imaging Component) where path
// ends in .png, else a 24-bit BMP. process: the window's process (0 for
// this one). 1 on success.
int SaveWindowPicture(HWND window, HANDLE process, const wchar_t* path);

#endif
