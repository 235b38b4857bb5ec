#include "dialog_support/code_page.h"

#include <string.h>

#include "dialog_support/host_path.h"

// Exact conversions read back through a buffer of this many characters.
enum { ConversionCapacity = 1200 };

int AnsiToWide(const char* ansi, wchar_t* wide, int capacity)
{
    wide[0] = 0;
    int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, capacity);
    wide[capacity - 1] = 0;
    return length > 0 ? length - 1 : lstrlenW(wide);
}

int ExactAnsi(const wchar_t* text, char* ansi, int capacity)
{
    UINT codePage = GetACP();
    DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    wchar_t back[ConversionCapacity];
    int size = WideCharToMultiByte(codePage, flags, text, -1, ansi, capacity, 0, 0);
    if (size <= 0 || MultiByteToWideChar(codePage, 0, ansi, -1, back, ConversionCapacity) <= 0 ||
        wcscmp(back, text) != 0)
        return AnsiInexact;
    return size - 1;
}
