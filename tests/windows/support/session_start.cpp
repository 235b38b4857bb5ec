// Opens the Wine session for the tests that follow (the server, the desktop
// and the window system, by creating and destroying one window), and clears
// the previous run's note that a wait ran out (see support/e2e.h).
#include <windows.h>

#include "driver/picker_driver.h"

int main()
{
    wchar_t marker[MAX_PATH];
    PathBesideSelf(L"dialog-timeout.seen", marker, MAX_PATH);
    DeleteFileW(marker);
    HWND window = CreateWindowA("STATIC", "session", WS_POPUP, 0, 0, 1, 1, 0, 0,
                                GetModuleHandleA(0), 0);
    if (!window)
        return 1;
    DestroyWindow(window);
    return 0;
}
