#include "output.h"

#include <string.h>

#include "debug_file/vendor_table.h"
#include "dialog_support/filter.h"
#include "exchange/layouts.h"
#include "console.h"
#include "json.h"

// The start of every JSON object: the verb as given, and the status.
static void BeginJson(const HostOptions* options, const char* status)
{
    printf("{\"verb\":");
    PrintJsonString(options->verb);
    printf(",\"status\":\"%s\"", status);
}


int ReportFailure(const HostOptions* options, int status, const wchar_t* message)
{
    if (options->json) {
        BeginJson(options, status == HostUnknownVerb ? "unknown-verb" : "could-not-run");
        printf(",\"reason\":");
        PrintJsonString(message);
        printf("}\n");
    }
    fputs("filepick-host: ", stderr);
    PrintText(stderr, message);
    fputs("\n", stderr);
    return status;
}

// The file-type label the dialog shows for a vendor-format code, copied
// into label (capacity bytes); 0 and an empty label when the dialog offers
// no item for the code.
static int VendorLabel(VENDORFORMAT code, char* label, int capacity)
{
    return FilterLabel(VendorFilter, GetVendorIndex(code), label, capacity) > 0;
}

static void PrintLoadChoices(const HostOptions* options, const LoadChoices* choices)
{
    char label[64];
    if (!VendorLabel(choices->format, label, sizeof label))
        strcpy(label, "no file type of the dialog");
    if (options->json) {
        printf(",\"startupSkip\":%d,\"symbolOnly\":%d,\"format\":%d,\"formatLabel\":",
               choices->startupSkip, choices->symbolOnly, choices->format);
        PrintJsonAnsi(label);
    } else {
        printf("startup skip: %d\nsymbol only:  %d\nformat:       %d (%s)\n", choices->startupSkip,
               choices->symbolOnly, choices->format, label);
    }
}

void PrintChosen(const HostOptions* options, const char* label, const char* path,
                 const LoadChoices* choices)
{
    if (options->json) {
        // The host's bytes are ANSI; JSON is UTF-8. The long path is the
        // chosen file's own name, whatever its script.
        wchar_t wide[PathBlockSize];
        wchar_t longPath[4 * MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path, -1, wide, PathBlockSize);
        DWORD length = GetLongPathNameW(wide, longPath, 4 * MAX_PATH);
        if (!length || length >= 4 * MAX_PATH)
            lstrcpynW(longPath, wide, 4 * MAX_PATH);
        BeginJson(options, "chosen");
        printf(",\"shortPath\":");
        PrintJsonString(wide);
        printf(",\"longPath\":");
        PrintJsonString(longPath);
    } else {
        // The host's bytes are ANSI: shown as the name they stand for.
        wchar_t wide[PathBlockSize];
        MultiByteToWideChar(CP_ACP, 0, path, -1, wide, PathBlockSize);
        fputs(label, stdout);
        PrintText(stdout, wide);
        fputs("\n", stdout);
    }
    if (choices)
        PrintLoadChoices(options, choices);
    if (options->json)
        printf("}\n");
}


void PrintNotChosen(const HostOptions* options, const wchar_t* why, const LoadChoices* choices)
{
    if (options->json) {
        BeginJson(options, "not-chosen");
        printf(",\"reason\":");
        PrintJsonString(why);
    } else {
        fputs("No file was chosen (", stdout);
        PrintText(stdout, why);
        fputs(").\n", stdout);
    }
    if (choices)
        PrintLoadChoices(options, choices);
    if (options->json)
        printf("}\n");
}
