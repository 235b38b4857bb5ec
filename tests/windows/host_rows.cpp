// The host companion and the sample host.
#include "rows.h"

// A row keeps its fields in groups of a line, as written.
// clang-format off

#define CYRILLIC_IN_DIR L"{dir}\\" CYRILLIC
#define D100 L"dddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddd"
#define E100 L"eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee"
#define DOCTOR_OK(name) L"\"name\":\"" name L"\",\"status\":\"ok\"|"
const HostRow HostCompanion[] = {
    { .name = "the exported dialog, \"Options...\" enabled, fills the caller's words with its full path",
      .arguments = L"--module --steps \"click options;click symbol-only;click startup-skip\" --type 13 "
                   L"--choose \"{dir}\\blinky.c\" DoLoadDebugFile \"{dir}\"",
      .status = 0,
      .output = L"file name:    {long}|startup skip: 0|symbol only:  1|format:       8 (Intel Hex)",
      .chosen = L"{dir}\\blinky.c" },
    { .name = "the exported dialog gives the short path of a name outside the code page",
      .arguments = L"--module --choose \"" CYRILLIC_IN_DIR L".lst\" DoLoadDebugFile \"{dir}\"",
      .status = 0, .output = L"file name:    {short}", .chosen = CYRILLIC_IN_DIR L".lst",
      .onWindows = L"8.3" },
    // As the command: a name that is no existing file is told, and the
    // dialog shown again. Windows' own dialog refuses such names itself.
    { .name = "the exported dialog tells a name that does not exist, then gives the file chosen",
      .arguments = L"--module --steps \"pick {dir}\\mega.c;warn does not exist\" --choose \"{dir}\\blinky.c\" "
                   L"DoLoadDebugFile \"{dir}\"",
      .status = 0, .output = L"file name:    {long}", .chosen = L"{dir}\\blinky.c",
      .onWindows = L"skip Windows' old-style dialog refuses a name that does not exist in a box of its own" },
    { .name = "the exported dialog gives no path that it cut",
      .arguments = L"--module --steps \"pick {dir}\\{len:258}.hex;"
                   L"warn does not exist;cancel\" DoLoadDebugFile \"{dir}\"",
      .status = 1, .output = L"No file was chosen (LoadDebugFile returned 0)",
      .setup = L"put {dir}\\{len:258}.hex=x",
      .onWindows = L"skip Windows' dialogs report a path too long for their buffer instead of cutting it" },
    // A best-fit form would open a look-alike folder: the short path is sent.
    { .name = "a start folder outside the code page is sent by its short path",
      .arguments = L"--choose main.c " ML L" \"" CYRILLIC_IN_DIR L"\"", .status = 0,
      .output = L"short path:   {short}", .chosen = CYRILLIC_IN_DIR L"\\main.c",
      .setup = L"put " CYRILLIC_IN_DIR L"\\main.c=m", .onWindows = L"8.3" },
    { .name = "the exported dialog cancelled leaves the caller's words alone",
      .arguments = L"--module --steps \"click 4390;cancel\" DoLoadDebugFile \"{dir}\"", .status = 1,
      .output = L"No file was chosen (LoadDebugFile returned 0)|startup skip: -1|symbol only:  -1|"
                L"format:       -1" },
    // What filepick-host says of itself is true, once.
    { .name = "an unknown verb is said as such, whatever the options",
      .arguments = L"--choose \"{dir}\\blinky.c\" NoSuchVerb", .status = 2,
      .output = L"did not know the verb NoSuchVerb|!did not appear" },
    { .name = "a step that cannot be done is the one reason",
      .arguments = L"--json --steps \"click options\" DoLoadDebugFile \"{dir}\"", .status = 3,
      .output = L"{\"verb\":\"DoLoadDebugFile\",\"status\":\"could-not-run\",\"reason\":\"the step "
                L"\\\"click options\\\" could not be done\"}|!did not appear" },
    { .name = "a verb with a best-fit look-alike of a verb is unknown",
      .arguments = L"DoS\u0113tDumpFile 2", .status = 2,
      .output = L"did not know the verb DoS\u0113tDumpFile", .after = L"C:\\FILE=!" },
    { .name = "a file type the dialog lacks is a step that cannot be done",
      .arguments = L"--type 99 --choose \"{dir}\\blinky.c\" DoModuleListFile \"{dir}\"", .status = 3,
      .output = L"the dialog has no file type 99", .after = L"C:\\FILE=!" },
    { .name = "a usage error says what was wrong", .arguments = L"--timeout 0 DoModuleListFile",
      .status = 3,
      .output = L"filepick-host: --timeout takes whole seconds from 1 to 86400, not \"0\"\r\nusage:" },
    { .name = "a wait that runs out names the box that was open",
      .arguments = L"--timeout 3 --choose \"{dir}\\old dump.hex\" DoSetDumpFile 0", .status = 3,
      .output = L"did not end in time and was stopped (open: a box \"" },
    { .name = "a picture named .png is a PNG",
      .arguments = L"--screenshot \"{dir}\\dialog.png\" --choose \"{dir}\\blinky.c\" DoModuleListFile \"{dir}\"",
      .status = 0, .output = L"short path:", .after = L"{dir}\\dialog.png^89504E470D0A1A0A" },
    // The doctor: every check once, and what it must never do.
    { .name = "the doctor on a clean machine: all ok, or unknown where Wine cannot tell",
      .arguments = L"--doctor --json \"{dir}\"", .status = 0,
      .output = DOCTOR_OK(L"picker") DOCTOR_OK(L"exchange") L"\"name\":\"virtualization\",\"status\":\"unknown\"|"
                // The probe's own short name: the folders above it have theirs.
                DOCTOR_OK(L"short-names") L"makes 8.3 names (a new file in the project folder got the short name FILE~|"
                DOCTOR_OK(L"folder-names") DOCTOR_OK(L"code-pages")
                DOCTOR_OK(L"dialogs") L"],\"status\":\"ok\"}",
      .after = L"C:\\filepick-doctor.probe=!;C:\\filepick-doctor.probe.renamed=!;"
               L"{dir}\\filepick doctor probe.tmp=!;C:\\FILE=!;C:\\FILE.old=!",
      // Whether a volume makes 8.3 names is the machine's choice (hosted
      // runners make none): not looked at there.
      .onWindows = L"instead " DOCTOR_OK(L"picker") DOCTOR_OK(L"exchange")
                   DOCTOR_OK(L"folder-names") DOCTOR_OK(L"code-pages") DOCTOR_OK(L"dialogs") },
    { .name = "the doctor leaves a pending request alone", .arguments = L"--doctor \"{dir}\"",
      .status = 0, .output = L"warn     exchange        C:\\FILE (|skipped  dialogs",
      .setup = L"put C:\\FILE=pending request", .after = L"C:\\FILE=pending request" },
    { .name = "the doctor reports a VirtualStore copy, where virtualization is unknown too",
      .arguments = L"--doctor \"{dir}\"", .status = 0,
      .output = L"warn     virtualization|VirtualStore copy {store}\\FILE (",
      .setup = L"put {store}\\FILE=old reply",
      .onWindows = L"instead VirtualStore copy {store}\\FILE (" },
    { .name = "the doctor counts and names a file whose short path cannot fit",
      .arguments = L"--doctor \"{dir}\"", .status = 0,
      .output = L"warn     folder-names    1 of 7 files|+\\x.c", .setup = L"put " PLUS100 L"=deep",
      .onWindows = L"8.3" },
    { .name = "the doctor counts the files in folders past MAX_PATH",
      .arguments = L"--doctor \"{dir}\"", .status = 0,
      .output = L"warn     folder-names    1 of 7 files|x.c (its path is longer than the dialogs take)",
      .setup = L"put {dir}\\" D100 L"\\" E100 L"\\" D100 L"\\x.c=deep" },
    { .name = "the doctor fails where C:\\ refuses its probe, and says what to do",
      .arguments = L"--doctor --json \"{dir}\"", .status = 1,
      .output = L"\"name\":\"exchange\",\"status\":\"fail\",\"found\":\"this user could not create a file in "
                L"C:\\\\ (C:\\\\filepick-doctor.probe)|\"advice\":\"Remove what stands at "
                L"C:\\\\filepick-doctor.probe|\"status\":\"fail\"}",
      .setup = L"mkdir C:\\filepick-doctor.probe", .after = L"C:\\filepick-doctor.probe=/" },
    { .name = "the doctor names what stands at its probe's new name",
      .arguments = L"--doctor --json \"{dir}\"", .status = 1,
      .output = L"could not rename a file in C:\\\\ (C:\\\\filepick-doctor.probe.renamed)|\"advice\":\"Remove what "
                L"stands at C:\\\\filepick-doctor.probe.renamed",
      .setup = L"mkdir C:\\filepick-doctor.probe.renamed",
      .after = L"C:\\filepick-doctor.probe.renamed=/",
      .onWindows = L"skip what a rename onto a real folder in C:\\ answers under UAC virtualization is not "
                   L"documented" },
    { .name = "the doctor fails on a project folder that does not exist",
      .arguments = L"--doctor --json \"{dir}\\nosuch\"", .status = 1,
      .output = L"\"name\":\"folder-names\",\"status\":\"fail\",\"found\":\"the project folder "
                L"C:\\\\filepick-tests\\\\|nosuch does not exist\"" },
    { .name = "the doctor fails on a folder at the pending reply's name",
      .arguments = L"--doctor --json \"{dir}\"", .status = 1,
      .output = L"\"name\":\"exchange\",\"status\":\"fail\",\"found\":\"a folder stands at C:\\\\FILE.new: "
                L"every run of filepick fails",
      .setup = L"mkdir C:\\FILE.new", .after = L"C:\\FILE.new=/" },
    // Its output to a file is UTF-8, as the JSON: never a look-alike.
    { .name = "the doctor's text keeps a Greek folder name",
      .arguments = L"--doctor \"{dir}\\" OMEGA L"proj\"", .status = 0,
      .output = L"\\" OMEGA L"proj and its subfolders|!\\Oproj",
      .setup = L"mkdir {dir}\\" OMEGA L"proj" },
    { .name = "filepick-host gives the reason it cannot write the request",
      .arguments = ML L" \"{dir}\"", .status = 3, .output = L"cannot write C:\\FILE: ",
      .setup = L"mkdir C:\\FILE.new", .after = L"C:\\FILE.new=/" },
    // Whoever writes a request removes it where the picker cannot start.
    { .name = "filepick-host with no filepick.exe beside it leaves no request",
      .arguments = ML L" \"{dir}\"", .status = 3, .output = L"cannot start",
      .setup = L"copy {tests}\\filepick-host.exe>{dir}\\alone\\filepick-host.exe",
      .after = L"C:\\FILE=!", .program = L"{dir}\\alone\\filepick-host.exe" },
    { .name = "the doctor with no filepick.exe opens no dialog, and leaves no request",
      .arguments = L"--doctor --json \"{dir}\"", .status = 1,
      .output = L"\"name\":\"dialogs\",\"status\":\"skipped\",\"found\":\"filepick.exe did not start (see "
                L"the picker check), so no dialog was opened\"",
      .setup = L"copy {tests}\\filepick-host.exe>{dir}\\alone\\filepick-host.exe",
      .after = L"C:\\FILE=!", .program = L"{dir}\\alone\\filepick-host.exe" },
};
HOST_ROWS(HostCompanion);

