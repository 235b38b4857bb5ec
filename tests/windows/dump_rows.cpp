// The dump and log files.
#include "rows.h"

// After: "=TEXT" the picked file holds TEXT. Device names are refused (the
// user is told and chooses again); the stand-ins the test prefix maps COM1
// and LPT1 to stay empty. Where the system takes a device name with a
// folder or an extension for a plain file (as GetFullPathNameW reports it;
// Windows 11 is said to), it is one.
const Row Dump[] = {
    { "save: a new name is created empty", DS, L"0",
      L"title Save Dump As;types Intel Hex (*.hex);pick {dir}\\Saved dump.hex", PICKED, L"=" },
    { "save: No to replacing keeps the file", DS, L"0", L"pick {dir}\\old dump.hex;answer no;cancel",
      0, L"=old dump.hex" },
    // Windows refuses to shorten a file that another program has mapped.
    { "save: a replaced file that cannot be emptied is told, and given", DS, L"0",
      L"pick {dir}\\old dump.hex;answer yes;warn could not be emptied", PICKED, L"=old dump.hex",
      L"map {dir}\\old dump.hex" },
    // One box, then the dialog again; a cancel there is a cancel.
    { "save: a name in a missing folder is told, then cancelled", DS, L"0",
      L"pick {dir}\\nosuch\\new.hex;warn could not be created;cancel", 0, L"{dir}\\nosuch=!" },
    { "load: a missing file is refused by the dialog", DS, L"1",
      L"title Load Dump File;pick {dir}\\no such dump.hex;answer ok;cancel", 0, L"=!" },
    { "log: a new log is created empty", DS, L"2",
      L"title Save Dump As;types Log file (*.log);pick {dir}\\new trace.log", PICKED, L"=" },
    { "log: an existing log is emptied without asking", DS, L"2",
      L"pick {dir}\\old dump.hex", PICKED, L"=" },
    { "log: one that cannot be opened for writing keeps its content, without a word", DS, L"2",
      L"pick {dir}\\old dump.hex", PICKED, L"=old dump.hex", L"hold {dir}\\old dump.hex" },
    { "log: a name in a missing folder is told, then another chosen", DS, L"2",
      L"pick {dir}\\nosuch\\new.log;warn The folder does not exist;pick {dir}\\new.log", PICKED,
      L"=" },
    { "log: a path too long for the dialog is reported", DS, L"2",
      L"pick {dir}\\{len:258}.log;warn GetOpenFileName returned Error #12291" },
    { "log: omega beside its look-alike", DS, L"2", L"pick {dir}\\" OMEGA L"log.log", PICKED,
      L"=;{dir}\\Olog.log=Olog.log", 0, {}, L"8.3" },
    { "log: a device under a folder is refused, then a file chosen", DS, L"2",
      L"pick {dir}\\COM1.log;warn is a device;pick {dir}\\after.log", PICKED,
      L"=;C:\\stand-ins\\com1=;C:\\stand-ins\\lpt1=", 0, {}, L"file {dir}\\COM1.log: pick {dir}\\COM1.log" },
    { "mode 3 touches nothing", DS, L"3", L"types Intel Hex (*.hex);pick {dir}\\old dump.hex",
      PICKED, L"=old dump.hex" },
    { "mode 5: a new name gets no reply and no word", DS, L"5", L"pick {dir}\\new.hex", 0, L"=!" },
};
ROWS(Dump);
