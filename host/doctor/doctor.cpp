#include "doctor.h"

#include <stdio.h>

#include "check.h"
#include "driver/program_module.h"
#include "report.h"

// The checks, in the order they run and are reported.
static const struct {
    const char* name;
    void (*run)(Check* check, DoctorRun* run);
} Checks[] = {
    { "picker", CheckPicker },
    { "exchange", CheckExchange },
    { "virtualization", CheckVirtualization },
    { "short-names", CheckShortNames },
    { "folder-names", CheckFolderNames },
    { "code-pages", CheckCodePages },
    { "dialogs", CheckDialogs },
};
enum { CheckCount = sizeof Checks / sizeof *Checks };

int RunDoctor(int json, const wchar_t* folder)
{
    wchar_t full[PathCapacity], version[64];
    DWORD length = GetFullPathNameW(folder ? folder : L".", PathCapacity, full, 0);
    if (!length || length >= MAX_PATH) {
        fprintf(stderr, "filepick-host: the doctor's folder is not a path it can use\n");
        return 3;
    }
    if (length > 3 && full[length - 1] == L'\\')
        full[length - 1] = 0;
    ProgramVersion(L"filepick-host.exe", version, 64);
    static Check checks[CheckCount];
    DoctorRun run = { full, 0, 0 };
    // unknown and skipped leave the whole ok: the platform could not tell.
    CheckStatus status = StatusOk;
    for (int i = 0; i < CheckCount; ++i) {
        checks[i].name = Checks[i].name;
        checks[i].status = StatusOk;
        Checks[i].run(&checks[i], &run);
        if (checks[i].status == StatusWarn || checks[i].status == StatusFail)
            status = Worse(status, checks[i].status);
    }
    PrintChecks(json, version, checks, CheckCount, status);
    return status == StatusFail ? 1 : 0;
}
