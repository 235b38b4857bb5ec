// The module list: command lines, requests and start folders, which are
// the same code for every verb; and its rows under code page 936.
#include "rows.h"

// A row keeps its fields in groups of a line, as written.
// clang-format off

// A start folder of about 235 characters, within the dialogs' limit.
#define D10 L"dddddddddd"
#define E10 L"eeeeeeeeee"
#define Z10 L"zzzzzzzzzz"
#define DEEP L"{dir}\\" D10 D10 D10 D10 D10 D10 D10 D10 D10 D10 L"\\" E10 E10 E10 E10 E10 E10 E10 E10 E10 E10

// Command lines, requests and start folders are the same code for every
// verb: they are checked with the module list.
const Row ModuleList[] = {
    { .name = "opens titled in the requested folder on C files", .verb = ML, .request = DIR,
      .steps = L"title Module List Files;types C file (*.c),List file (*.lst),All Files (*.*);"
               L"pick Blinky main module listing.lst",
      .reply = L"{dir}\\Blinky main module listing.lst" },
    { .name = "a missing name is refused by the dialog", .verb = ML, .request = DIR,
      .steps = L"pick {dir}\\no such.c;answer ok;cancel", .after = L"=!" },
    { .name = "a short path too long for the reply is told", .verb = ML, .request = DIR,
      .steps = L"pick " SHORT_TOO_LONG L";warn too long for the debugger",
      .setup = L"put " SHORT_TOO_LONG L"=deep",
      .onWindows = L"skip Windows' short names of \"a b\" (AB~1) are shorter than Wine's (A_B~~GOE), so the "
                   L"path fits there; the row of 100 folders \"+\" shows the same box on Windows" },
    { .name = "a short form that outgrows its buffer is told as too long", .verb = ML,
      .request = DIR, .steps = L"pick " PLUS100 L";warn too long for the debugger",
      .setup = L"put " PLUS100 L"=deep", .onWindows = L"8.3" },
    // A quoted program name ends at its closing quote or at a tab.
    { .name = "a tab inside the quoted program path ends its name",
      .verb = L"\"C:\\a\tb\\filepick.exe\" DoModuleListFile", .request = L"raw:300",
      .steps = L"exit 0", .after = L"C:\\FILE=*" },
    // A short or missing request shows no dialog, but says why: the host's
    // user would otherwise see nothing happen. A short one is consumed.
    { .name = "a request of 299 bytes", .verb = ML, .request = L"raw:299",
      .steps = L"warn was shorter than this command's request" },
    { .name = "no request at all", .verb = ML,
      .steps = L"warn started without a request from the debugger" },
    // Wine's Explorer-style dialog overflows its buffer on a path past
    // MAX_PATH (a long name in a deep start folder) and faults: the user is
    // told, and no reply stays.
    { .name = "a fault in the platform's dialog is told", .verb = ML, .request = DEEP,
      .steps = L"pick " Z10 Z10 Z10 Z10 Z10 L".c;warn The file dialog failed",
      .setup = L"mkdir " DEEP,
      .onWindows = L"skip the fault is Wine's own: Windows' dialog reports a path too long for its buffer" },
    // A start folder that names a file is not used: the dialog opens
    // elsewhere, where the bare name is missing.
    { .name = "a start folder that is a file", .verb = ML, .request = L"{dir}\\sub\\a.c",
      .steps = L"pick a.c;answer ok;cancel", .setup = L"put {dir}\\sub\\a.c=a" },
    // 32 + 202 + 41 characters: past the dialogs' limit of 258.
    { .name = "a start folder too long for the dialog opens by its short path", .verb = ML,
      .request = DEEP L"\\" Z10 Z10 Z10 Z10, .steps = L"looking " Z10 Z10 Z10 Z10 L";cancel",
      .setup = L"put " DEEP L"\\" Z10 Z10 Z10 Z10 L"\\inside.c=in", .onWindows = L"8.3" },
    { .name = "a start folder named in the code page", .verb = ML, .request = L"{dir}\\M\u00fcller",
      .steps = L"pick inside.c", .reply = L"{dir}\\M\u00fcller\\inside.c",
      .setup = L"put {dir}\\M\u00fcller\\inside.c=in" },
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
    { .name = "module list: a start folder and a name with trail bytes", .verb = ML,
      .request = L"{dir}\\" TRAIL, .steps = L"pick " TRAIL L".c",
      .reply = L"{dir}\\" TRAIL L"\\" TRAIL L".c",
      .setup = L"put {dir}\\" TRAIL L"\\" TRAIL L".c=in" },
    { .name = "module list: a request block without its NUL is cut at its last byte", .verb = ML,
      .request = L"block:" TRAIL50, .steps = L"pick a.c", .reply = TRAIL50 L"\\a.c",
      .setup = L"put " TRAIL50 L"\\a.c=in" },
};
ROWS(CodePage936);
