// code-pages: the system's code pages, and whether the project folder has
// an exact ANSI form, as the debugger sends it.
#include "check.h"

#include "dialog_support/code_page.h"
#include "dialog_support/host_path.h"


void CheckCodePages(Check* check, DoctorRun* run)
{
    char ansi[4 * PathCapacity];
    int exact = ExactAnsi(run->folder, ansi, sizeof ansi) != AnsiInexact;
    Append(check->found,
           L"ANSI code page %u, OEM code page %u; the project folder has %ls exact "
           L"ANSI form",
           GetACP(), GetOEMCP(), exact ? L"an" : L"no");
    if (!exact) {
        check->status = StatusWarn;
        Append(check->advice, L"The debugger sends the start folder in ANSI: rename the folder, or "
                              L"choose a system code page (for programs that are not Unicode) "
                              L"that holds its name.");
    }
}
