// The dump and log files.
#include "rows.h"

// A row keeps its fields in groups of a line, as written.
// clang-format off

// After: "=TEXT" the picked file holds TEXT. Device names are refused (the
// user is told and chooses again); the stand-ins the test prefix maps COM1
// and LPT1 to stay empty. Where the system takes a device name with a
// folder or an extension for a plain file (as GetFullPathNameW reports it;
// Windows 11 is said to), it is one.
const Row Dump[] = {
    { .name = "save: a new name is created empty", .verb = DS, .request = L"0",
      .steps = L"title Save Dump As;types Intel Hex (*.hex);pick {dir}\\Saved dump.hex",
      .reply = PICKED, .after = L"=" },
    { .name = "save: No to replacing keeps the file", .verb = DS, .request = L"0",
      .steps = L"pick {dir}\\old dump.hex;answer no;cancel", .after = L"=old dump.hex" },
    // Windows refuses to shorten a file that another program has mapped.
    { .name = "save: a replaced file that cannot be emptied is told, and given", .verb = DS,
      .request = L"0", .steps = L"pick {dir}\\old dump.hex;answer yes;warn could not be emptied",
      .reply = PICKED, .after = L"=old dump.hex", .setup = L"map {dir}\\old dump.hex" },
    // One box, then the dialog again; a cancel there is a cancel.
    { .name = "save: a name in a missing folder is told, then cancelled", .verb = DS,
      .request = L"0", .steps = L"pick {dir}\\nosuch\\new.hex;warn could not be created;cancel",
      .after = L"{dir}\\nosuch=!" },
    { .name = "load: a missing file is refused by the dialog", .verb = DS, .request = L"1",
      .steps = L"title Load Dump File;pick {dir}\\no such dump.hex;answer ok;cancel", .after = L"=!" },
    { .name = "log: a new log is created empty", .verb = DS, .request = L"2",
      .steps = L"title Save Dump As;types Log file (*.log);pick {dir}\\new trace.log",
      .reply = PICKED, .after = L"=" },
    { .name = "log: an existing log is emptied without asking", .verb = DS, .request = L"2",
      .steps = L"pick {dir}\\old dump.hex", .reply = PICKED, .after = L"=" },
    { .name = "log: one that cannot be opened for writing keeps its content, without a word",
      .verb = DS, .request = L"2", .steps = L"pick {dir}\\old dump.hex", .reply = PICKED,
      .after = L"=old dump.hex", .setup = L"hold {dir}\\old dump.hex" },
    { .name = "log: a name in a missing folder is told, then another chosen", .verb = DS,
      .request = L"2",
      .steps = L"pick {dir}\\nosuch\\new.log;warn The folder does not exist;pick {dir}\\new.log",
      .reply = PICKED, .after = L"=" },
    { .name = "log: a path too long for the dialog is reported", .verb = DS, .request = L"2",
      .steps = L"pick {dir}\\{len:258}.log;warn GetOpenFileName returned Error #12291" },
    { .name = "log: omega beside its look-alike", .verb = DS, .request = L"2",
      .steps = L"pick {dir}\\" OMEGA L"log.log", .reply = PICKED,
      .after = L"=;{dir}\\Olog.log=Olog.log", .onWindows = L"8.3" },
    { .name = "log: a device under a folder is refused, then a file chosen", .verb = DS,
      .request = L"2", .steps = L"pick {dir}\\COM1.log;warn is a device;pick {dir}\\after.log",
      .reply = PICKED, .after = L"=;C:\\stand-ins\\com1=;C:\\stand-ins\\lpt1=",
      .onWindows = L"file {dir}\\COM1.log: pick {dir}\\COM1.log" },
    { .name = "mode 3 touches nothing", .verb = DS, .request = L"3",
      .steps = L"types Intel Hex (*.hex);pick {dir}\\old dump.hex", .reply = PICKED,
      .after = L"=old dump.hex" },
    { .name = "mode 5: a new name gets no reply and no word", .verb = DS, .request = L"5",
      .steps = L"pick {dir}\\new.hex", .after = L"=!" },
};
ROWS(Dump);
