#include "dialog_support/warning.h"

#include <stdarg.h>
#include <stdio.h>

void ShowWarning(HWND owner, const wchar_t* format, ...)
{
    wchar_t text[2048];
    va_list values;
    va_start(values, format);
    _vsnwprintf(text, 2048, format, values);
    va_end(values);
    text[2047] = 0;
    // Brought to the front: the picker may have been started while another
    // program, or none of the user's, was in front.
    MessageBoxW(owner, text, L"WARNING", MB_ICONSTOP | MB_SETFOREGROUND);
}

void SystemErrorText(int code, wchar_t* text, int capacity)
{
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, 0,
                                  (DWORD)code, 0, text, (DWORD)capacity, 0);
    if (!length)
        length = (DWORD)_snwprintf(text, (size_t)capacity, L"Error %d.", code);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n'))
        text[--length] = 0;
}
