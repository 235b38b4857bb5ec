// The exchange file under faults, and on a full drive.
#include "rows.h"

// A row keeps its fields in groups of a line, as written.
// clang-format off

// The exchange file under faults: never a wrong or partial reply, never a
// silent loss, never a write through a link.
const Row Exchange[] = {
    { .name = "a read-only request is still consumed", .verb = ML, .request = DIR,
      .steps = L"pick " BLINKY, .reply = PICKED, .setup = L"readonly C:\\FILE" },
    { .name = "a request held without delete sharing is reported and left", .verb = ML,
      .request = DIR, .steps = L"warn could not be taken", .after = L"C:\\FILE=*",
      .setup = L"hold C:\\FILE" },
    { .name = "a request held with delete sharing is taken all the same", .verb = ML, .request = DIR,
      .steps = L"pick " BLINKY, .reply = PICKED, .setup = L"holdshared C:\\FILE" },
    { .name = "an older file still shown at the name once the request is taken is told", .verb = ML,
      .request = DIR, .steps = L"warn An administrator must delete C:\\FILE",
      .after = L"C:\\FILE=old-reply", .setup = L"behind old-reply" },
    // Where deletes are POSIX deletes (NTFS, Windows 10 1607 and later),
    // the name is free at once: the request is taken and the dialog opens.
    { .name = "... but not when it cannot be renamed aside: its name stays taken", .verb = ML,
      .request = DIR, .steps = L"warn could not be taken", .after = L"C:\\FILE.old=/",
      .setup = L"mkdir C:\\FILE.old;holdshared C:\\FILE", .onWindows = L"instead cancel" },
    { .name = "a folder takes the reply's place meanwhile: access denied, with advice", .verb = ML,
      .request = DIR, .steps = L"mkdir C:\\FILE;pick " BLINKY L";warn give users that right on C:\\",
      .after = L"C:\\FILE=/" },
    { .name = "a folder at the pending name", .verb = LD, .request = DIR,
      .steps = L"pick " HEX L";warn could not be written", .after = L"C:\\FILE.new=/",
      .setup = L"mkdir C:\\FILE.new" },
    { .name = "a read-only leftover at the pending name is replaced", .verb = ML, .request = DIR,
      .steps = L"pick " BLINKY, .reply = PICKED,
      .setup = L"put C:\\FILE.new=stale;readonly C:\\FILE.new" },
    // As a virus scanner holds a file for a moment.
    { .name = "a pending name held for a moment is waited for", .verb = ML, .request = DIR,
      .steps = L"hold 300 C:\\FILE.new;pick " BLINKY, .reply = PICKED },
    { .name = "a symbolic link at the pending name is left alone", .verb = ML, .request = DIR,
      .steps = L"pick " BLINKY L";warn could not be written",
      .after = L"{dir}\\target.txt=keep;C:\\FILE.new=keep",
      .setup = L"put {dir}\\target.txt=keep;symlink C:\\FILE.new>{dir}\\target.txt" },
};
ROWS(Exchange);

// Run on a prefix whose C: is a small drive (tests/windows/full-disk.sh).
const Row FullDisk[] = {
    { .name = "module list", .verb = ML, .request = DIR,
      .steps = L"fill;pick " BLINKY L";warn could not be written" },
};
ROWS(FullDisk);
