// filepick.exe from end to end, as the host runs it. Each row writes a
// request to C:\FILE as a host does (tools/driver/request.h), starts the
// picker, acts in its dialog through window messages (tools/driver, as
// filepick-host does), and then checks the exit code, the reply's bytes and
// the files on disk. A row runs in a fresh folder holding the files below.
// Every wait is bounded; the picker a row started ends with the row.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/picker_driver.h"
#include "driver/request.h"
#include "entry/command_line.h"

namespace {

// A set-up or clean-up wait, and a row's whole time from the picker's
// start to its end: a dialog that never comes right costs a row this much,
// not the test program's timeout.
enum { WaitMs = 60000, RowLimitMs = 30000 };

// A row's time: what is left of its RowLimitMs.
struct RowClock {
    DWORD start = GetTickCount();
    DWORD Left() const
    {
        DWORD used = GetTickCount() - start;
        return used < (DWORD)RowLimitMs ? RowLimitMs - used : 0;
    }
};

// Rows that ran out of their time, one after another. A fault that keeps
// every dialog from coming right would cost each row its limit: after two
// such rows in a row, the rest fail at once, saying so.
int RowsOutOfTime = 0;
enum { RowsOutOfTimeToStop = 2 };

// Counts the row, as it ends, by whether it had time left.
struct TimeKeeper {
    const RowClock& clock;
    ~TimeKeeper() { RowsOutOfTime = clock.Left() ? 0 : RowsOutOfTime + 1; }
};

// Each file's content is its own name, in UTF-8.
const wchar_t* const StandardFiles[] = {
    L"blinky.c", L"Blinky main module listing.lst", L"Blinky debug output.hex", L"old dump.hex",
    L"\u0416\u0443\u0440\u043d\u0430\u043b.lst",  // Cyrillic
    L"Olog.log",                                  // omega's look-alike
};

struct Row {
    const char* name;
    const wchar_t* verb;  // the command tail; the whole line when it starts with a quote
    // The request the host writes for the verb: a folder, or a dump mode;
    // "raw:N": N bytes of 'a' instead; "block:FOLDER": a 300-byte path
    // block without a NUL, whose first 299 bytes name FOLDER; 0: no
    // request at all.
    const wchar_t* request;
    // Steps separated by ';' once the picker runs; 0: it must end without a
    // dialog; "exit 0": so, with exit code 0. What the dialog shows: "title
    // T", "types A,B" (the file types), "enabled ID 0|1". What the user does
    // (the driver's steps): "type N", "click ID", "pick PATH", "answer ID",
    // "warn TEXT", "cancel". Files: "put PATH=TEXT" (parents made), "mkdir
    // P", "hold P" and "holdshared P" (kept open without write or delete
    // sharing, or with delete sharing; "hold MS P": let go after MS ms),
    // "map P" (mapped into memory), "readonly P", "symlink P>TARGET",
    // "fill" (the drive, till it is full), "behind TEXT" (a second file
    // C:\FILE holding TEXT, made from Linux as "C:\file").
    const wchar_t* steps;
    const wchar_t* reply;  // the file whose short path is replied ("*": the
                           // one picked last); 0: none
    // Files afterwards: "PATH=TEXT;..." (TEXT in UTF-8; "!" absent, "/" a
    // folder, "*" any file; no PATH: the one picked last). C:\FILE.new and
    // C:\FILE.old must be gone, and C:\FILE too without a reply, unless
    // named here.
    const wchar_t* after;
    const wchar_t* setup;  // steps before the picker starts
    int words[3];          // DoLoadDebugFile: startup skip, symbol only, format
    // Where Windows does what Wine does not: "instead STEPS" (these steps
    // there), "skip REASON", or "8.3" (the row needs a volume that makes
    // short names); "build N: STEPS", these steps wherever the system
    // reports build N or later, Wine included. 0: the same everywhere.
    const wchar_t* onWindows;
};

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Narrow(const std::wstring& wide, UINT codePage)
{
    std::string text(wide.size() * 4 + 1, '\0');
    text.resize((size_t)WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &text[0], (int)text.size(), 0, 0) - 1);
    return text;
}

std::string Utf8(const std::wstring& wide) { return Narrow(wide, CP_UTF8); }

std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize((size_t)MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return wide;
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    out.close();
    EXPECT_TRUE(out) << Utf8(path);
}

// The short path as the host reads it: ANSI bytes.
std::string ShortPathOf(const std::wstring& path)
{
    wchar_t shortPath[600];
    DWORD length = GetShortPathNameW(path.c_str(), shortPath, 600);
    return length > 0 && length < 600 ? Narrow(shortPath, CP_ACP) : "<no short path>";
}

