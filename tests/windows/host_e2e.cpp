// The host companion as an integrator scripts it: its outcomes, its
// decoding, the exported dialog called through it, and the versions.
#include "support/e2e.h"

#include <stdio.h>

namespace e2e {
namespace {

std::wstring Replace(std::wstring text, const wchar_t* from, const std::wstring& to)
{
    size_t at = text.find(from);
    return at == std::wstring::npos ? text : text.replace(at, wcslen(from), to);
}

std::wstring Json(const std::wstring& text)
{
    std::wstring json;
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"')
            json += L'\\';
        json += c;
    }
    return json;
}

struct HostRow {
    const char* name;
    const wchar_t* arguments;  // {dir}: the row's folder
    int status;
    // Texts the output holds, separated by '|'; {short} and {long}: the
    // JSON forms of the chosen file's short path and of its own path.
    const wchar_t* output;
    const wchar_t* chosen;
    const wchar_t* setup;  // "PATH=TEXT" written first
    const wchar_t* after;
};

const HostRow Host[] = {
    { "a chosen file as JSON", L"--json --choose \"{dir}\\Blinky main module listing.lst\" "
      L"DoModuleListFile \"{dir}\"", 0, L"\"status\":\"chosen\"|\"shortPath\":\"{short}\"",
      L"{dir}\\Blinky main module listing.lst" },
    { "a file in any script, with its own name as UTF-8", L"--json --choose "
      L"\"{dir}\\\u0416\u0443\u0440\u043d\u0430\u043b.lst\" DoModuleListFile \"{dir}\"", 0,
      L"\"shortPath\":\"{short}\",\"longPath\":\"{long}\"",
      L"{dir}\\\u0416\u0443\u0440\u043d\u0430\u043b.lst" },
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
      L"--json DoModuleListFile \"{dir}\\\u0416\u0443\u0440\u043d\u0430\u043b\"", 3,
      L"outside this system's code page" },
    { "the exported dialog, called as a host that loads the module calls it",
      L"--module --type 13 --choose \"{dir}\\\u0416\u0443\u0440\u043d\u0430\u043b.lst\" "
      L"DoLoadDebugFile \"{dir}\"", 0, L"result:       1|file name:    {short}|format:       8",
      L"{dir}\\\u0416\u0443\u0440\u043d\u0430\u043b.lst" },
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
        std::wstring want = row.output;
        if (row.chosen) {
            std::wstring chosen = Expand(row.chosen, dir);
            std::wstring shortPath = Wide(ShortPathOf(chosen));
            want = Replace(want, L"{short}",
                           wcsstr(row.arguments, L"--json") ? Json(shortPath) : shortPath);
            want = Replace(want, L"{long}", Json(chosen));
        }
        for (size_t start = 0, end; start <= want.size(); start = end + 1) {
            end = want.find(L'|', start);
            if (end == std::wstring::npos)
                end = want.size();
            std::string part = Utf8(want.substr(start, end - start));
            EXPECT_NE(output.find(part), std::string::npos) << part << " in " << output;
        }
        EXPECT_EQ(ReadFileBytes(ExchangeFile), "<missing>") << "the host takes the reply";
        EXPECT_EQ(FindWindowW(L"#32770", L"Load Dump File"), nullptr) << "the picker still runs";
        if (row.after)
            CheckAfter(row.after, dir);
    }
}

}  // namespace
}  // namespace e2e
