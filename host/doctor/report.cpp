#include "report.h"

#include <stdio.h>

#include <wchar.h>

#include "console.h"
#include "json.h"

// A check's text without the blank its last sentence left.
static const wchar_t* Trimmed(const wchar_t* text, wchar_t* copy)
{
    lstrcpynW(copy, text, TextCapacity);
    for (size_t end = wcslen(copy); end > 0 && copy[end - 1] == L' ';)
        copy[--end] = 0;
    return copy;
}


void PrintChecks(int json, const wchar_t* version, const Check* checks, int count,
                 CheckStatus status)
{
    static wchar_t copy[TextCapacity];
    if (json) {
        printf("{\"version\":");
        PrintJsonString(version);
        printf(",\"checks\":[");
        for (int i = 0; i < count; ++i) {
            printf("%s{\"name\":\"%s\",\"status\":\"%s\",\"found\":", i ? "," : "", checks[i].name,
                   StatusNames[checks[i].status]);
            PrintJsonString(Trimmed(checks[i].found, copy));
            printf(",\"advice\":");
            PrintJsonString(checks[i].advice[0] ? Trimmed(checks[i].advice, copy) : 0);
            printf("}");
        }
        printf("],\"status\":\"%s\"}\n", StatusNames[status]);
        return;
    }
    printf("filepick doctor %ls\n", version);
    for (int i = 0; i < count; ++i) {
        printf("%-8s %-15s ", StatusNames[checks[i].status], checks[i].name);
        PrintText(stdout, Trimmed(checks[i].found, copy));
        fputs("\n", stdout);
        if (checks[i].advice[0]) {
            printf("%-24s what to do: ", "");
            PrintText(stdout, Trimmed(checks[i].advice, copy));
            fputs("\n", stdout);
        }
    }
    printf("status: %s\n", StatusNames[status]);
}
