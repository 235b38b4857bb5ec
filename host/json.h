// JSON output of filepick-host and its doctor: strings in UTF-8.
#ifndef FILEPICK_JSON_H
#define FILEPICK_JSON_H

#include <windows.h>

// Wide text as a JSON string, quoted and escaped; a null text as null.
void PrintJsonString(const wchar_t* text);

// ANSI text (the host's bytes) as a JSON string.
void PrintJsonAnsi(const char* text);

#endif