// The sample host (examples/host), built against the public header alone,
// as an integrator would copy it: one row a verb and way. Each removes the
// reply it read.
#define SAMPLE_LOAD_WORDS L"\r\nstartup skip: 1\r\nsymbol only:  1\r\nformat:       8\r\n"
const HostRow SampleHost[] = {
    { .name = "exchange: the module list file", .arguments = ML L" \"{dir}\"", .status = 0,
      .output = L"short path:   {short}\r\n", .chosen = BLINKY, .after = L"C:\\FILE=!",
      .program = L"exchange_host.exe", .steps = L"pick " BLINKY },
    { .name = "exchange: the debug file and its words", .arguments = LD L" \"{dir}\"", .status = 0,
      .output = L"short path:   {short}" SAMPLE_LOAD_WORDS, .chosen = HEX, .after = L"C:\\FILE=!",
      .program = L"exchange_host.exe", .steps = L"type 12;click symbol-only;pick " HEX },
    { .name = "exchange: a log file", .arguments = DS L" 2", .status = 0,
      .output = L"short path:   {short}\r\n", .chosen = L"{dir}\\new.log",
      .after = L"C:\\FILE=!;{dir}\\new.log=", .program = L"exchange_host.exe",
      .steps = L"pick {dir}\\new.log" },
    { .name = "module: the exported dialog", .arguments = L"\"{dir}\"", .status = 0,
      .output = L"file name:    {long}\r\nstartup skip: 0\r\nsymbol only:  0\r\nformat:       0\r\n",
      .chosen = HEX, .after = L"C:\\FILE=!", .program = L"module_host.exe",
      .steps = L"click startup-skip;pick " HEX },
    // Loaded again while still held: the same module, not fixed up twice.
    { .name = "module: the exported dialog twice, loaded again while held",
      .arguments = L"\"{dir}\" \"{dir}\"", .status = 0,
      .output = L"format:       0\r\nfile name:    {long}\r\nstartup skip: 1\r\n", .chosen = HEX,
      .after = L"C:\\FILE=!", .program = L"module_host.exe",
      .steps = L"pick " HEX L";next;pick " HEX },
};
HOST_ROWS(SampleHost);
