#include "drive.h"

#include <wchar.h>

#include "driver/picker_driver.h"
#include "screenshot.h"

int DrivesDialog(const HostOptions* options)
{
    return options->choose || options->steps || options->fileType || options->screenshot;
}

DWORD EndTimeout(const HostOptions* options)
{
    if ((options->choose || options->steps) && options->timeoutMs == INFINITE)
        return ChooseExitTimeoutMs;
    return options->timeoutMs;
}

int DriveDialog(const HostOptions* options, DWORD processId, HANDLE process, wchar_t* problem)
{
    PickerSession session = { processId, process, DialogTimeoutMs, 0, 0 };
    if (!SessionDialog(&session)) {
        FormatProblem(problem, L"the dialog did not appear");
        return 0;
    }
    wchar_t steps[MAX_PATH + 32];
    wchar_t failed[MAX_PATH + 32];
    if (options->fileType > 0) {
        _snwprintf(steps, MAX_PATH + 32, L"type %d", options->fileType - 1);
        if (!RunSteps(&session, steps, failed, MAX_PATH + 32)) {
            FormatProblem(problem, L"the dialog has no file type %d", options->fileType);
            return 0;
        }
    }
    if (options->steps && !RunSteps(&session, options->steps, failed, MAX_PATH + 32)) {
        FormatProblem(problem, L"the step \"%ls\" could not be done", failed);
        return 0;
    }
    if (options->screenshot) {
        HWND dialog = SessionDialog(&session);
        if (!dialog || !SaveWindowPicture(dialog, process, options->screenshot)) {
            FormatProblem(problem, L"could not save the dialog's picture as %ls",
                          options->screenshot);
            return 0;
        }
    }
    if (!options->choose)
        return 1;
    // The dialogs want backslashes; scripts on Linux tend to write slashes.
    _snwprintf(steps, MAX_PATH + 32, L"pick %ls", options->choose);
    steps[MAX_PATH + 31] = 0;
    for (wchar_t* p = steps; *p; ++p)
        if (*p == L'/')
            *p = L'\\';
    if (!RunSteps(&session, steps, failed, MAX_PATH + 32)) {
        FormatProblem(problem, L"could not pick %ls: the dialog went", options->choose);
        return 0;
    }
    return 1;
}
