// picker: filepick.exe beside filepick-host, of the same release, and it
// starts and ends.
#include "check.h"

#include <wchar.h>

#include "driver/picker_driver.h"
#include "driver/program_module.h"

enum { UnknownVerbLimitMs = 10000 };

void CheckPicker(Check* check, DoctorRun* run)
{
    wchar_t picker[PathCapacity], host[64], version[64];
    PathBesideSelf(L"filepick.exe", picker, PathCapacity);
    if (GetFileAttributesW(picker) == INVALID_FILE_ATTRIBUTES) {
        check->status = StatusFail;
        Append(check->found, L"no filepick.exe beside filepick-host (%ls)", picker);
        Append(check->advice, L"Keep filepick-host.exe beside a copy of filepick.exe.");
        return;
    }
    ProgramVersion(L"filepick-host.exe", host, 64);
    ProgramVersion(L"filepick.exe", version, 64);
    Append(check->found, L"%ls %ls beside filepick-host %ls", picker, version, host);
    if (wcscmp(host, version) != 0) {
        check->status = Worse(check->status, StatusWarn);
        Append(check->advice, L"Use filepick-host of the same release as filepick.exe. ");
    }
    wchar_t line[PathCapacity + 32];
    _snwprintf(line, PathCapacity + 32, L"\"%ls\" NoSuchVerb", picker);
    PROCESS_INFORMATION process;
    DWORD start = GetTickCount(), code = 0;
    if (!StartPicker(picker, line, &process)) {
        wchar_t why[ReasonCapacity];
        Reason(GetLastError(), why);
        check->status = StatusFail;
        Append(check->found, L"; it does not start: %ls", why);
        Append(check->advice, L"Unblock filepick.exe (Properties), or allow it in the "
                              L"security software that stopped it.");
        return;
    }
    int ended = WaitForExit(process.hProcess, UnknownVerbLimitMs, &code);
    EndPicker(&process);
    if (!ended || code != 0) {
        check->status = StatusFail;
        Append(check->found,
               ended ? L"; an unknown verb ended with %lu, not 0"
                     : L"; an unknown verb did not end within 10 s",
               code);
        Append(check->advice, L"Reinstall filepick.exe from the release package.");
        return;
    }
    Append(check->found, L"; it started and ended (unknown verb, exit 0) in %lu ms",
           (unsigned long)(GetTickCount() - start));
    run->pickerStarts = 1;
}