std::vector<std::wstring> Split(const wchar_t* text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    std::wistringstream in(text ? text : L"");
    for (std::wstring part; std::getline(in, part, separator);)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

// {dir}: the row's folder; {store}: this user's VirtualStore folder;
// {len:N}: as many 'y' as make the text N long.
std::wstring Expand(const std::wstring& text, const std::wstring& dir)
{
    std::wstring result = text;
    for (size_t at; (at = result.find(L"{dir}")) != std::wstring::npos;)
        result.replace(at, 5, dir);
    wchar_t store[MAX_PATH];
    ExpandEnvironmentStringsW(L"%LOCALAPPDATA%\\VirtualStore", store, MAX_PATH);
    for (size_t at; (at = result.find(L"{store}")) != std::wstring::npos;)
        result.replace(at, 7, store);
    size_t at = result.find(L"{len:");
    if (at != std::wstring::npos) {
        size_t total = (size_t)_wtoi(result.c_str() + at + 5);
        result.erase(at, result.find(L'}', at) - at + 1);
        result.insert(at, std::wstring(total - result.size(), L'y'));
    }
    return result;
}

// A program a row starts, in a job of its own with what it starts in turn
// (filepick-host's picker): all of them end, by the job's handle, when this
// goes, and when the test program ends, however it ends (stopped by a
// timeout, too). No picker is left running.
struct Process {
    PROCESS_INFORMATION info = {};
    HANDLE job = 0;
    ~Process()
    {
        EndPicker(&info);
        if (job)
            CloseHandle(job);
    }
    bool Start(const wchar_t* exe, std::wstring line, STARTUPINFOW* startup = 0)
    {
        STARTUPINFOW plain = { sizeof plain };
        job = CreateJobObjectW(0, 0);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        EXPECT_TRUE(job && SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits))
            << "error " << GetLastError();
        if (!CreateProcessW(exe, &line[0], 0, 0, startup != 0, CREATE_SUSPENDED, 0, 0, startup ? startup : &plain,
                            &info))
            return false;
        EXPECT_TRUE(AssignProcessToJobObject(job, info.hProcess)) << "error " << GetLastError();
        ResumeThread(info.hThread);
        return true;
    }
};

// Runs command on the paths' Linux forms and waits until the last one
// exists, or is gone: Wine gives no handle to wait on for a Linux program.
// A removal takes a marker last, whose going says that it is done even
// where nothing else was there.
void RunUnix(const wchar_t* command, std::vector<std::wstring> paths, bool exists)
{
    if (!exists) {
        WriteFileBytes(L"C:\\rm-done", "");
        paths.push_back(L"C:\\rm-done");
    }
    typedef char*(CDECL * UnixName)(const wchar_t*);
    UnixName unixName = (UnixName)GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name");
    std::wstring line = command;
    for (const std::wstring& path : paths) {
        char* name = unixName(path.c_str());
        line += L" \"" + Wide(name ? name : "") + L"\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartPicker(0, line.c_str(), &process)) << Utf8(line);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (DWORD start = GetTickCount(); Exists(paths.back()) != exists; Sleep(10))
        ASSERT_LT(GetTickCount() - start, (DWORD)WaitMs) << Utf8(line);
}

// Under Wine the rows clean up and make links from Linux. On Windows, and
// under Wine with FILEPICK_TESTS_PLATFORM=windows (the test kit's own run
// here), they do so with Win32. What Wine itself does otherwise (its
// dialogs, its short names) goes by where the tests really run.
bool WindowsWays()
{
    static int windows = -1;
    if (windows < 0) {
        wchar_t forced[16] = L"";
        GetEnvironmentVariableW(L"FILEPICK_TESTS_PLATFORM", forced, 16);
        windows = !RunsUnderWine() || wcscmp(forced, L"windows") == 0;
    }
    return windows != 0;
}

// Removes a file, or a folder with all it holds, with Win32 (a link
// itself, not its target).
void RemoveTree(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
            if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
                RemoveTree(path + L"\\" + found.cFileName);
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(path.c_str());
    else
        DeleteFileW(path.c_str());
    EXPECT_FALSE(Exists(path)) << Utf8(path) << " could not be removed";
}

// Removes what earlier rows left at the paths: under Wine from Linux,
// since Windows programs do not see a link whose target is gone.
void Remove(const std::vector<std::wstring>& paths)
{
    if (!WindowsWays())
        return RunUnix(L"/bin/rm -rf", paths, false);
    for (const std::wstring& path : paths)
        RemoveTree(L"\\\\?\\" + path);  // deep rows go past MAX_PATH
}

void MakeParents(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), 0);
}

