// folder-names: the files below the project folder whose path the debugger
// could not be given.
#include "check.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "dialog_support/chosen_file.h"
#include "dialog_support/host_path.h"
#include "exchange/layouts.h"

enum {
    WalkLimit = 10000,  // entries of the project folder looked at
    ListedNames = 10,   // of those that cannot be given, named
    // Room for the paths walked: through \\?\, folders past MAX_PATH are
    // walked too, and every file in them counted.
    WalkPathCapacity = 4096
};

struct Walk {
    int entries, cut, files, refused;
    size_t prefix;  // the length of the \\?\ the walk's paths start with
    wchar_t listed[TextCapacity];
};

// Counts the files below folder (path, WalkPathCapacity characters, with
// the walk's prefix) whose path the debugger could not be given.
static void WalkFolder(wchar_t* path, Walk* walk)
{
    size_t length = wcslen(path);
    if (length + 4 >= WalkPathCapacity)
        return;
    wcscpy(path + length, L"\\*");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    path[length] = 0;
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0)
            continue;
        if (++walk->entries > WalkLimit ||
            length + 2 + wcslen(found.cFileName) >= WalkPathCapacity) {
            walk->cut = 1;
            break;
        }
        _snwprintf(path + length, WalkPathCapacity - length, L"\\%ls", found.cFileName);
        const wchar_t* plain = path + walk->prefix;
        int fits = wcslen(plain) < MAX_PATH;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                WalkFolder(path, walk);
        } else {
            ++walk->files;
            char host[PathBlockSize];
            int result = fits ? HostPathFor(PathForReply, plain, host, PathBlockSize)
                              : HostPathTooLong;
            if (result != HostPathReady && result != HostPathMissing &&
                walk->refused++ < ListedNames)
                Append(walk->listed, L"; %ls%ls", fits ? plain : found.cFileName,
                       fits ? L"" : L" (its path is longer than the dialogs take)");
        }
        path[length] = 0;
    } while (!walk->cut && FindNextFileW(search, &found));
    FindClose(search);
}


void CheckFolderNames(Check* check, DoctorRun* run)
{
    DWORD attributes = GetFileAttributesW(run->folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        check->status = StatusFail;
        Append(check->found, L"the project folder %ls %ls", run->folder,
               attributes == INVALID_FILE_ATTRIBUTES ? L"does not exist" : L"is not a folder");
        Append(check->advice, L"Name the project's folder itself: filepick-host --doctor "
                              L"C:\\path\\to\\project");
        return;
    }
    static Walk walk;
    static wchar_t path[WalkPathCapacity];
    memset(&walk, 0, sizeof walk);
    // A drive's folder through \\?\ (a share's as it is: its long paths
    // stay out of reach).
    walk.prefix = run->folder[0] && run->folder[1] == L':' ? 4 : 0;
    _snwprintf(path, WalkPathCapacity, L"%ls%ls", walk.prefix ? L"\\\\?\\" : L"", run->folder);
    path[WalkPathCapacity - 1] = 0;
    WalkFolder(path, &walk);
    Append(check->found,
           L"%d of %d files in %ls and its subfolders cannot be given to the "
           L"debugger%ls",
           walk.refused, walk.files, run->folder,
           walk.cut ? L" (the walk stopped at 10000 entries)" : L"");
    if (walk.refused) {
        check->status = StatusWarn;
        Append(check->found, L"%ls%ls", walk.listed, walk.refused > ListedNames ? L"; ..." : L"");
        Append(check->advice, L"Rename or move these files or their folders: the debugger takes "
                              L"a path only in the ANSI code page or as a short (8.3) path, "
                              L"within 300 bytes.");
    }
}
