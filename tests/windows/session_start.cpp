// Opens the Wine session (its server, desktop and window system) before the
// tests start side by side: two programs that open a fresh session at the
// same moment can stall for a minute.
#include <windows.h>

int main()
{
    return DestroyWindow(CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, 0, 0, 0, 0)) ? 0 : 1;
}