// A fresh folder for the row, holding the standard files. The first row of
// a run removes what earlier runs left; the run's own names keep the
// dialogs from finding a folder they remember from an earlier run.
std::wstring FreshFolder()
{
    static int rows = 0;
    static DWORD run = GetTickCount();  // process ids repeat from run to run
    if (rows++ == 0)
        Remove({ L"C:\\filepick-tests" });
    std::wstring dir =
        L"C:\\filepick-tests\\" + std::to_wstring(run) + L"-" + std::to_wstring(rows);
    MakeParents(dir + L"\\");
    for (const wchar_t* name : StandardFiles)
        WriteFileBytes(dir + L"\\" + name, Utf8(name));
    return dir;
}

// What a row left at the exchange paths, their VirtualStore copy and the
// doctor's probe names goes.
void ClearExchange()
{
    Remove({ L"C:\\FILE", L"C:\\FILE.new", L"C:\\FILE.old", L"C:\\filler", Expand(L"{store}\\FILE", L""),
             L"C:\\behind-done",
             L"C:\\filepick-doctor.probe", L"C:\\filepick-doctor.probe.renamed" });
}

// Whether the row's folder is on a volume that makes short (8.3) names.
bool MakesShortNames(const std::wstring& dir)
{
    std::wstring longName = dir + L"\\Blinky debug output.hex";
    return ShortPathOf(longName) != Narrow(longName, CP_ACP);
}

// The system's build number, as the system itself reports it (Wine
// reports the version its prefix is set to).
DWORD SystemBuild()
{
    typedef LONG(WINAPI * GetVersionFunction)(OSVERSIONINFOW*);
    OSVERSIONINFOW version = { sizeof version };
    ((GetVersionFunction)GetProcAddress(GetModuleHandleA("ntdll"), "RtlGetVersion"))(&version);
    return version.dwBuildNumber;
}

// Applies a row's Windows expectation (see Row::onWindows) to what it
// expects, *instead; false when the row is skipped there, with its reason.
bool ForThisPlatform(const wchar_t* onWindows, const wchar_t** instead, const std::wstring& dir)
{
    std::wstring rule = onWindows ? onWindows : L"";
    if (rule.compare(0, 6, L"build ") == 0) {
        if (SystemBuild() >= (DWORD)_wtoi(rule.c_str() + 6))
            *instead = onWindows + rule.find(L": ") + 2;
        return true;
    }
    if (RunsUnderWine() || rule.empty() || (rule == L"8.3" && MakesShortNames(dir)))
        return true;
    if (rule.compare(0, 8, L"instead ") == 0) {
        *instead = onWindows + 8;
        return true;
    }
    std::string reason = rule == L"8.3" ? "the row needs a volume that makes 8.3 names, and this one makes none"
                                        : Utf8(rule.substr(5));
    [&] { GTEST_SKIP() << reason; }();
    return false;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[1024];
    WindowText(window, text, 1024);
    return text;
}

void Fill()
{
    HANDLE file = CreateFileW(L"C:\\filler", GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    std::string chunk(4096, 'f');
    DWORD put = 0;
    while (WriteFile(file, chunk.data(), (DWORD)chunk.size(), &put, 0) && put == chunk.size())
        ;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_DISK_FULL);
    CloseHandle(file);
}

// A file held for a while by a thread of its own, as a scanner holds it.
struct TimedHold {
    HANDLE file;
    DWORD ms;
};

DWORD WINAPI LetGoLater(void* param)
{
    TimedHold* hold = (TimedHold*)param;
    Sleep(hold->ms);
    CloseHandle(hold->file);
    delete hold;
    return 0;
}

struct Session {
    PickerSession driver;
    std::wstring dir;
    RowClock clock;
    std::wstring picked;  // the path of the last "pick"
    std::vector<HANDLE> held, timers;
    std::vector<void*> views;

    ~Session() { Release(); }
    void Release()
    {
        for (HANDLE timer : timers) {
            EXPECT_EQ(WaitForSingleObject(timer, WaitMs), WAIT_OBJECT_0);
            CloseHandle(timer);
        }
        for (void* view : views)
            UnmapViewOfFile(view);
        for (HANDLE file : held)
            CloseHandle(file);
        timers.clear();
        views.clear();
        held.clear();
    }
    void Step(const std::wstring& step);
    std::string Awaited() const;
};

