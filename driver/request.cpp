#include "request.h"

#include <errno.h>
#include <stdint.h>
#include <string.h>
#include <wchar.h>

#include <windows.h>

#include "dialog_support/code_page.h"
#include "dialog_support/host_path.h"
#include "entry/command_line.h"
#include "exchange/layouts.h"

int BuildRequest(int verb, const wchar_t* text, unsigned char* request)
{
    memset(request, 0, RequestCapacity);
    if (verb == VerbSetDumpFile) {
        wchar_t* end = 0;
        errno = 0;
        long long mode = text ? wcstoll(text, &end, 10) : 0;
        if (text && (end == text || *end))
            return RequestNotANumber;
        if (errno == ERANGE || mode < INT32_MIN || mode > INT32_MAX)
            return RequestOutOfRange;
        FilepickDumpRequest(request, (int)mode);
        return DumpModeRequestSize;
    }
    char bytes[2 * PathBlockSize];
    int length = ExactAnsi(text ? text : L"", bytes, sizeof bytes);
    // A folder named outside the code page is sent by its short (8.3) path
    // where that is exact ANSI: a best-fit form would open a look-alike.
    wchar_t shortPath[PathBlockSize];
    DWORD shortLength = 0;
    if (length == AnsiInexact && text)
        shortLength = GetShortPathNameW(text, shortPath, PathBlockSize);
    if (shortLength && shortLength < PathBlockSize)
        length = ExactAnsi(shortPath, bytes, sizeof bytes);
    if (length == AnsiInexact)
        return RequestNotAnsi;
    if (length < 0 || !FilepickDirectoryRequest(request, bytes))
        return RequestTooLong;
    return DirectoryRequestSize;
}
