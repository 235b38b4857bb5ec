// The host companion as an integrator scripts it: its outcomes, its
// decoding, the exported dialog called through it, and the versions.
#include "support/e2e.h"

namespace e2e {
namespace {

struct HostRow {
    const char* name;
    const wchar_t* arguments;  // {dir}: the row's folder
    int status;
    // Texts the output holds, separated by '|'; {short} and {long}: the
    // chosen file's short path and its own path (escaped after --json).
    const wchar_t* output;
    const wchar_t* chosen;
    const wchar_t* setup;  // "PATH=TEXT" written first
    const wchar_t* after;
};

#define CYRILLIC_IN_DIR L"{dir}\\\u0416\u0443\u0440\u043d\u0430\u043b"
const HostRow Host[] = {
    { "a chosen file as JSON, in any script, with its own name as UTF-8",
      L"--json --choose \"" CYRILLIC_IN_DIR L".lst\" DoModuleListFile \"{dir}\"", 0,
      L"\"status\":\"chosen\"|\"shortPath\":\"{short}\",\"longPath\":\"{long}\"",
      CYRILLIC_IN_DIR L".lst" },
    { "a debug file reply decoded", L"--type 13 --choose \"{dir}\\Blinky debug output.hex\" "
      L"DoLoadDebugFile \"{dir}\"", 0,
      L"short path:   {short}|startup skip: 1|format:       8 (Intel Hex)",
      L"{dir}\\Blinky debug output.hex" },
    { "an unknown verb; a stale reply is removed first", L"--json DoNothing", 2,
      L"\"status\":\"unknown-verb\"", 0, L"C:\\FILE=stale" },
    { "a timeout ends the picker", L"--json --timeout 2 DoSetDumpFile 1", 3,
      L"did not end in time" },
    { "no reply means not chosen", L"--choose \"{dir}\\never created.hex\" DoSetDumpFile 5", 1,
      L"No file was chosen", 0, 0, L"{dir}\\never created.hex=!" },
    { "a request folder without an ANSI form is refused",
      L"--json DoModuleListFile \"" CYRILLIC_IN_DIR L"\"", 3, L"outside this system's code page" },
    // The module's exported dialog, called from the host's own thread.
    { "the exported dialog, \"Options...\" enabled, fills the caller's words with its full path",
      L"--module --steps \"click 4392;click 4390;click 4391\" --type 13 "
      L"--choose \"{dir}\\blinky.c\" DoLoadDebugFile \"{dir}\"", 0,
      L"result:       1|file name:    {long}|startup skip: 0|symbol only:  1|format:       8",
      L"{dir}\\blinky.c" },
    { "... with the short path of a name outside the code page",
      L"--module --choose \"" CYRILLIC_IN_DIR L".lst\" DoLoadDebugFile \"{dir}\"", 0,
      L"result:       1|file name:    {short}", CYRILLIC_IN_DIR L".lst" },
    { "the module's dialog cancelled leaves the caller's words alone",
      L"--module --steps \"click 4390;cancel\" DoLoadDebugFile \"{dir}\"", 1,
      L"result:       0|startup skip: -1|symbol only:  -1|format:       -1" },
    { "a step the module's dialog cannot do ends the call",
      L"--json --module --steps \"click 4711\" DoLoadDebugFile \"{dir}\"", 3,
      L"could not be driven to its end" },
    { "the versions both programs carry", L"--version", 0,
      L"filepick-host " FILEPICK_VERSION_W L"\r\nfilepick.exe " FILEPICK_VERSION_W },
};

TEST(HostCompanion, Table)
{
    for (size_t i = 0; i < sizeof Host / sizeof *Host; ++i) {
        const HostRow& row = Host[i];
        SCOPED_TRACE(row.name);
        std::wstring dir = FreshFolder("HostCompanion", (int)i);
        if (row.setup) {
            std::wstring setup = row.setup;
            WriteFileBytes(setup.substr(0, setup.find(L'=')), Utf8(setup.substr(setup.find(L'=') + 1)));
        }
        std::string output;
        EXPECT_EQ(e2e::Run(L"filepick-host.exe", Expand(row.arguments, dir), &output), row.status);
        std::wstring want = row.output, chosen = row.chosen ? Expand(row.chosen, dir) : L"";
        const std::wstring paths[] = { Wide(ShortPathOf(chosen)), chosen };
        const wchar_t* const keys[] = { L"{short}", L"{long}" };
        for (int k = 0; k < 2; ++k) {
            std::wstring path = paths[k];
            if (wcsstr(row.arguments, L"--json"))  // JSON doubles backslashes
                for (size_t at = 0; (at = path.find(L'\\', at)) != std::wstring::npos; at += 2)
                    path.insert(at, 1, L'\\');
            size_t at = want.find(keys[k]);
            if (at != std::wstring::npos)
                want.replace(at, wcslen(keys[k]), path);
        }
        for (const std::wstring& part : Split(want.c_str(), L'|'))
            EXPECT_NE(output.find(Utf8(part)), std::string::npos) << Utf8(part) << " in " << output;
        EXPECT_EQ(ReadFileBytes(ExchangeFile), "<missing>") << "the host takes the reply";
        EXPECT_EQ(FindWindowW(L"#32770", L"Load Dump File"), nullptr) << "the picker still runs";
        CheckAfter(row.after, dir);
    }
}

}  // namespace
}  // namespace e2e