void Session::Step(const std::wstring& step)
{
    SCOPED_TRACE(Utf8(step));
    std::wstring op = step.substr(0, step.find(L' '));
    std::wstring raw = step.substr(std::min(step.size(), op.size() + 1)), arg = Expand(raw, dir);
    // Files: "PATH", "PATH=TEXT" or "PATH>TARGET".
    size_t split = raw.find_first_of(L"=>");
    std::wstring path = Expand(raw.substr(0, split), dir);
    std::wstring target = split == std::wstring::npos ? L"" : Expand(raw.substr(split + 1), dir);
    if (op == L"put") {
        MakeParents(path);
        WriteFileBytes(path, Utf8(target));
    } else if (op == L"mkdir") {
        MakeParents(path + L"\\");
        EXPECT_TRUE(Exists(path));
    } else if (op == L"hold" || op == L"holdshared") {
        DWORD sharing = FILE_SHARE_READ | (op == L"holdshared" ? FILE_SHARE_DELETE : 0);
        DWORD ms = iswdigit(raw[0]) ? (DWORD)_wtoi(raw.c_str()) : 0;
        if (ms)
            path = Expand(raw.substr(raw.find(L' ') + 1), dir);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, 0, OPEN_ALWAYS, 0, 0);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        if (ms)
            timers.push_back(CreateThread(0, 0, LetGoLater, new TimedHold{ file, ms }, 0, 0));
        else
            held.push_back(file);
    } else if (op == L"map") {
        held.push_back(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0));
        held.push_back(CreateFileMappingW(held.back(), 0, PAGE_READONLY, 0, 0, 0));
        views.push_back(MapViewOfFile(held.back(), FILE_MAP_READ, 0, 0, 0));
        EXPECT_NE(views.back(), nullptr);
    } else if (op == L"readonly") {
        EXPECT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    } else if (op == L"symlink") {
        if (!WindowsWays())
            RunUnix(L"/bin/ln -s", { target, path }, true);
        else if (RunsUnderWine())
            GTEST_SKIP() << "under Wine a link is a Unix link, which Win32 cannot remove; the run "
                            "under Wine's own ways makes it from Linux";
        else if (!CreateSymbolicLinkW(path.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
            GTEST_SKIP() << "no symbolic link could be made (error " << GetLastError()
                         << "): Windows makes them only elevated or in Developer Mode";
    } else if (op == L"fill") {
        Fill();
    } else if (op == L"behind") {
        // Wine opens C:\FILE as the file of exactly that name and shows
        // "file" there once it is gone, as Windows shows an older real
        // C:\FILE once a standard user's VirtualStore copy is gone.
        if (!RunsUnderWine())
            GTEST_SKIP() << "an older C:\\FILE behind this user's VirtualStore copy needs another "
                            "account or an elevated run to make; under Wine a second name in "
                            "another letter case stands in for it";
        RunUnix((L"/bin/sh -c \"printf %s " + arg + L" > \\\"$0/file\\\" && : > \\\"$1\\\"\"").c_str(),
                { L"C:\\", L"C:\\behind-done" }, true);
    } else if (op == L"title") {
        EXPECT_EQ(TextOf(SessionDialog(&driver)), arg);
    } else if (op == L"types") {
        std::wstring types;
        wchar_t text[256];
        for (int i = 0; ComboItemText(SessionDialog(&driver), cmb1, i, text, 256); ++i)
            types += (i ? L"," : L"") + std::wstring(text);
        EXPECT_EQ(types, arg);
    } else if (op == L"enabled") {
        HWND control = GetDlgItem(SessionDialog(&driver), _wtoi(arg.c_str()));
        EXPECT_EQ(IsWindowEnabled(control) != 0, arg.back() == L'1');
    } else {
        if (op == L"pick")
            picked = arg;
        wchar_t failed[MAX_PATH];
        driver.waitMs = clock.Left();
        EXPECT_TRUE(RunSteps(&driver, (op + L" " + arg).c_str(), failed, MAX_PATH))
            << "not done" << Awaited();
    }
}

// What a failed wait was for: the row's time if it ran out, and what the
// picker shows.
std::string Session::Awaited() const
{
    wchar_t open[1024] = L"no dialog";
    if (driver.processId)
        DescribeOpenWindow(driver.processId, open, 1024);
    return std::string(clock.Left() ? "" : " within the row's 30 s") + "; the picker shows " + Utf8(open);
}

// The path of an item of a row's files afterwards ("PATH=TEXT" or
// "PATH^HEX"; no PATH: the file picked last).
std::wstring AfterPath(const std::wstring& item, const Session& session)
{
    size_t split = item.find_first_of(L"=^");
    return split == 0 ? session.picked : Expand(item.substr(0, split), session.dir);
}

// A row's files afterwards: "PATH=TEXT;..." (TEXT in UTF-8; "!" absent,
// "/" a folder, "*" any file), "PATH^HEX" (a file that starts with these
// bytes). The COM1 and LPT1 stand-ins are those of the project's Wine
// prefixes: a prefix made by plain wineboot, as the test kit's, has none.
void CheckFiles(const wchar_t* after, const Session& session)
{
    for (const std::wstring& item : Split(after, L';')) {
        std::wstring path = AfterPath(item, session);
        std::wstring want = item.substr(item.find_first_of(L"=^") + 1);
        SCOPED_TRACE(Utf8(path));
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (path.compare(0, 13, L"C:\\stand-ins\\") == 0 && WindowsWays())
            std::cout << "not checked the Windows way: " << Utf8(path)
                      << " (the project's Wine prefix's stand-in for a device)\n";
        else if (item[item.find_first_of(L"=^")] == L'^') {
            std::string bytes;
            for (size_t i = 0; i + 1 < want.size(); i += 2)
                bytes += (char)wcstol(want.substr(i, 2).c_str(), 0, 16);
            EXPECT_EQ(ReadFileBytes(path).substr(0, bytes.size()), bytes);
        } else if (want == L"!" || want == L"*")
            EXPECT_EQ(attributes == INVALID_FILE_ATTRIBUTES, want == L"!");
        else if (want == L"/")
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_DIRECTORY);
        else
            EXPECT_EQ(ReadFileBytes(path), Utf8(want));
    }
}

