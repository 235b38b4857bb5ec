#include "dialog_support/host_path.h"

// Room for a short form: the dialogs return at most 300 characters, and an
// 8.3 name is seldom longer than the name it stands for.
enum { ShortFormCapacity = 600 };

int HostShortPath(const PathServices* services, const wchar_t* longPath,
                  char* hostPath, int capacity)
{
    wchar_t shortPath[ShortFormCapacity];
    if (services->shortForm(longPath, shortPath, ShortFormCapacity) <= 0)
        return HostPathMissing;
    int length = services->toAnsi(shortPath, hostPath, capacity);
    if (length == AnsiInexact)
        return HostPathNoAnsiForm;
    if (length == AnsiTooLong)
        return HostPathTooLong;
    return length > 0 ? HostPathReady : HostPathMissing;
}

int HostCallerPath(const PathServices* services, const wchar_t* longPath,
                   char* hostPath, int capacity)
{
    if (services->toAnsi(longPath, hostPath, capacity) > 0)
        return HostPathReady;
    return HostShortPath(services, longPath, hostPath, capacity);
}
