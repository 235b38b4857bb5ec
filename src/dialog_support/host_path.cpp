#include "dialog_support/host_path.h"

#include <string.h>

enum {
    // Room for a short form: the dialogs return at most 300 characters, and
    // an 8.3 name is seldom longer than the name it stands for.
    ShortFormCapacity = 600,
    // Room for any of those in ANSI: two bytes a character at most.
    AnsiCapacity = 2 * ShortFormCapacity
};

// The exact ANSI form of text into hostPath, when it fits with its NUL.
static HostPathResult ExactFitting(const PathServices* services, const wchar_t* text,
                                   char* hostPath, int capacity)
{
    char ansi[AnsiCapacity];
    int length = services->toAnsi(text, ansi, AnsiCapacity);
    if (length == AnsiInexact)
        return HostPathNoAnsiForm;
    if (length < 0 || length >= capacity)
        return HostPathTooLong;
    memcpy(hostPath, ansi, (size_t)length + 1);
    return HostPathReady;
}

HostPathResult HostShortPath(const PathServices* services, const wchar_t* longPath, char* hostPath,
                             int capacity)
{
    wchar_t shortPath[ShortFormCapacity];
    int length = services->shortForm(longPath, shortPath, ShortFormCapacity);
    if (length == ShortFormTooLong)
        return HostPathTooLong;  // far beyond any reply's room
    if (length == ShortFormFailed)
        return HostPathNoShortForm;
    if (length <= 0)
        return HostPathMissing;
    return ExactFitting(services, shortPath, hostPath, capacity);
}

HostPathResult HostCallerPath(const PathServices* services, const wchar_t* longPath, char* hostPath,
                              int capacity)
{
    if (ExactFitting(services, longPath, hostPath, capacity) == HostPathReady)
        return HostPathReady;
    return HostShortPath(services, longPath, hostPath, capacity);
}
