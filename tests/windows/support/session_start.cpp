// Opens the Wine session for the tests that follow: the server, the desktop
// and the window system, by creating and destroying one window.
#include <windows.h>

int main()
{
    HWND window = CreateWindowA("STATIC", "session", WS_POPUP, 0, 0, 1, 1, 0, 0,
                                GetModuleHandleA(0), 0);
    if (!window)
        return 1;
    DestroyWindow(window);
    return 0;
}