void CheckAfter(const Row& row, const Session& session)
{
    CheckFiles(row.after, session);
    for (const wchar_t* path : { L"C:\\FILE", L"C:\\FILE.new", L"C:\\FILE.old" })
        if ((path[7] || !row.reply) && !wcsstr(row.after ? row.after : L"", (path + std::wstring(L"=")).c_str()))
            EXPECT_FALSE(Exists(path)) << Utf8(path) << " was left behind";
}

// The reply's bytes as the host reads them: the short path in a 300-byte
// block, then for DoLoadDebugFile three little-endian words.
std::string ExpectedReply(const Row& row, const Session& session)
{
    std::wstring chosen = wcscmp(row.reply, L"*") ? Expand(row.reply, session.dir) : session.picked;
    std::string reply = ShortPathOf(chosen);
    reply.resize(300, '\0');
    for (int i = 0; wcscmp(row.verb, L"DoLoadDebugFile") == 0 && i < 12; ++i)
        reply += (char)(row.words[i / 4] >> (8 * (i % 4)));
    return reply;
}

std::string RequestBytes(const Row& row, const std::wstring& dir)
{
    std::wstring request = Expand(row.request, dir);
    if (request.compare(0, 4, L"raw:") == 0)
        return std::string((size_t)_wtoi(request.c_str() + 4), 'a');
    if (request.compare(0, 6, L"block:") == 0) {
        // The folder, then ".\" (the same folder) up to the 299th byte; the
        // 300th is an 'x', where a NUL would be.
        std::string bytes = Narrow(request.substr(6), CP_ACP) + "\\";
        if (bytes.size() % 2 == 0)
            bytes += "\\";
        while (bytes.size() < 299)
            bytes += ".\\";
        return bytes + "x";
    }
    unsigned char bytes[RequestCapacity];
    int size = BuildRequest(FindVerb(Narrow(row.verb, CP_ACP).c_str()), request.c_str(), bytes);
    EXPECT_GT(size, 0) << Utf8(request);
    return std::string((const char*)bytes, size > 0 ? size : 0);
}

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class Pick : public testing::TestWithParam<Row> {};

