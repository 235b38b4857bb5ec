// The module list: command lines, requests and start folders, which are
// the same code for every verb; and its rows under code page 936.
#include "rows.h"

// A start folder of about 235 characters, within the dialogs' limit.
#define D10 L"dddddddddd"
#define E10 L"eeeeeeeeee"
#define Z10 L"zzzzzzzzzz"
#define DEEP L"{dir}\\" D10 D10 D10 D10 D10 D10 D10 D10 D10 D10 L"\\" E10 E10 E10 E10 E10 E10 E10 E10 E10 E10

// Command lines, requests and start folders are the same code for every
// verb: they are checked with the module list.
const Row ModuleList[] = {
    { "opens titled in the requested folder on C files", ML, DIR,
      L"title Module List Files;types C file (*.c),List file (*.lst),All Files (*.*);"
      L"pick Blinky main module listing.lst", L"{dir}\\Blinky main module listing.lst" },
    { "a missing name is refused by the dialog", ML, DIR, L"pick {dir}\\no such.c;answer ok;cancel",
      0, L"=!" },
    { "a short path too long for the reply is told", ML, DIR,
      L"pick " SHORT_TOO_LONG L";warn too long for the debugger", 0, 0,
      L"put " SHORT_TOO_LONG L"=deep", {},
      L"skip Windows' short names of \"a b\" (AB~1) are shorter than Wine's (A_B~~GOE), so the "
      L"path fits there; the row of 100 folders \"+\" shows the same box on Windows" },
    { "a short form that outgrows its buffer is told as too long", ML, DIR,
      L"pick " PLUS100 L";warn too long for the debugger", 0, 0, L"put " PLUS100 L"=deep", {}, L"8.3" },
    // A quoted program name ends at its closing quote or at a tab.
    { "a tab inside the quoted program path ends its name",
      L"\"C:\\a\tb\\filepick.exe\" DoModuleListFile", L"raw:300", L"exit 0", 0, L"C:\\FILE=*" },
    // A short or missing request shows no dialog, but says why: the host's
    // user would otherwise see nothing happen. A short one is consumed.
    { "a request of 299 bytes", ML, L"raw:299", L"warn was shorter than this command's request" },
    { "no request at all", ML, 0, L"warn started without a request from the debugger" },
    // Wine's Explorer-style dialog overflows its buffer on a path past
    // MAX_PATH (a long name in a deep start folder) and faults: the user is
    // told, and no reply stays.
    { "a fault in the platform's dialog is told", ML, DEEP, L"pick " Z10 Z10 Z10 Z10 Z10 L".c;warn The file dialog failed",
      0, 0, L"mkdir " DEEP, {}, L"skip the fault is Wine's own: Windows' dialog reports a path too long for its buffer" },
    // A start folder that names a file is not used: the dialog opens
    // elsewhere, where the bare name is missing.
    { "a start folder that is a file", ML, L"{dir}\\sub\\a.c", L"pick a.c;answer ok;cancel", 0, 0,
      L"put {dir}\\sub\\a.c=a" },
    // 32 + 202 + 41 characters: past the dialogs' limit of 258.
    { "a start folder too long for the dialog opens by its short path", ML, DEEP L"\\" Z10 Z10 Z10 Z10,
      L"looking " Z10 Z10 Z10 Z10 L";cancel", 0, 0,
      L"put " DEEP L"\\" Z10 Z10 Z10 Z10 L"\\inside.c=in", {}, L"8.3" },
    { "a start folder named in the code page", ML, L"{dir}\\M\u00fcller", L"pick inside.c",
      L"{dir}\\M\u00fcller\\inside.c", 0, L"put {dir}\\M\u00fcller\\inside.c=in" },
};
ROWS(ModuleList);

// Run with the ANSI code page 936, whose trail bytes include 0x5C ('\') and
// 0x7C ('|'): both characters below have one of them.
#define TRAIL L"\u4e57\u5104"
// 50 characters, 100 bytes: with ".\" up to a block's 300 bytes, a start
// folder within the dialogs' limit of 258 characters.
#define TRAIL10 TRAIL TRAIL TRAIL TRAIL TRAIL
#define TRAIL50 L"{dir}\\" TRAIL10 TRAIL10 TRAIL10 TRAIL10 TRAIL10
const Row CodePage936[] = {
    { "module list: a start folder and a name with trail bytes", ML, L"{dir}\\" TRAIL,
      L"pick " TRAIL L".c", L"{dir}\\" TRAIL L"\\" TRAIL L".c", 0,
      L"put {dir}\\" TRAIL L"\\" TRAIL L".c=in" },
    { "module list: a request block without its NUL is cut at its last byte", ML,
      L"block:" TRAIL50, L"pick a.c", TRAIL50 L"\\a.c", 0, L"put " TRAIL50 L"\\a.c=in" },
};
ROWS(CodePage936);
