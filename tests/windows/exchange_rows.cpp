// The exchange file under faults, and on a full drive.
#include "rows.h"

// The exchange file under faults: never a wrong or partial reply, never a
// silent loss, never a write through a link.
const Row Exchange[] = {
    { "a read-only request is still consumed", ML, DIR, L"pick " BLINKY, PICKED, 0,
      L"readonly C:\\FILE" },
    { "a request held without delete sharing is reported and left", ML, DIR,
      L"warn could not be taken", 0, L"C:\\FILE=*", L"hold C:\\FILE" },
    { "a request held with delete sharing is taken all the same", ML, DIR, L"pick " BLINKY,
      PICKED, 0, L"holdshared C:\\FILE" },
    { "an older file still shown at the name once the request is taken is told", ML, DIR,
      L"warn An administrator must delete C:\\FILE", 0, L"C:\\FILE=old-reply", L"behind old-reply" },
    // Where deletes are POSIX deletes (NTFS, Windows 10 1607 and later),
    // the name is free at once: the request is taken and the dialog opens.
    { "... but not when it cannot be renamed aside: its name stays taken", ML, DIR,
      L"warn could not be taken", 0, L"C:\\FILE.old=/", L"mkdir C:\\FILE.old;holdshared C:\\FILE",
      {}, L"instead cancel" },
    { "a folder takes the reply's place meanwhile: access denied, with advice", ML, DIR,
      L"mkdir C:\\FILE;pick " BLINKY L";warn give users that right on C:\\", 0, L"C:\\FILE=/" },
    { "a folder at the pending name", LD, DIR, L"pick " HEX L";warn could not be written", 0,
      L"C:\\FILE.new=/", L"mkdir C:\\FILE.new" },
    { "a read-only leftover at the pending name is replaced", ML, DIR, L"pick " BLINKY, PICKED,
      0, L"put C:\\FILE.new=stale;readonly C:\\FILE.new" },
    // As a virus scanner holds a file for a moment.
    { "a pending name held for a moment is waited for", ML, DIR,
      L"hold 300 C:\\FILE.new;pick " BLINKY, PICKED },
    { "a symbolic link at the pending name is left alone", ML, DIR,
      L"pick " BLINKY L";warn could not be written", 0,
      L"{dir}\\target.txt=keep;C:\\FILE.new=keep",
      L"put {dir}\\target.txt=keep;symlink C:\\FILE.new>{dir}\\target.txt" },
};
ROWS(Exchange);

// Run on a prefix whose C: is a small drive (tests/windows/full-disk.sh).
const Row FullDisk[] = {
    { "module list", ML, DIR, L"fill;pick " BLINKY L";warn could not be written" },
};
ROWS(FullDisk);