TEST_P(Pick, Row)
{
    const Row& row = GetParam();
    std::string table = testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
    if (!RunsUnderWine() && (table.rfind("CodePage936/", 0) == 0 || table.rfind("FullDisk/", 0) == 0))
        GTEST_SKIP() << "this table needs a Wine prefix of its own (code page 936, or a drive that fills up)";
    if (RowsOutOfTime >= RowsOutOfTimeToStop)
        FAIL() << "not run: the " << RowsOutOfTimeToStop << " rows before ran out of time, as a dialog that "
               << "never comes right makes every row do";
    ClearExchange();
    Session session = { {}, FreshFolder() };
    const wchar_t* steps = row.steps;
    if (!ForThisPlatform(row.onWindows, &steps, session.dir))
        return;
    if (row.request)
        WriteFileBytes(L"C:\\FILE", RequestBytes(row, session.dir));
    for (const std::wstring& step : Split(row.setup, L';'))
        session.Step(step);
    if (IsSkipped())
        return;
    ASSERT_FALSE(HasFailure()) << "set-up";
    wchar_t exe[MAX_PATH];
    PathBesideSelf(L"filepick.exe", exe, MAX_PATH);
    std::wstring line = row.verb[0] == L'"' ? row.verb : L"\"" + std::wstring(exe) + L"\" " + row.verb;
    Process picker;
    session.clock = RowClock();
    ASSERT_TRUE(picker.Start(exe, line));
    session.driver = { picker.info.dwProcessId, picker.info.hProcess, session.clock.Left(), 0, 0 };
    TimeKeeper keeper = { session.clock };
    DWORD expected = steps && wcscmp(steps, L"exit 0") == 0 ? 0 : 1;
    if (steps && expected) {
        // A row stops at its first failed step: what follows would act on a
        // dialog that is not there.
        ASSERT_NE(SessionDialog(&session.driver), nullptr) << "no dialog" << session.Awaited();
        for (const std::wstring& step : Split(steps, L';')) {
            session.Step(step);
            if (HasFailure())
                return;
        }
    } else {
        EXPECT_EQ(WaitForDialog(picker.info.dwProcessId, picker.info.hProcess, session.clock.Left(), 0), nullptr)
            << "a dialog showed";
    }
    DWORD exitCode = 0;
    ASSERT_TRUE(WaitForExit(picker.info.hProcess, session.clock.Left(), &exitCode))
        << "the picker did not end" << session.Awaited();
    EXPECT_EQ(exitCode, expected);
    session.Release();
    if (row.reply)
        EXPECT_EQ(ReadFileBytes(L"C:\\FILE"), ExpectedReply(row, session));
    CheckAfter(row, session);
}

// gtest's names for the instances: the row's name, in letters, digits and _.
template <typename Kind>
std::string RowName(const testing::TestParamInfo<Kind>& info)
{
    std::string name = info.param.name;
    for (char& c : name)
        if (!isalnum((unsigned char)c))
            c = '_';
    return name;
}

#define ROWS(table) INSTANTIATE_TEST_SUITE_P(table, Pick, testing::ValuesIn(table), RowName<Row>)

#define ML L"DoModuleListFile"
#define LD L"DoLoadDebugFile"
#define DS L"DoSetDumpFile"
#define DIR L"{dir}"
#define CYRILLIC L"\u0416\u0443\u0440\u043d\u0430\u043b"  // outside code page 1252
#define OMEGA L"\u03a9"  // best fit in 1252: "O"
#define HEX L"{dir}\\Blinky debug output.hex"
#define BLINKY L"{dir}\\blinky.c"
#define LOAD_TYPES                                                                    \
    L"types KEIL,IAR UBROF,IAR banked,BSO/Tasking OMF,BSO/Tasking IEEE695,Old BSO," \
    L"2500AD,Intel ASM/PLM51,MetaLink ASM51,MCC Software,OMF51 Format,FOMF,Intel Hex"
#define KEIL { 1, 0, 0 }
#define PICKED L"*"  // the reply: of the file picked last
// 35 folders "a b": about 170 characters, but Wine's short form (A_B~~GOE)
// is over 300.
#define AB5 L"\\a b\\a b\\a b\\a b\\a b"
#define SHORT_TOO_LONG L"{dir}" AB5 AB5 AB5 AB5 AB5 AB5 AB5 L"\\x y.c"
// 100 folders "+": about 230 characters, and each "+" an 8.3 name of its
// own, so the short form is some 900 characters.
#define PLUS10 L"\\+\\+\\+\\+\\+\\+\\+\\+\\+\\+"
#define PLUS100 L"{dir}" PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 L"\\x.c"

