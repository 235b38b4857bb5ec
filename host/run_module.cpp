#include "run_module.h"

#include "drive.h"
#include "driver/picker_driver.h"
#include "driver/program_module.h"
#include "exchange/layouts.h"
#include "output.h"

static HANDLE CallReturned;  // set once the exported call is back
static int CallStopped;      // what was left of the call was cancelled
static wchar_t CallProblem[MessageCapacity];


static DWORD WINAPI DriveOwnDialog(void* param)
{
    // As with the picker as a program: a scripted run ends in time.
    const HostOptions* options = (const HostOptions*)param;
    if (DriveDialog(options, GetCurrentProcessId(), 0, CallProblem)) {
        if (WaitForSingleObject(CallReturned, EndTimeout(options)) == WAIT_OBJECT_0)
            return 1;
        wchar_t open[OpenWindowCapacity] = L"nothing";
        DescribeOpenWindow(GetCurrentProcessId(), open, OpenWindowCapacity);
        FormatProblem(CallProblem, L"the dialog did not end in time and was cancelled (open: %ls)",
                      open);
    }
    // A step that could not be done, or a call still open when time is up:
    // what is left (the dialog, a message box) is cancelled, or the call
    // would never return.
    CallStopped = 1;
    for (HWND window; (window = WaitForDialog(GetCurrentProcessId(), 0, 2000, 0));)
        PressButton(window, IDCANCEL);
    return 0;
}

// --module: the debug-file dialog through the export, in this process, as
// a host that loaded filepick.exe as a module calls it. The caller's three
// values start at -1, so that those the call leaves alone show.
int RunModule(const HostOptions* options, const char* folder)
{
    wchar_t picker[MAX_PATH];
    PathBesideSelf(L"filepick.exe", picker, MAX_PATH);
    HMODULE module = LoadProgramAsModule(picker);
    FilepickLoadDebugFile load = module ? (FilepickLoadDebugFile)(void*)GetProcAddress(
                                              module, FILEPICK_EXPORT_LOAD_DEBUG_FILE)
                                        : 0;
    if (!load) {
        wchar_t message[MessageCapacity];
        FormatProblem(message, L"cannot load %ls as a module", picker);
        return ReportFailure(options, HostCouldNotRun, message);
    }
    HANDLE driver = 0;
    CallReturned = CreateEventW(0, TRUE, FALSE, 0);
    if (DrivesDialog(options))
        driver = CreateThread(0, 0, DriveOwnDialog, (void*)options, 0, 0);
    LoadChoices choices = { -1, -1, -1 };
    char fileName[PathBlockSize] = "";
    char hostOptions[] = "";  // a host with options of its own: "Options..." stays enabled
    int result = load(0, 0, &choices.format, fileName, &choices.startupSkip, &choices.symbolOnly,
                      hostOptions, folder);
    SetEvent(CallReturned);
    if (driver) {
        WaitForSingleObject(driver, DialogTimeoutMs);
        CloseHandle(driver);
    }
    if (CallStopped)
        return ReportFailure(options, HostCouldNotRun, CallProblem);
    if (!result) {
        PrintNotChosen(options, L"LoadDebugFile returned 0", &choices);
        return HostNotChosen;
    }
    PrintChosen(options, "file name:    ", fileName, &choices);
    return HostChosen;
}
