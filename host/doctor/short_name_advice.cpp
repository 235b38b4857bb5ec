#include "short_name_advice.h"

// Appends the texts up to a null to advice.
static void Say(wchar_t* advice, int capacity, const wchar_t* const* texts)
{
    int used = (int)wcslen(advice);
    for (; *texts; ++texts)
        for (const wchar_t* c = *texts; *c && used < capacity - 1; ++c)
            advice[used++] = *c;
    advice[used] = 0;
}

void ShortNameAdvice(int setting, const wchar_t* fileSystem, int remote, const wchar_t* volume,
                     int systemVolume, wchar_t* advice, int capacity)
{
    static const wchar_t Move[] = L"Move the project to a folder on a local NTFS volume, where "
                                  L"short names are made (C: usually is).";
    advice[0] = 0;
    if (remote) {
        const wchar_t* texts[] = { L"Short names on a network share are the server's: ", Move, 0 };
        return Say(advice, capacity, texts);
    }
    if (wcscmp(fileSystem, L"NTFS") != 0) {
        const wchar_t* texts[] = { fileSystem[0] ? fileSystem : L"This file system",
                                   L" makes no short names at all. ", Move, 0 };
        return Say(advice, capacity, texts);
    }
    const wchar_t After[] = L" It affects only files created afterwards: copy the project "
                            L"folder anew once it is on.";
    if (setting == 0 || (setting == 3 && systemVolume)) {
        // Every volume (or, under 3, the system volume) makes them whatever
        // its own flag says: the files here were made while they were off.
        const wchar_t* texts[] = { L"Short names are on for ",
                                   volume,
                                   L" by the system-wide setting, so its files made from now on "
                                   L"get them; an administrator can see the setting with fsutil "
                                   L"8dot3name query ",
                                   volume,
                                   L".",
                                   After,
                                   0 };
        return Say(advice, capacity, texts);
    }
    if (setting == 2) {
        const wchar_t* texts[] = { L"An administrator can turn them on for ",
                                   volume,
                                   L": fsutil 8dot3name set ",
                                   volume,
                                   L" 0.",
                                   After,
                                   0 };
        return Say(advice, capacity, texts);
    }
    if (setting == 1 || setting == 3) {
        // The system-wide setting overrides the volume's own flag, which
        // counts only under 2: back to "each volume decides" first.
        const wchar_t* texts[] = {
            setting == 1 ? L"Short names are off for every volume here. An"
                         : L"Short names are off for every volume but the "
                           L"system volume here: move the project there, or an",
            L" administrator can let each volume decide, then turn them on for ",
            volume,
            L": fsutil 8dot3name set 2, then fsutil 8dot3name set ",
            volume,
            L" 0.",
            After,
            0
        };
        return Say(advice, capacity, texts);
    }
    const wchar_t* texts[] = { L"An administrator can see why with fsutil 8dot3name query ",
                               volume,
                               L", and turn them on with fsutil 8dot3name set ",
                               volume,
                               L" 0 where the system-wide setting is 2.",
                               After,
                               0 };
    Say(advice, capacity, texts);
}