// Command lines, requests and start folders are the same code for every
// verb: they are checked with the module list.
const Row ModuleList[] = {
    { "opens titled in the requested folder on C files", ML, DIR,
      L"title Module List Files;types C file (*.c),List file (*.lst),All Files (*.*);"
      L"pick Blinky main module listing.lst", L"{dir}\\Blinky main module listing.lst" },
    { "a missing name is refused by the dialog", ML, DIR, L"pick {dir}\\no such.c;answer 1;cancel",
      0, L"=!" },
    { "a short path too long for the reply is told", ML, DIR,
      L"pick " SHORT_TOO_LONG L";warn too long for the debugger", 0, 0,
      L"put " SHORT_TOO_LONG L"=deep", {},
      L"skip Windows' short names of \"a b\" (AB~1) are shorter than Wine's (A_B~~GOE), so the "
      L"path fits there; the row of 100 folders \"+\" shows the same box on Windows" },
    { "a short form that outgrows its buffer is told as too long", ML, DIR,
      L"pick " PLUS100 L";warn too long for the debugger", 0, 0, L"put " PLUS100 L"=deep" },
    // A quoted program name ends at its closing quote or at a tab.
    { "a tab inside the quoted program path ends its name",
      L"\"C:\\a\tb\\filepick.exe\" DoModuleListFile", L"raw:300", L"exit 0", 0, L"C:\\FILE=*" },
    // A short request never shows a dialog; it is consumed all the same.
    { "a request of 299 bytes", ML, L"raw:299" },
    // A start folder that names a file is not used: the dialog opens
    // elsewhere, where the bare name is missing.
    { "a start folder that is a file", ML, L"{dir}\\sub\\a.c", L"pick a.c;answer 1;cancel", 0, 0,
      L"put {dir}\\sub\\a.c=a" },
    { "a start folder named in the code page", ML, L"{dir}\\M\u00fcller", L"pick inside.c",
      L"{dir}\\M\u00fcller\\inside.c", 0, L"put {dir}\\M\u00fcller\\inside.c=in" },
};
ROWS(ModuleList);

const Row LoadDebugFile[] = {
    { "opens with the template on KEIL", LD, DIR,
      L"title File Open;" LOAD_TYPES L";enabled 4392 0;cancel" },
    { "a bare name opens in the requested folder", LD, DIR, L"pick Blinky debug output.hex",
      HEX, 0, 0, KEIL },
    // Windows' dialogs report a path too long for their buffer; Wine's
    // old-style one cuts it and reports success.
    { "a path cut by the old-style dialog gets no reply", LD, DIR, L"pick {dir}\\{len:258}.hex",
      0, 0, L"put {dir}\\{len:258}.hex=x", {},
      L"instead pick {dir}\\{len:258}.hex;warn GetOpenFileName returned Error #12291" },
};
ROWS(LoadDebugFile);

// After: "=TEXT" the picked file holds TEXT. Device names are refused (the
// user is told and chooses again); the stand-ins the test prefix maps COM1
// and LPT1 to stay empty. Windows 11 (build 22000) takes a device name
// with a folder or an extension for a plain file.
const Row Dump[] = {
    { "save: a new name is created empty", DS, L"0",
      L"title Save Dump As;types Intel Hex (*.hex);pick {dir}\\Saved dump.hex", PICKED, L"=" },
    { "save: No to replacing keeps the file", DS, L"0", L"pick {dir}\\old dump.hex;answer 7;cancel",
      0, L"=old dump.hex" },
    // Windows refuses to shorten a file that another program has mapped.
    { "save: a replaced file that cannot be emptied is told, and given", DS, L"0",
      L"pick {dir}\\old dump.hex;answer 6;warn could not be emptied", PICKED, L"=old dump.hex",
      L"map {dir}\\old dump.hex" },
    // One box, then the dialog again; a cancel there is a cancel.
    { "save: a name in a missing folder is told, then cancelled", DS, L"0",
      L"pick {dir}\\nosuch\\new.hex;warn could not be created;cancel", 0, L"{dir}\\nosuch=!" },
    { "load: a missing file is refused by the dialog", DS, L"1",
      L"title Load Dump File;pick {dir}\\no such dump.hex;answer 1;cancel", 0, L"=!" },
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
      L"pick C:\\t\\COM1.log;warn is a device;pick {dir}\\after.log", PICKED,
      L"=;C:\\stand-ins\\com1=;C:\\stand-ins\\lpt1=", 0, {}, L"build 22000: pick {dir}\\COM1.log" },
    { "mode 3 touches nothing", DS, L"3", L"types Intel Hex (*.hex);pick {dir}\\old dump.hex",
      PICKED, L"=old dump.hex" },
    { "mode 5: a new name gets no reply and no word", DS, L"5", L"pick {dir}\\new.hex", 0, L"=!" },
};
ROWS(Dump);

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
    { "... but not when it cannot be renamed aside: its name stays taken", ML, DIR,
      L"warn could not be taken", 0, L"C:\\FILE.old=/", L"mkdir C:\\FILE.old;holdshared C:\\FILE" },
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

