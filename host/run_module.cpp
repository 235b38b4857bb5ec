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
        wchar_t open[512] = L"nothing";
        DescribeOpenWindow(GetCurrentProcessId(), open, 512);
        Problem(CallProblem, L"the dialog did not end in time and was cancelled (open: %ls)",
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
// a host that loaded filepick.exe as a module calls it. The caller's words
// start at -1, so that words the call leaves alone show.
int RunModule(const HostOptions* options, const char* folder)
{
    wchar_t picker[MAX_PATH];
    PathBesideSelf(L"filepick.exe", picker, MAX_PATH);
    HMODULE module = LoadProgramAsModule(picker);
    FilepickLoadDebugFile load =
        module ? (FilepickLoadDebugFile)(void*)GetProcAddress(module, FILEPICK_EXPORT_LOAD_DEBUG_FILE) : 0;
    if (!load) {
        wchar_t message[MessageCapacity];
        Problem(message, L"cannot load %ls as a module", picker);
        return Fail(options, HostCouldNotRun, message);
    }
    HANDLE driver = 0;
    CallReturned = CreateEventW(0, TRUE, FALSE, 0);
    if (DrivesDialog(options))
        driver = CreateThread(0, 0, DriveOwnDialog, (void*)options, 0, 0);
    LoadWords words = { -1, -1, -1 };
    char fileName[PathBlockSize] = "";
    char hostOptions[] = "";  // a host with options of its own: "Options..." stays enabled
    int result = load(0, 0, &words.format, fileName, &words.startupSkip, &words.symbolOnly,
                      hostOptions, folder);
    SetEvent(CallReturned);
    if (driver) {
        WaitForSingleObject(driver, DialogTimeoutMs);
        CloseHandle(driver);
    }
    if (CallStopped)
        return Fail(options, HostCouldNotRun, CallProblem);
    if (!result) {
        PrintNotChosen(options, L"LoadDebugFile returned 0", &words);
        return HostNotChosen;
    }
    PrintChosen(options, "file name:    ", fileName, &words);
    return HostChosen;
}
