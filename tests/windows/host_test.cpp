// A Host row: a program a host integrator runs (filepick-host, or the
// sample host), its exit status, output and files afterwards; the user's
// part in the dialog where the row has steps.
#include "rows.h"

// Acts in the dialog that a program of the job shows (the program itself,
// or the picker it started), as a user would, within the row's time.
void DriveJobDialog(const Process& program, Session& session, const wchar_t* steps)
{
    DWORD owner = 0;
    while (!owner && session.clock.Left()) {
        struct {
            JOBOBJECT_BASIC_PROCESS_ID_LIST list;
            ULONG_PTR more[15];
        } ids = {};
        if (QueryInformationJobObject(program.job, JobObjectBasicProcessIdList, &ids, sizeof ids, 0))
            for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList && !owner; ++i)
                if (WaitForDialog((DWORD)ids.list.ProcessIdList[i], 0, 0, 0))
                    owner = (DWORD)ids.list.ProcessIdList[i];
        Sleep(20);
    }
    ASSERT_NE(owner, 0u) << "no dialog within the row's 30 s";
    // A console program's own dialog (the module way) has no input-idle
    // state to wait for: it is polled.
    HANDLE process = owner == program.info.dwProcessId
                         ? 0
                         : OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, owner);
    session.driver = { owner, process, session.clock.Left(), 0, 0 };
    for (const std::wstring& step : Split(steps, L';')) {
        session.Step(step);
        if (testing::Test::HasFailure())
            break;
    }
    if (process)
        CloseHandle(process);
    session.driver.process = 0;
}

// Runs the program name (beside the tests) with arguments to its end,
// within the row's time: its exit status (-1 when it did not end in time)
// and its output, standard and error. Meanwhile steps, if any, act in its
// dialog. The output goes through a file: a pipe would be read until the
// program closes it, which one that hangs never does.
int RunProgram(const wchar_t* name, const std::wstring& arguments, std::string* output,
               Session& session, const wchar_t* steps = 0)
{
    wchar_t exe[MAX_PATH], outPath[MAX_PATH];
    if (wcschr(name, L'\\'))
        lstrcpynW(exe, name, MAX_PATH);
    else
        PathBesideSelf(name, exe, MAX_PATH);
    // A file of each run's own: Wine may hold the last one a moment longer.
    static int runs = 0;
    PathBesideSelf((L"host-output-" + std::to_wstring(++runs) + L".txt").c_str(), outPath, MAX_PATH);
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, 0, TRUE };
    HANDLE out = CreateFileW(outPath, GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                             CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, 0);
    EXPECT_NE(out, INVALID_HANDLE_VALUE) << "the output file: error " << GetLastError();
    std::wstring line = L"\"" + std::wstring(exe) + L"\" " + arguments;
    STARTUPINFOW startup = { sizeof startup };
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    Process program;
    DWORD status = 0, got = 0;
    bool started = program.Start(exe, line, &startup);
    if (started && steps)
        DriveJobDialog(program, session, steps);
    bool ended = started && WaitForExit(program.info.hProcess, session.clock.Left(), &status);
    char chunk[512];
    SetFilePointer(out, 0, 0, FILE_BEGIN);
    while (ReadFile(out, chunk, sizeof chunk, &got, 0) && got)
        output->append(chunk, got);
    CloseHandle(out);
    return ended ? (int)status : -1;
}

void PrintTo(const HostRow& row, std::ostream* out) { *out << row.name; }

ULONGLONG WrittenAt(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return (ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32 | data.ftLastWriteTime.dwLowDateTime;
}

TEST_P(Host, Row)
{
    const HostRow& row = GetParam();
    BeginRow();
    if (HasFailure())
        return;
    Cleanup cleanup;
    Session session = { {}, FreshFolder() };
    const wchar_t* output = row.output;
    if (!ForThisPlatform(row.onWindows, &output, session.dir))
        return;
    for (const std::wstring& step : Split(row.setup, L';'))
        session.Step(step);
    ASSERT_FALSE(HasFailure()) << "set-up";
    std::vector<std::pair<std::wstring, ULONGLONG>> kept;
    for (const std::wstring& item : Split(row.after, L';')) {
        std::wstring path = AfterPath(item, session);
        if (Exists(path))
            kept.push_back({ path, WrittenAt(path) });
    }
    std::string text;
    session.clock = RowClock();
    TimeKeeper keeper = { session.clock };
    std::wstring program = row.program ? Expand(row.program, session.dir) : L"filepick-host.exe";
    EXPECT_EQ(
        RunProgram(program.c_str(), Expand(row.arguments, session.dir), &text, session, row.steps),
        row.status)
        << text << (session.clock.Left() ? "" : "(it did not end within the row's 30 s)");
    std::wstring want = Expand(output, session.dir),
                 chosen = row.chosen ? Expand(row.chosen, session.dir) : L"";
    for (const wchar_t* key : { L"{short}", L"{long}" }) {
        size_t at = want.find(key);
        if (at != std::wstring::npos)
            want.replace(at, wcslen(key), key[1] == L's' ? Wide(ShortPathOf(chosen)) : chosen);
    }
    for (const std::wstring& part : Split(want.c_str(), L'|')) {
        bool absent = part[0] == L'!';
        EXPECT_EQ(text.find(Utf8(part.substr(absent))) == std::string::npos, absent)
            << Utf8(part) << " in " << text;
    }
    CheckFiles(row.after, session);
    for (const auto& file : kept)
        EXPECT_EQ(WrittenAt(file.first), file.second) << Utf8(file.first) << " was written";
}