// Run with the ANSI code page 936, whose trail bytes include 0x5C ('\') and
// 0x7C ('|'): both characters below have one of them.
#define TRAIL L"\u4e57\u5104"
// 50 characters, 100 bytes: with ".\" up to a block's 300 bytes, a start
// folder within the dialogs' limit of 258 characters.
#define TRAIL10 TRAIL TRAIL TRAIL TRAIL TRAIL
#define TRAIL50 L"{dir}\\" TRAIL10 TRAIL10 TRAIL10 TRAIL10 TRAIL10
const Row CodePage936[] = {
    { "module list: a start folder and a name with trail bytes", ML, L"{dir}\\" TRAIL,
      L"pick " TRAIL L".c", L"{dir}\\" TRAIL L"\\" TRAIL L".c", 0,
      L"put {dir}\\" TRAIL L"\\" TRAIL L".c=in" },
    { "module list: a request block without its NUL is cut at its last byte", ML,
      L"block:" TRAIL50, L"pick a.c", TRAIL50 L"\\a.c", 0, L"put " TRAIL50 L"\\a.c=in" },
};
ROWS(CodePage936);

// The host companion as an integrator scripts it, and the exported dialog
// called through it from a host that loaded filepick.exe as a module.
struct HostRow {
    const char* name;
    const wchar_t* arguments;  // {dir}: the row's folder
    int status;
    // Texts the output (standard and error) holds, separated by '|'; one
    // after "!" it must not hold. {short} and {long}: the chosen file's
    // short path and its own path.
    const wchar_t* output;
    const wchar_t* chosen;
    const wchar_t* setup;  // file steps before the run, as a Pick row's
    // Files afterwards, as a Pick row's; a file named here that was there
    // before the run must not have been written.
    const wchar_t* after;
    const wchar_t* onWindows;  // as a Pick row's; "instead" replaces the output
    const wchar_t* program;    // beside the tests; 0: filepick-host.exe
    const wchar_t* steps;      // a user's, in the dialog it shows (or its picker)
};

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
int RunProgram(const wchar_t* name, const std::wstring& arguments, std::string* output, Session& session,
               const wchar_t* steps = 0)
{
    wchar_t exe[MAX_PATH], outPath[MAX_PATH];
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

class Host : public testing::TestWithParam<HostRow> {};

ULONGLONG WrittenAt(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return (ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32 | data.ftLastWriteTime.dwLowDateTime;
}

TEST_P(Host, Row)
{
    const HostRow& row = GetParam();
    if (RowsOutOfTime >= RowsOutOfTimeToStop)
        FAIL() << "not run: the " << RowsOutOfTimeToStop << " rows before ran out of time, as a dialog that "
               << "never comes right makes every row do";
    ClearExchange();
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
    EXPECT_EQ(RunProgram(row.program ? row.program : L"filepick-host.exe", Expand(row.arguments, session.dir),
                         &text, session, row.steps),
              row.status)
        << text << (session.clock.Left() ? "" : "(it did not end within the row's 30 s)");
    std::wstring want = Expand(output, session.dir), chosen = row.chosen ? Expand(row.chosen, session.dir) : L"";
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

#define CYRILLIC_IN_DIR L"{dir}\\" CYRILLIC
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
      L"instead " DOCTOR_OK(L"picker") DOCTOR_OK(L"exchange") DOCTOR_OK(L"short-names")
      DOCTOR_OK(L"folder-names") DOCTOR_OK(L"code-pages") DOCTOR_OK(L"dialogs") },
    { "the doctor leaves a pending request alone", L"--doctor \"{dir}\"", 0,
      L"warn     exchange        C:\\FILE (|skipped  dialogs", 0, L"put C:\\FILE=pending request",
      L"C:\\FILE=pending request" },
    { "the doctor reports a VirtualStore copy, where virtualization is unknown too",
      L"--doctor \"{dir}\"", 0, L"warn     virtualization|VirtualStore copy {store}\\FILE (", 0,
      L"put {store}\\FILE=old reply", 0, L"instead VirtualStore copy {store}\\FILE (" },
    { "the doctor counts and names a file whose short path cannot fit", L"--doctor \"{dir}\"", 0,
      L"warn     folder-names    1 of 7 files|+\\x.c", 0, L"put " PLUS100 L"=deep" },
    { "the doctor fails where C:\\ refuses its probe, and says what to do",
      L"--doctor --json \"{dir}\"", 1,
      L"\"name\":\"exchange\",\"status\":\"fail\",\"found\":\"this user could not create a file in "
      L"C:\\\\ (C:\\\\filepick-doctor.probe)|\"advice\":\"Remove what stands at "
      L"C:\\\\filepick-doctor.probe|\"status\":\"fail\"}", 0, L"mkdir C:\\filepick-doctor.probe",
      L"C:\\filepick-doctor.probe=/" },
};
INSTANTIATE_TEST_SUITE_P(HostCompanion, Host, testing::ValuesIn(HostCompanion), RowName<HostRow>);

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
};
INSTANTIATE_TEST_SUITE_P(SampleHost, Host, testing::ValuesIn(SampleHost), RowName<HostRow>);

}  // namespace
