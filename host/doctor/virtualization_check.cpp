// virtualization: this program's elevation and UAC file virtualization,
// and VirtualStore copies of the exchange files.
#include "check.h"

#include <stdio.h>
#include <wchar.h>

#include "driver/picker_driver.h"
#include "exchange/virtual_store.h"


static const wchar_t* ElevationName(DWORD type)
{
    return type == TokenElevationTypeFull      ? L"elevated"
           : type == TokenElevationTypeLimited ? L"not elevated (UAC limited)"
                                               : L"default (no split token)";
}


static const wchar_t* IntegrityName(DWORD level)
{
    return level >= SECURITY_MANDATORY_SYSTEM_RID   ? L"system"
           : level >= SECURITY_MANDATORY_HIGH_RID   ? L"high"
           : level >= SECURITY_MANDATORY_MEDIUM_RID ? L"medium"
                                                    : L"low";
}


void CheckVirtualization(Check* check, DoctorRun*)
{
    HANDLE token = 0;
    TOKEN_ELEVATION_TYPE elevation = TokenElevationTypeDefault;
    DWORD virtualized = 0, size = 0, level = 0;
    char label[256];
    int told = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
               GetTokenInformation(token, TokenElevationType, &elevation, sizeof elevation, &size) &&
               GetTokenInformation(token, TokenVirtualizationEnabled, &virtualized,
                                   sizeof virtualized, &size) &&
               GetTokenInformation(token, TokenIntegrityLevel, label, sizeof label, &size);
    if (told) {
        PSID sid = ((TOKEN_MANDATORY_LABEL*)label)->Label.Sid;
        level = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1);
    }
    DWORD error = GetLastError();
    if (token)
        CloseHandle(token);
    int on = told && virtualized;
    if (!told) {
        wchar_t why[ReasonCapacity];
        Reason(error, why);
        check->status = StatusUnknown;
        Append(check->found,
               L"the system did not tell this program's elevation and "
               L"virtualization: %ls",
               why);
    } else if (RunsUnderWine()) {
        check->status = StatusUnknown;
        Append(check->found,
               L"Wine has no UAC: it reports this program as %ls, integrity %ls, "
               L"virtualization %ls, which says nothing of Windows",
               ElevationName(elevation), IntegrityName(level), on ? L"on" : L"off");
        told = 0;
    } else {
        Append(check->found,
               L"this program runs %ls, integrity %ls, with UAC file "
               L"virtualization %ls. filepick has the same manifest, so it is "
               L"virtualized exactly when this is, and so is a legacy debugger "
               L"started the same way: both see the same C:\\FILE",
               ElevationName(elevation), IntegrityName(level), on ? L"on" : L"off");
    }
    wchar_t store[PathCapacity], path[PathCapacity], text[TextCapacity];
    if (!VirtualStorePath(store, PathCapacity - 12))
        return;
    for (const wchar_t* name : ExchangeNames) {
        _snwprintf(path, PathCapacity, L"%ls%ls", store, name + 2);
        if (!DescribeFile(path, text))
            continue;
        if (on || !told) {
            check->status = Worse(check->status, StatusWarn);
            Append(check->found,
                   L"; a VirtualStore copy %ls hides the real %ls from virtualized "
                   L"programs (it matters only where virtualization is on): a "
                   L"debugger may read an old reply there",
                   text, name);
        } else {
            Append(check->found,
                   L"; a leftover VirtualStore copy %ls (virtualization is off "
                   L"here, so it can be removed)",
                   text);
        }
        Append(check->advice, L"While no debugger runs, remove %ls. ", path);
    }
}
