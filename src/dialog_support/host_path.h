// How the file a user chose reaches the host, which reads only ANSI bytes.
// The dialogs work in wide characters, so any file can be chosen; the host
// gets a path only when it has an exact ANSI form (no look-alike, no
// replacement character) that fits, since any other path would open
// another file or none. No Windows API here: the platform's two services
// come in as functions, so the rules are tested natively.
#ifndef FILEPICK_HOST_PATH_H
#define FILEPICK_HOST_PATH_H

#include <wchar.h>

// The ANSI encoder's answer when a character has no exact form.
enum { AnsiInexact = -1 };

// The short-form service's answers other than a length.
enum {
    ShortFormMissing = 0,   // no such file
    ShortFormTooLong = -1,  // longer than the room given: nothing written
    ShortFormFailed = -2    // the file exists, but the system gave no short form
};

struct PathServices {
    // The short (8.3) form of an existing file's path, into shortPath of
    // capacity characters: its length, or one of the answers above.
    int (*shortForm)(const wchar_t* longPath, wchar_t* shortPath, int capacity);
    // text in the ANSI code page, into ansi of capacity bytes (enough for
    // any text here): its length when every character has an exact form,
    // else AnsiInexact.
    int (*toAnsi)(const wchar_t* text, char* ansi, int capacity);
};

enum HostPathResult {
    HostPathReady = 1,
    HostPathMissing = 0,      // no such file (it never was, or went after OK)
    HostPathNoAnsiForm = -1,  // the file exists, but no ANSI path names it
    HostPathTooLong = -2,     // the path does not fit the caller's room
    HostPathNoShortForm = -3  // the system refused the file's short form
};

// The reply's path: the exact ANSI form of the chosen file's short path,
// into hostPath of capacity bytes.
HostPathResult HostShortPath(const PathServices* services, const wchar_t* longPath, char* hostPath,
                             int capacity);

// The path LoadDebugFile gives its caller: the full path when it has an
// exact ANSI form that fits, else the reply's path.
HostPathResult HostCallerPath(const PathServices* services, const wchar_t* longPath, char* hostPath,
                              int capacity);

#endif
