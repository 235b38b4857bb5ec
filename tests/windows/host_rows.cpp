// The host companion and the sample host.
#include "rows.h"

#define CYRILLIC_IN_DIR L"{dir}\\" CYRILLIC
#define D100 L"dddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddd"
#define E100 L"eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee"
#define DOCTOR_OK(name) L"\"name\":\"" name L"\",\"status\":\"ok\"|"
const HostRow HostCompanion[] = {
    { "the exported dialog, \"Options...\" enabled, fills the caller's words with its full path",
      L"--module --steps \"click options;click symbol-only;click startup-skip\" --type 13 "
      L"--choose \"{dir}\\blinky.c\" DoLoadDebugFile \"{dir}\"", 0,
      L"file name:    {long}|startup skip: 0|symbol only:  1|format:       8 (Intel Hex)",
      L"{dir}\\blinky.c" },
    { "the exported dialog gives the short path of a name outside the code page",
      L"--module --choose \"" CYRILLIC_IN_DIR L".lst\" DoLoadDebugFile \"{dir}\"", 0,
      L"file name:    {short}", CYRILLIC_IN_DIR L".lst", 0, 0, L"8.3" },
    // As the command: a name that is no existing file is told, and the
    // dialog shown again. Windows' own dialog refuses such names itself.
    { "the exported dialog tells a name that does not exist, then gives the file chosen",
      L"--module --steps \"pick {dir}\\mega.c;warn does not exist\" --choose \"{dir}\\blinky.c\" "
      L"DoLoadDebugFile \"{dir}\"", 0, L"file name:    {long}", L"{dir}\\blinky.c", 0, 0,
      L"skip Windows' old-style dialog refuses a name that does not exist in a box of its own" },
    { "the exported dialog gives no path that it cut", L"--module --steps \"pick {dir}\\{len:258}.hex;"
      L"warn does not exist;cancel\" DoLoadDebugFile \"{dir}\"", 1,
      L"No file was chosen (LoadDebugFile returned 0)", 0, L"put {dir}\\{len:258}.hex=x", 0,
      L"skip Windows' dialogs report a path too long for their buffer instead of cutting it" },
    // A best-fit form would open a look-alike folder: the short path is sent.
    { "a start folder outside the code page is sent by its short path",
      L"--choose main.c " ML L" \"" CYRILLIC_IN_DIR L"\"", 0, L"short path:   {short}", CYRILLIC_IN_DIR L"\\main.c",
      L"put " CYRILLIC_IN_DIR L"\\main.c=m", 0, L"8.3" },
    { "the exported dialog cancelled leaves the caller's words alone",
      L"--module --steps \"click 4390;cancel\" DoLoadDebugFile \"{dir}\"", 1,
      L"No file was chosen (LoadDebugFile returned 0)|startup skip: -1|symbol only:  -1|"
      L"format:       -1" },
    // What filepick-host says of itself is true, once.
    { "an unknown verb is said as such, whatever the options",
      L"--choose \"{dir}\\blinky.c\" NoSuchVerb", 2, L"did not know the verb NoSuchVerb|!did not appear" },
    { "a step that cannot be done is the one reason",
      L"--json --steps \"click options\" DoLoadDebugFile \"{dir}\"", 3,
      L"{\"verb\":\"DoLoadDebugFile\",\"status\":\"could-not-run\",\"reason\":\"the step "
      L"\\\"click options\\\" could not be done\"}|!did not appear" },
    { "a verb with a best-fit look-alike of a verb is unknown", L"DoS\u0113tDumpFile 2", 2,
      L"did not know the verb DoS\u0113tDumpFile", 0, 0, L"C:\\FILE=!" },
    { "a file type the dialog lacks is a step that cannot be done",
      L"--type 99 --choose \"{dir}\\blinky.c\" DoModuleListFile \"{dir}\"", 3,
      L"the dialog has no file type 99", 0, 0, L"C:\\FILE=!" },
    { "a usage error says what was wrong", L"--timeout 0 DoModuleListFile", 3,
      L"filepick-host: --timeout takes whole seconds from 1 to 86400, not \"0\"\r\nusage:" },
    { "a wait that runs out names the box that was open",
      L"--timeout 3 --choose \"{dir}\\old dump.hex\" DoSetDumpFile 0", 3,
      L"did not end in time and was stopped (open: a box \"" },
    { "a picture named .png is a PNG",
      L"--screenshot \"{dir}\\dialog.png\" --choose \"{dir}\\blinky.c\" DoModuleListFile \"{dir}\"", 0,
      L"short path:", 0, 0, L"{dir}\\dialog.png^89504E470D0A1A0A" },
    // The doctor: every check once, and what it must never do.
    { "the doctor on a clean machine: all ok, or unknown where Wine cannot tell",
      L"--doctor --json \"{dir}\"", 0,
      DOCTOR_OK(L"picker") DOCTOR_OK(L"exchange") L"\"name\":\"virtualization\",\"status\":\"unknown\"|"
      // The probe's own short name: the folders above it have theirs.
      DOCTOR_OK(L"short-names") L"makes 8.3 names (a new file in the project folder got the short name FILE~|"
      DOCTOR_OK(L"folder-names") DOCTOR_OK(L"code-pages")
      DOCTOR_OK(L"dialogs") L"],\"status\":\"ok\"}", 0, 0,
      L"C:\\filepick-doctor.probe=!;C:\\filepick-doctor.probe.renamed=!;"
      L"{dir}\\filepick doctor probe.tmp=!;C:\\FILE=!;C:\\FILE.old=!",
      // Whether a volume makes 8.3 names is the machine's choice (hosted
      // runners make none): not looked at there.
      L"instead " DOCTOR_OK(L"picker") DOCTOR_OK(L"exchange")
      DOCTOR_OK(L"folder-names") DOCTOR_OK(L"code-pages") DOCTOR_OK(L"dialogs") },
    { "the doctor leaves a pending request alone", L"--doctor \"{dir}\"", 0,
      L"warn     exchange        C:\\FILE (|skipped  dialogs", 0, L"put C:\\FILE=pending request",
      L"C:\\FILE=pending request" },
    { "the doctor reports a VirtualStore copy, where virtualization is unknown too",
      L"--doctor \"{dir}\"", 0, L"warn     virtualization|VirtualStore copy {store}\\FILE (", 0,
      L"put {store}\\FILE=old reply", 0, L"instead VirtualStore copy {store}\\FILE (" },
    { "the doctor counts and names a file whose short path cannot fit", L"--doctor \"{dir}\"", 0,
      L"warn     folder-names    1 of 7 files|+\\x.c", 0, L"put " PLUS100 L"=deep", 0, L"8.3" },
    { "the doctor counts the files in folders past MAX_PATH", L"--doctor \"{dir}\"", 0,
      L"warn     folder-names    1 of 7 files|x.c (its path is longer than the dialogs take)", 0,
      L"put {dir}\\" D100 L"\\" E100 L"\\" D100 L"\\x.c=deep" },
    { "the doctor fails where C:\\ refuses its probe, and says what to do",
      L"--doctor --json \"{dir}\"", 1,
      L"\"name\":\"exchange\",\"status\":\"fail\",\"found\":\"this user could not create a file in "
      L"C:\\\\ (C:\\\\filepick-doctor.probe)|\"advice\":\"Remove what stands at "
      L"C:\\\\filepick-doctor.probe|\"status\":\"fail\"}", 0, L"mkdir C:\\filepick-doctor.probe",
      L"C:\\filepick-doctor.probe=/" },
    { "the doctor names what stands at its probe's new name", L"--doctor --json \"{dir}\"", 1,
      L"could not rename a file in C:\\\\ (C:\\\\filepick-doctor.probe.renamed)|\"advice\":\"Remove what "
      L"stands at C:\\\\filepick-doctor.probe.renamed", 0, L"mkdir C:\\filepick-doctor.probe.renamed",
      L"C:\\filepick-doctor.probe.renamed=/",
      L"skip what a rename onto a real folder in C:\\ answers under UAC virtualization is not "
      L"documented" },
    { "the doctor fails on a project folder that does not exist", L"--doctor --json \"{dir}\\nosuch\"", 1,
      L"\"name\":\"folder-names\",\"status\":\"fail\",\"found\":\"the project folder "
      L"C:\\\\filepick-tests\\\\|nosuch does not exist\"" },
    { "the doctor fails on a folder at the pending reply's name", L"--doctor --json \"{dir}\"", 1,
      L"\"name\":\"exchange\",\"status\":\"fail\",\"found\":\"a folder stands at C:\\\\FILE.new: "
      L"every run of filepick fails", 0, L"mkdir C:\\FILE.new", L"C:\\FILE.new=/" },
    // Its output to a file is UTF-8, as the JSON: never a look-alike.
    { "the doctor's text keeps a Greek folder name", L"--doctor \"{dir}\\" OMEGA L"proj\"", 0,
      L"\\" OMEGA L"proj and its subfolders|!\\Oproj", 0, L"mkdir {dir}\\" OMEGA L"proj" },
    { "filepick-host gives the reason it cannot write the request", ML L" \"{dir}\"", 3,
      L"cannot write C:\\FILE: ", 0, L"mkdir C:\\FILE.new", L"C:\\FILE.new=/" },
    // Whoever writes a request removes it where the picker cannot start.
    { "filepick-host with no filepick.exe beside it leaves no request", ML L" \"{dir}\"", 3,
      L"cannot start", 0, L"copy {tests}\\filepick-host.exe>{dir}\\alone\\filepick-host.exe", L"C:\\FILE=!",
      0, L"{dir}\\alone\\filepick-host.exe" },
    { "the doctor with no filepick.exe opens no dialog, and leaves no request", L"--doctor --json \"{dir}\"", 1,
      L"\"name\":\"dialogs\",\"status\":\"skipped\",\"found\":\"filepick.exe did not start (see "
      L"the picker check), so no dialog was opened\"", 0,
      L"copy {tests}\\filepick-host.exe>{dir}\\alone\\filepick-host.exe", L"C:\\FILE=!", 0,
      L"{dir}\\alone\\filepick-host.exe" },
};
HOST_ROWS(HostCompanion);

