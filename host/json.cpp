#include "json.h"

#include <stdio.h>

void PrintJsonString(const wchar_t* text)
{
    if (!text) {
        fputs("null", stdout);
        return;
    }
    char utf8[4 * 1024 + 8];
    if (!WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, 0, 0))
        utf8[0] = 0;
    putchar('"');
    for (const unsigned char* p = (const unsigned char*)utf8; *p; ++p) {
        if (*p == '"' || *p == '\\')
            printf("\\%c", *p);
        else if (*p < 0x20)
            printf("\\u%04x", *p);
        else
            putchar(*p);
    }
    putchar('"');
}

void PrintJsonAnsi(const char* text)
{
    wchar_t wide[1024];
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 1024))
        wide[0] = 0;
    PrintJsonString(wide);
}
