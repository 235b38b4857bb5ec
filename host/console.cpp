#include "console.h"

#include <windows.h>

#include <io.h>
#include <wchar.h>

void PrintText(FILE* out, const wchar_t* text)
{
    HANDLE handle = (HANDLE)_get_osfhandle(_fileno(out));
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) {
        // What the stream holds goes first, then the text past it.
        fflush(out);
        WriteConsoleW(handle, text, (DWORD)wcslen(text), &written, 0);
        return;
    }
    static char bytes[4 * 4096 + 4];
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, 0, 0);
    if (length > 0)
        fwrite(bytes, 1, (size_t)length - 1, out);
}
