// filepick-host as an integrator scripts it: its output, exit statuses,
// timeout and the stale exchange file.
#include <string>

#include "support/e2e.h"

namespace e2e {
namespace {

struct HostResult {
    int status = -1;
    std::string output;
};

// Runs filepick-host with arguments, its standard output captured.
HostResult RunHost(const std::string& arguments)
{
    HostResult result;
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, 0, TRUE };
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::string host = PickerPath();
    host.replace(host.size() - strlen("filepick.exe"), std::string::npos, "filepick-host.exe");
    std::string line = "\"" + host + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(host.c_str(), &line[0], 0, 0, TRUE, 0, 0, 0,
                                  &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        char chunk[512];
        DWORD got;
        while (ReadFile(readEnd, chunk, sizeof chunk, &got, 0) && got)
            result.output.append(chunk, got);
        DWORD code;
        if (WaitForExit(process.hProcess, ExitTimeoutMs, &code))
            result.status = (int)code;
        EndPicker(&process);
    }
    CloseHandle(readEnd);
    return result;
}

std::string JsonEscaped(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

class HostCompanion : public PickerTest {};

TEST_F(HostCompanion, ChosenFileAsJson)
{
    std::string file = folder_ + "\\Blinky main module listing.lst";
    WriteBytes(file, "x");
    HostResult result = RunHost("--json --choose \"" + file + "\" DoModuleListFile \"" +
                                folder_ + "\"");
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.output.find("\"status\":\"chosen\""), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("\"shortPath\":\"" + JsonEscaped(ShortPathOf(file)) + "\""),
              std::string::npos)
        << result.output;
    EXPECT_FALSE(ExchangeExists()) << "the host took the reply";
}

TEST_F(HostCompanion, DebugFileReplyIsDecoded)
{
    std::string file = folder_ + "\\blinky.hex";
    WriteBytes(file, ":00000001FF\n");
    HostResult result = RunHost("--type 13 --choose \"" + file + "\" DoLoadDebugFile \"" +
                                folder_ + "\"");
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.output.find(ShortPathOf(file)), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("startup skip: 1"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("format:       8 (Intel Hex)"), std::string::npos)
        << result.output;
}

TEST_F(HostCompanion, UnknownVerbAndStaleReply)
{
    // An old reply must not be taken for this run's.
    PutExchange(PathBlock("C:\\OLD\\REPLY.LST"));
    HostResult result = RunHost("--json DoNothing");
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.output.find("\"status\":\"unknown-verb\""), std::string::npos)
        << result.output;
    EXPECT_FALSE(ExchangeExists());
}

TEST_F(HostCompanion, TimeoutEndsThePicker)
{
    HostResult result = RunHost("--json --timeout 2 DoSetDumpFile 1");
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.output.find("did not end in time"), std::string::npos) << result.output;
    EXPECT_EQ(FindWindowA("#32770", "Load Dump File"), nullptr) << "the picker still runs";
    EXPECT_FALSE(ExchangeExists());
}

TEST_F(HostCompanion, NoReplyMeansNotChosen)
{
    // Mode 5 with a new name: the picker ends with exit 1 and no reply.
    std::string file = folder_ + "\\never created.hex";
    HostResult result = RunHost("--choose \"" + file + "\" DoSetDumpFile 5");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("No file was chosen"), std::string::npos) << result.output;
    EXPECT_FALSE(FileExists(file));
}

}  // namespace
}  // namespace e2e