// The sample host (examples/host), built against the public header alone,
// as an integrator would copy it: one row a verb and way. Each removes the
// reply it read.
#define SAMPLE_LOAD_WORDS L"\r\nstartup skip: 1\r\nsymbol only:  1\r\nformat:       8\r\n"
const HostRow SampleHost[] = {
    { "exchange: the module list file", ML L" \"{dir}\"", 0, L"short path:   {short}\r\n", BLINKY, 0,
      L"C:\\FILE=!", 0, L"exchange_host.exe", L"pick " BLINKY },
    { "exchange: the debug file and its words", LD L" \"{dir}\"", 0, L"short path:   {short}" SAMPLE_LOAD_WORDS,
      HEX, 0, L"C:\\FILE=!", 0, L"exchange_host.exe", L"type 12;click symbol-only;pick " HEX },
    { "exchange: a log file", DS L" 2", 0, L"short path:   {short}\r\n", L"{dir}\\new.log", 0,
      L"C:\\FILE=!;{dir}\\new.log=", 0, L"exchange_host.exe", L"pick {dir}\\new.log" },
    { "module: the exported dialog", L"\"{dir}\"", 0,
      L"file name:    {long}\r\nstartup skip: 0\r\nsymbol only:  0\r\nformat:       0\r\n", HEX, 0,
      L"C:\\FILE=!", 0, L"module_host.exe", L"click startup-skip;pick " HEX },
    // Loaded again while still held: the same module, not fixed up twice.
    { "module: the exported dialog twice, loaded again while held", L"\"{dir}\" \"{dir}\"", 0,
      L"format:       0\r\nfile name:    {long}\r\nstartup skip: 1\r\n", HEX, 0, L"C:\\FILE=!", 0,
      L"module_host.exe", L"pick " HEX L";next;pick " HEX },
};
HOST_ROWS(SampleHost);
