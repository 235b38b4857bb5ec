#include "check.h"

#include <stdarg.h>
#include <stdio.h>
#include <wchar.h>

#include "dialog_support/warning.h"
#include "filepick.h"

const char* const StatusNames[StatusCount] = { "ok", "unknown", "skipped", "warn", "fail" };

const wchar_t ExchangeNames[3][12] = { L"" FILEPICK_EXCHANGE_PATH, L"" FILEPICK_EXCHANGE_PATH ".new",
                                       L"" FILEPICK_EXCHANGE_PATH ".old" };

// Adds to text (TextCapacity characters), as _snwprintf formats.
void Append(wchar_t* text, const wchar_t* format, ...)
{
    size_t used = wcslen(text);
    va_list values;
    va_start(values, format);
    _vsnwprintf(text + used, TextCapacity - used, format, values);
    va_end(values);
    text[TextCapacity - 1] = 0;
}

CheckStatus Worse(CheckStatus a, CheckStatus b) { return b > a ? b : a; }

void Reason(DWORD error, wchar_t* why) { SystemErrorText((int)error, why, ReasonCapacity); }

// "PATH (N bytes, AGE old)" for a file there; 0 when there is none.
int DescribeFile(const wchar_t* path, wchar_t* text)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a, b;
    a.LowPart = now.dwLowDateTime, a.HighPart = now.dwHighDateTime;
    b.LowPart = data.ftLastWriteTime.dwLowDateTime, b.HighPart = data.ftLastWriteTime.dwHighDateTime;
    unsigned long long seconds = a.QuadPart > b.QuadPart ? (a.QuadPart - b.QuadPart) / 10000000 : 0;
    const wchar_t* unit = L"s";
    unsigned long long age = seconds;
    if (seconds >= 2 * 86400)
        age = seconds / 86400, unit = L" days";
    else if (seconds >= 2 * 3600)
        age = seconds / 3600, unit = L" h";
    else if (seconds >= 120)
        age = seconds / 60, unit = L" min";
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        _snwprintf(text, TextCapacity, L"%ls (a folder, %llu%ls old)", path, age, unit);
    else
        _snwprintf(text, TextCapacity, L"%ls (%lu bytes, %llu%ls old)", path,
                   (unsigned long)data.nFileSizeLow, age, unit);
    text[TextCapacity - 1] = 0;
    return 1;
}
