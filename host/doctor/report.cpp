#include "report.h"

#include <stdio.h>

#include "json.h"


void PrintChecks(int json, const wchar_t* version, const Check* checks, int count,
                 CheckStatus status)
{
    if (json) {
        printf("{\"version\":");
        PrintJsonString(version);
        printf(",\"checks\":[");
        for (int i = 0; i < count; ++i) {
            printf("%s{\"name\":\"%s\",\"status\":\"%s\",\"found\":", i ? "," : "",
                   checks[i].name, StatusNames[checks[i].status]);
            PrintJsonString(checks[i].found);
            printf(",\"advice\":");
            PrintJsonString(checks[i].advice[0] ? checks[i].advice : 0);
            printf("}");
        }
        printf("],\"status\":\"%s\"}\n", StatusNames[status]);
        return;
    }
    printf("filepick doctor %ls\n", version);
    for (int i = 0; i < count; ++i) {
        char text[4 * TextCapacity];
        WideCharToMultiByte(CP_ACP, 0, checks[i].found, -1, text, sizeof text, 0, 0);
        printf("%-8s %-15s %s\n", StatusNames[checks[i].status], checks[i].name, text);
        if (checks[i].advice[0]) {
            WideCharToMultiByte(CP_ACP, 0, checks[i].advice, -1, text, sizeof text, 0, 0);
            printf("%-24s what to do: %s\n", "", text);
        }
    }
    printf("status: %s\n", StatusNames[status]);
}
