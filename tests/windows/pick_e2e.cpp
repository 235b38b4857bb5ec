// The three verbs from end to end through the real dialogs, one table per
// family of behaviour (see support/e2e.h for the columns and the steps).
#include "support/e2e.h"

namespace e2e {
namespace {

#define ML L"DoModuleListFile"
#define LD L"DoLoadDebugFile"
#define DS L"DoSetDumpFile"
#define DIR L"dir:{dir}"
#define CYRILLIC L"\u0416\u0443\u0440\u043d\u0430\u043b"  // outside code page 1252
#define CHINESE L"\u4e2d\u6587"
#define OMEGA L"\u03a9"  // best fit in 1252: "O"
#define HEX L"{dir}\\Blinky debug output.hex"
#define BLINKY L"{dir}\\blinky.c"
#define LOAD_TYPES                                                                    \
    L"types KEIL,IAR UBROF,IAR banked,BSO/Tasking OMF,BSO/Tasking IEEE695,Old BSO," \
    L"2500AD,Intel ASM/PLM51,MetaLink ASM51,MCC Software,OMF51 Format,FOMF,Intel Hex"
#define KEIL { 1, 0, 0 }
#define PICKED L"*"  // the reply: of the file picked last
#define SUB3 L"\\sub folder\\sub folder\\sub folder"
#define DEEP L"{dir}" SUB3 SUB3 SUB3 SUB3 SUB3 SUB3 L"\\{len:250}.hex"  // 18 folders
// 30 folders "a b": 157 characters, but Wine's short form (A_B~~GOE) is over 300.
#define AB5 L"\\a b\\a b\\a b\\a b\\a b"
#define SHORT_TOO_LONG L"{dir}" AB5 AB5 AB5 AB5 AB5 AB5 L"\\x y.c"

const Row ModuleList[] = {
    { "opens titled in the requested folder on C files", ML, DIR,
      L"title Module List Files;types C file (*.c),List file (*.lst),All Files (*.*);"
      L"pick Blinky main module listing.lst", L"{dir}\\Blinky main module listing.lst" },
    { "cancel", ML, DIR, L"cancel" },
    { "a request without NUL is read within its block", ML, L"raw:nonul", L"pick " BLINKY, PICKED },
    { "a missing name is refused by the dialog", ML, DIR, L"pick {dir}\\no such.c;answer 1;cancel",
      0, L"=!" },
    { "a Cyrillic name", ML, DIR, L"pick {dir}\\" CYRILLIC L".lst", PICKED },
    { "omega beside its look-alike", ML, DIR, L"pick {dir}\\" OMEGA L"mega.c", PICKED,
      L"{dir}\\Omega.c=Omega.c" },
    { "an ANSI name beyond ASCII", ML, DIR, L"pick {dir}\\M\u00fcller \u00dcberlauf.lst", PICKED },
    { "a stale reply put in place meanwhile is replaced", ML, DIR,
      L"put C:\\FILE=stale;pick " BLINKY, PICKED },
    { "a short path too long for the reply is told", ML, DIR,
      L"pick " SHORT_TOO_LONG L";warn too long for the debugger", 0, 0,
      L"put " SHORT_TOO_LONG L"=deep" },
};
RUN_ROWS(ModuleList, ModuleList)

const Row LoadDebugFile[] = {
    { "opens with the template on KEIL", LD, DIR,
      L"title File Open;" LOAD_TYPES L";enabled 4392 0;cancel" },
    { "toggled boxes", LD, DIR, L"click 4391;click 4390;pick " HEX, PICKED, 0, 0, { 0, 1, 0 } },
    { "a bare name opens in the requested folder", LD, DIR, L"pick Blinky debug output.hex",
      HEX, 0, 0, KEIL },
    { "a path cut by the old-style dialog gets no reply", LD, DIR, L"pick {dir}\\{len:258}.hex",
      0, 0, L"put {dir}\\{len:258}.hex=x" },
    { "a Cyrillic name", LD, DIR, L"pick {dir}\\" CYRILLIC L".lst", PICKED, 0, 0, KEIL },
    { "a Chinese name as Intel Hex, the boxes untouched", LD, DIR,
      L"type 12;pick {dir}\\" CHINESE L".hex", PICKED, 0, 0, { 1, 0, 8 } },
    { "omega beside its look-alike", LD, DIR, L"pick {dir}\\" OMEGA L"mega.c", PICKED,
      L"{dir}\\Omega.c=Omega.c", 0, KEIL },
};
RUN_ROWS(LoadDebugFile, LoadDebugFile)

// After: "=TEXT" the picked file holds TEXT.
const Row Dump[] = {
    { "save: a new name is created empty", DS, L"mode:0",
      L"title Save Dump As;types Intel Hex (*.hex);pick {dir}\\Saved dump.hex", PICKED, L"=" },
    { "save: Yes to replacing empties the file", DS, L"mode:0",
      L"pick {dir}\\old dump.hex;answer 6", PICKED, L"=" },
    { "save: No keeps the file", DS, L"mode:0", L"pick {dir}\\old dump.hex;answer 7;cancel", 0,
      L"=old dump.hex" },
    { "save: a Cyrillic new name", DS, L"mode:0", L"pick {dir}\\" CYRILLIC L".hex", PICKED, L"=" },
    { "save: omega beside its look-alike", DS, L"mode:0", L"pick {dir}\\" OMEGA L"dump.hex", PICKED,
      L"=;{dir}\\Odump.hex=keep", L"put {dir}\\Odump.hex=keep" },
    { "load: a missing file is refused by the dialog", DS, L"mode:1",
      L"title Load Dump File;pick {dir}\\no such dump.hex;answer 1;cancel", 0, L"=!" },
    { "load: a Chinese name", DS, L"mode:1", L"pick {dir}\\" CHINESE L".hex", PICKED,
      L"=" CHINESE L".hex" },
    { "load: a deep folder near the dialog's limit", DS, L"mode:1", L"pick " DEEP, PICKED, 0,
      L"put " DEEP L"=x" },
    { "log: a new log is created empty", DS, L"mode:2",
      L"title Save Dump As;types Log file (*.log);pick {dir}\\new trace.log", PICKED, L"=" },
    { "log: an existing log is emptied without asking", DS, L"mode:2",
      L"pick {dir}\\session trace.log", PICKED, L"=" },
    { "log: one that cannot be written keeps its content and is replied", DS, L"mode:2",
      L"pick {dir}\\session trace.log", PICKED, L"=session trace.log",
      L"hold {dir}\\session trace.log" },
    { "log: a path too long for the dialog is reported", DS, L"mode:2",
      L"pick {dir}\\{len:258}.log;warn GetOpenFileName returned Error #12291" },
    { "log: a Chinese new name", DS, L"mode:2", L"pick {dir}\\" CHINESE L".log", PICKED, L"=" },
    { "log: omega beside its look-alike", DS, L"mode:2", L"pick {dir}\\" OMEGA L"log.log", PICKED,
      L"=;{dir}\\Olog.log=Olog.log" },
    { "mode 5: a new name writes nothing", DS, L"mode:5",
      L"title Save Dump As;types Intel Hex (*.hex);pick {dir}\\new.hex", 0, L"=!" },
    { "mode 3 touches nothing", DS, L"mode:3", L"pick {dir}\\old dump.hex", PICKED,
      L"=old dump.hex" },
    { "the lowest mode touches nothing", DS, L"mode:-2147483648", L"pick {dir}\\old dump.hex",
      PICKED, L"=old dump.hex" },
};
RUN_ROWS(Dump, Dump)

// Command lines as the host writes them (the rules of the tail are tested
// natively); an unknown verb leaves the request.
const Row CommandLines[] = {
    { "the verb right after the closing quote", L"\"{picker}\"DoModuleListFile", 0, 0 },
    { "another letter case", L"domodulelistfile", DIR, L"exit 0", 0, L"C:\\FILE=*" },
};
RUN_ROWS(CommandLines, CommandLines)

// Short requests never show a dialog; the request is consumed all the same.
const Row Requests[] = {
    { "module list, 299 bytes", ML, L"raw:299" }, { "load, 299 bytes", LD, L"raw:299" },
    { "dump, 3 bytes", DS, L"raw:3" },
};
RUN_ROWS(Requests, Requests)

// Start folders: whatever the host sends, the dialog opens (in the folder
// when it is one), for both verbs that take one.
#define START(name, request)                                                    \
    { "module list: " name, ML, request, L"pick " BLINKY, PICKED },             \
    { "load: " name, LD, request, L"pick " BLINKY, PICKED, 0, 0, KEIL }
const Row StartFolders[] = {
    START("an empty text", L"dir:"),
    START("258 characters", L"dir:C:\\{len:258}"),
    START("NUL", L"dir:NUL"),
    START("COM1", L"dir:COM1"),
    START("a device under a folder", L"dir:C:\\t\\aux.hex"),
    { "module list: a folder named in the code page", ML, L"dir:{dir}\\M\u00fcller",
      L"pick inside.c", L"{dir}\\M\u00fcller\\inside.c", 0,
      L"put {dir}\\M\u00fcller\\inside.c=in" },
    { "load: a folder named in the code page", LD, L"dir:{dir}\\M\u00fcller",
      L"pick inside.c", L"{dir}\\M\u00fcller\\inside.c", 0,
      L"put {dir}\\M\u00fcller\\inside.c=in", KEIL },
};
RUN_ROWS(StartFolders, StartFolders)

// Device names are refused (the user is told and chooses again); the
// stand-ins the test prefix maps COM1 and LPT1 to stay empty.
#define STAND_INS L"C:\\stand-ins\\com1=;C:\\stand-ins\\lpt1="
const Row Devices[] = {
    { "lpt1 as a dump", DS, L"mode:0", L"pick lpt1;answer 6;warn is a device;cancel", 0,
      STAND_INS },
    { "prn.hex to load", DS, L"mode:1", L"pick prn.hex;warn is a device;cancel", 0, STAND_INS },
    { "aux.hex under a folder", DS, L"mode:2", L"pick C:\\t\\aux.hex;warn is a device;cancel", 0,
      STAND_INS },
    { "COM1.log under a folder", DS, L"mode:2", L"pick C:\\t\\COM1.log;warn is a device;cancel",
      0, STAND_INS },
    { "choosing again after the refusal", DS, L"mode:2",
      L"pick NUL;warn is a device;pick {dir}\\after.log", PICKED, L"=" },
    { "NUL as a module list", ML, DIR, L"pick NUL;warn is a device;cancel" },
    { "NUL as a debug file", LD, DIR, L"pick NUL;warn is a device;cancel" },
};
RUN_ROWS(Devices, Devices)

// The exchange file under faults: never a wrong or partial reply, never a
// silent loss, never a write through a link.
const Row Exchange[] = {
    { "a read-only request is still consumed", ML, DIR, L"pick " BLINKY, PICKED, 0,
      L"readonly C:\\FILE" },
    { "a request held without delete sharing is reported and left", ML, DIR,
      L"warn could not be taken", 0, L"C:\\FILE=*", L"hold C:\\FILE" },
    { "a request held with delete sharing is taken all the same", ML, DIR, L"pick " BLINKY,
      PICKED, 0, L"holdshared C:\\FILE" },
    { "... but not when it cannot be renamed aside: its name stays taken", ML, DIR,
      L"warn could not be taken", 0, L"C:\\FILE.old=/", L"mkdir C:\\FILE.old;holdshared C:\\FILE" },
    { "a folder takes the reply's place meanwhile", ML, DIR,
      L"mkdir C:\\FILE;pick " BLINKY L";warn could not be written", 0, L"C:\\FILE=/" },
    { "a folder at the pending name", LD, DIR, L"pick " HEX L";warn could not be written", 0,
      L"C:\\FILE.new=/", L"mkdir C:\\FILE.new" },
    { "the pending name held by another program", DS, L"mode:2",
      L"pick {dir}\\session trace.log;warn could not be written", 0,
      L"C:\\FILE.new=;{dir}\\session trace.log=", L"hold C:\\FILE.new" },
    { "a read-only leftover at the pending name is replaced", ML, DIR, L"pick " BLINKY, PICKED,
      0, L"put C:\\FILE.new=stale;readonly C:\\FILE.new" },
    { "a hard link at the pending name is not written through", ML, DIR, L"pick " BLINKY,
      PICKED, L"{dir}\\target.txt=keep",
      L"put {dir}\\target.txt=keep;hardlink C:\\FILE.new>{dir}\\target.txt" },
    { "a symbolic link at the pending name is left alone", ML, DIR,
      L"pick " BLINKY L";warn could not be written", 0,
      L"{dir}\\target.txt=keep;C:\\FILE.new=keep",
      L"put {dir}\\target.txt=keep;symlink C:\\FILE.new>{dir}\\target.txt" },
};
RUN_ROWS(Exchange, Exchange)

// Run on a prefix whose C: is a small drive (tests/windows/full-disk.sh).
const Row FullDisk[] = {
    { "module list", ML, DIR, L"fill;pick " BLINKY L";warn could not be written" },
    { "load", LD, DIR, L"fill;pick " HEX L";warn could not be written" },
    { "log", DS, L"mode:2", L"fill;pick {dir}\\new.log;warn could not be written", 0, L"=" },
};
RUN_ROWS(FullDisk, FullDisk)

// Run with the ANSI code page 936, whose trail bytes include 0x5C ('\') and
// 0x7C ('|'): both characters below have one of them.
#define TRAIL L"\u4e57\u5104"
const Row CodePage936[] = {
    { "module list: a start folder and a name with trail bytes", ML, L"dir:{dir}\\" TRAIL,
      L"pick " TRAIL L".c", L"{dir}\\" TRAIL L"\\" TRAIL L".c", 0,
      L"put {dir}\\" TRAIL L"\\" TRAIL L".c=in" },
    { "load: a start folder and a name with trail bytes", LD, L"dir:{dir}\\" TRAIL,
      L"pick " TRAIL L".c", L"{dir}\\" TRAIL L"\\" TRAIL L".c", 0,
      L"put {dir}\\" TRAIL L"\\" TRAIL L".c=in", KEIL },
    { "save: a new name with trail bytes", DS, L"mode:0", L"pick {dir}\\" TRAIL L".hex", PICKED,
      L"=" },
    { "log: a new name with trail bytes", DS, L"mode:2", L"pick {dir}\\" TRAIL L".log", PICKED,
      L"=" },
    { "a Korean name", ML, DIR, L"pick {dir}\\\ud55c\uad6d.c", PICKED, 0,
      L"put {dir}\\\ud55c\uad6d.c=ko" },
};
RUN_ROWS(CodePage936, CodePage936)

}  // namespace
}  // namespace e2e
