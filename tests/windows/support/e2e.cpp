#include "support/e2e.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "exchange/layouts.h"

namespace e2e {

const wchar_t ExchangeFile[] = L"C:\\FILE";

namespace {

const wchar_t* const Leftovers[] = { L"C:\\FILE.new", L"C:\\FILE.old" };
bool LinkMade;     // by the row now running
bool RowTimedOut;  // a wait of the row now running ran out

// Every row's folder holds these; each file's content is its own name.
const wchar_t* const StandardFiles[] = {
    L"blinky.c", L"Blinky main module listing.lst", L"Blinky debug output.hex",
    L"old dump.hex", L"session trace.log", L"M\u00fcller \u00dcberlauf.lst",
    L"\u0416\u0443\u0440\u043d\u0430\u043b.lst",  // Cyrillic
    L"\u4e2d\u6587.hex",                          // Chinese
    L"\u03a9mega.c", L"Omega.c", L"Olog.log",     // omega and its look-alike
};

// A started program, ended by its handle when this goes.
struct Process {
    PROCESS_INFORMATION info = {};
    ~Process() { EndPicker(&info); }
};

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Says that a wait of this run ran out (win.session_start clears it).
std::wstring Marker()
{
    wchar_t path[MAX_PATH];
    PathBesideSelf(L"dialog-timeout.seen", path, MAX_PATH);
    return path;
}

// How long to wait for a dialog or an exit: long, until any wait of this
// run found nothing in time; then short, so a broken dialog fails fast.
DWORD WaitBound() { return Exists(Marker()) ? 5000 : 60000; }

void NoteTimeout()
{
    RowTimedOut = true;
    WriteFileBytes(Marker(), "a wait ran out\n");
}

std::string Narrow(const std::wstring& wide, UINT codePage)
{
    std::string text(wide.size() * 4 + 1, '\0');
    text.resize((size_t)WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &text[0], (int)text.size(), 0, 0) - 1);
    return text;
}

std::string Ansi(const std::wstring& wide) { return Narrow(wide, CP_ACP); }

std::wstring TextOf(HWND window)
{
    wchar_t text[1024];
    WindowText(window, text, 1024);
    return text;
}

// Wine runs Linux programs too, but gives no handle to wait on: this runs
// command on the paths' Linux forms and waits until the last one exists, or
// is gone. (A link made from Windows would be one of Wine's own.)
void RunUnix(const wchar_t* command, const std::vector<std::wstring>& paths, bool exists)
{
    typedef char*(CDECL * UnixName)(const wchar_t*);
    UnixName unixName = (UnixName)GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name");
    std::wstring line = command;
    for (const std::wstring& path : paths) {
        char* name = unixName(path.c_str());
        line += L" \"" + Wide(name ? name : "") + L"\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    Process process;
    ASSERT_TRUE(StartPicker(0, line.c_str(), &process.info)) << Utf8(line);
    for (DWORD start = GetTickCount(); Exists(paths.back()) != exists; Sleep(10))
        ASSERT_LT(GetTickCount() - start, WaitBound()) << Utf8(line);
}

void MakeParents(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), 0);
}

std::string RequestBytes(const std::wstring& request, const std::wstring& dir)
{
    std::wstring kind = request.substr(0, request.find(L':')), value = request.substr(kind.size() + 1);
    if (kind == L"mode") {
        std::string block(4, '\0');
        StoreLe32((unsigned char*)&block[0], (int)wcstoll(value.c_str(), 0, 10));
        return block;
    }
    if (kind == L"raw")
        return value == L"nonul" ? std::string(300, 'q') + "tail past the block"
                                 : std::string((size_t)_wtoi(value.c_str()), 'a');
    std::string block = Ansi(Expand(value, dir));
    block.resize(300, '\0');
    return block;
}

// The number of failures the running test has seen so far.
int Failures()
{
    return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
}

struct Session {
    PickerSession driver;
    std::wstring dir;
    std::wstring picked;  // the path of the last "pick"
    std::vector<HANDLE> held;

    ~Session() { Release(); }
    void Release()
    {
        for (HANDLE file : held)
            CloseHandle(file);
        held.clear();
    }
    void Step(const std::wstring& step);
};

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
        held.push_back(
            CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, 0, OPEN_ALWAYS, 0, 0));
        EXPECT_NE(held.back(), INVALID_HANDLE_VALUE);
    } else if (op == L"readonly") {
        EXPECT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    } else if (op == L"hardlink") {
        EXPECT_TRUE(CreateHardLinkW(path.c_str(), target.c_str(), 0));
    } else if (op == L"symlink") {
        LinkMade = true;
        RunUnix(L"/bin/ln -s", { target, path }, true);
    } else if (op == L"fill") {
        Fill();
    } else if (op == L"title") {
        EXPECT_EQ(TextOf(SessionDialog(&driver)), arg);
    } else if (op == L"types") {
        std::wstring types;
        wchar_t text[256];
        for (int i = 0; ComboItemText(SessionDialog(&driver), 1136, i, text, 256); ++i)
            types += (i ? L"," : L"") + std::wstring(text);
        EXPECT_EQ(types, arg);
    } else if (op == L"enabled") {
        HWND control = GetDlgItem(SessionDialog(&driver), _wtoi(arg.c_str()));
        EXPECT_EQ(IsWindowEnabled(control) != 0, arg.back() == L'1');
    } else {
        // What the user does: the driver's steps. One that failed only when
        // its wait ran out (a box that never came, a window that never went)
        // counts as a timeout.
        if (op == L"pick")
            picked = arg;
        wchar_t failed[MAX_PATH];
        DWORD start = GetTickCount();
        bool done = RunSteps(&driver, (op + L" " + arg).c_str(), failed, MAX_PATH);
        if (!done && GetTickCount() - start >= driver.waitMs)
            NoteTimeout();
        EXPECT_TRUE(done) << "failed";
    }
}

void CheckReply(const Row& row, const Session& session)
{
    std::string reply = ReadFileBytes(ExchangeFile);
    if (!row.reply) {
        if (!row.after || !wcsstr(row.after, L"C:\\FILE="))
            EXPECT_EQ(reply, "<missing>") << "no reply was expected";
        return;
    }
    std::wstring chosen = wcscmp(row.reply, L"*") ? Expand(row.reply, session.dir) : session.picked;
    bool load = wcscmp(row.verb, L"DoLoadDebugFile") == 0;
    ASSERT_EQ(reply.size(), load ? 312u : 300u) << "reply " << reply;
    std::string path = reply.c_str();
    EXPECT_EQ(path, ShortPathOf(chosen));
    EXPECT_GE(reply.find_first_not_of('\0', path.size()), 300u) << "zeros after the path";
    for (unsigned char c : path)
        EXPECT_LT(c, 0x80) << "the reply is ASCII: " << path;
    EXPECT_EQ(ReadFileBytes(Wide(path)), ReadFileBytes(chosen)) << "opens the chosen file";
    for (int i = 0; load && i < 3; ++i)
        EXPECT_EQ(LoadLe32((const unsigned char*)&reply[300 + 4 * i]), row.words[i])
            << "startup skip, symbol only, format: word " << i;
}

// Whatever a row left at the exchange paths goes, also after a failure.
// A link made from Linux dangles once its target goes, and Windows does not
// see a dangling link: after a row that made one, rm takes every path, and
// a marker last, whose going says that rm is done.
void ClearExchange()
{
    std::vector<std::wstring> paths;
    for (const wchar_t* path : { ExchangeFile, Leftovers[0], Leftovers[1], L"C:\\filler" })
        if (LinkMade || Exists(path))
            paths.push_back(path);
    if (LinkMade) {
        paths.push_back(L"C:\\rm-done");
        WriteFileBytes(paths.back(), "");
    }
    LinkMade = false;
    if (!paths.empty())
        RunUnix(L"/bin/rm -rf", paths, false);
}

}  // namespace

std::vector<std::wstring> Split(const wchar_t* text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    std::wistringstream in(text ? text : L"");
    for (std::wstring part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

std::wstring Expand(const std::wstring& text, const std::wstring& dir)
{
    std::wstring result = text;
    for (size_t at; (at = result.find(L"{dir}")) != std::wstring::npos;)
        result.replace(at, 5, dir);
    size_t at = result.find(L"{len:");
    if (at != std::wstring::npos) {
        size_t total = (size_t)_wtoi(result.c_str() + at + 5);
        result.erase(at, result.find(L'}', at) - at + 1);
        result.insert(at, std::wstring(total - result.size(), L'y'));
    }
    return result;
}

void CheckAfter(const wchar_t* after, const std::wstring& dir, const std::wstring& picked)
{
    for (const std::wstring& item : Split(after, L';')) {
        if (item.empty())
            continue;
        std::wstring path = item[0] == L'=' ? picked : Expand(item.substr(0, item.find(L'=')), dir);
        std::wstring want = item.substr(item.find(L'=') + 1);
        SCOPED_TRACE(Utf8(path));
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (want == L"!" || want == L"*")
            EXPECT_EQ(attributes == INVALID_FILE_ATTRIBUTES, want == L"!");
        else if (want == L"/")
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_DIRECTORY);
        else
            EXPECT_EQ(ReadFileBytes(path), Utf8(want));
    }
}

std::wstring FreshFolder(const char* suite, int index)
{
    std::wstring dir = L"C:\\filepick-tests\\" + Wide(suite) + L"-" + std::to_wstring(index);
    if (Exists(dir))
        RunUnix(L"/bin/rm -rf", { dir }, false);
    MakeParents(dir + L"\\");
    for (const wchar_t* name : StandardFiles)
        WriteFileBytes(dir + L"\\" + name, Utf8(name));
    return dir;
}

void RunRow(const char* suite, int index, const Row& row)
{
    SCOPED_TRACE(std::string(suite) + " row " + std::to_string(index) + ": " + row.name);
    ClearExchange();
    Session session = { {}, FreshFolder(suite, index) };
    if (row.request)
        WriteFileBytes(ExchangeFile, RequestBytes(row.request, session.dir));
    for (const std::wstring& step : Split(row.setup, L';'))
        if (!step.empty())
            session.Step(step);
    // The command line: the verb after the quoted program, or as the row has it.
    wchar_t exe[MAX_PATH];
    PathBesideSelf(L"filepick.exe", exe, MAX_PATH);
    std::wstring line = row.verb[0] == L'"' ? row.verb : L"\"{picker}\" " + std::wstring(row.verb);
    size_t at = line.find(L"{picker}");
    if (at != std::wstring::npos)
        line.replace(at, 8, exe);
    Process picker;
    ASSERT_TRUE(StartPicker(exe, line.c_str(), &picker.info));
    session.driver = { picker.info.dwProcessId, picker.info.hProcess, WaitBound(), 0, 0 };
    HWND first = WaitForDialog(picker.info.dwProcessId, picker.info.hProcess, WaitBound(), 0);
    if (!first && WaitForSingleObject(picker.info.hProcess, 0) == WAIT_TIMEOUT)
        NoteTimeout();
    DWORD expected = row.steps && wcscmp(row.steps, L"exit 0") == 0 ? 0 : 1;
    // A row stops at its first failed step: what follows would act on a
    // dialog that is not there.
    int failures = Failures();
    if (row.steps && expected) {
        ASSERT_NE(first, nullptr) << "no dialog";
        if (TextOf(first) != L"WARNING")
            EXPECT_FALSE(Exists(ExchangeFile)) << "the request is consumed before the dialog";
        for (const std::wstring& step : Split(row.steps, L';'))
            if (Failures() == failures)
                session.Step(step);
    } else {
        EXPECT_EQ(first, nullptr) << "a dialog showed";
    }
    if (Failures() == failures) {
        DWORD exitCode = 0;
        bool ended = WaitForExit(picker.info.hProcess, WaitBound(), &exitCode);
        if (!ended)
            NoteTimeout();
        EXPECT_TRUE(ended && exitCode == expected) << "exit code " << exitCode;
        session.Release();
        CheckReply(row, session);
        for (const wchar_t* leftover : Leftovers)
            if (!row.after || !wcsstr(row.after, leftover))
                EXPECT_FALSE(Exists(leftover)) << Utf8(leftover) << " was left behind";
        CheckAfter(row.after, session.dir, session.picked);
    }
    EndPicker(&picker.info);
    session.Release();
    ClearExchange();
}

int Run(const std::wstring& exe, const std::wstring& tail, std::string* output)
{
    // Output goes to a file, read once the program has ended: a pipe would
    // be read until the program closes it, which one that hangs never does.
    wchar_t path[MAX_PATH], outPath[MAX_PATH];
    PathBesideSelf((L"output-" + std::to_wstring(GetCurrentProcessId()) + L".txt").c_str(),
                   outPath, MAX_PATH);
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, 0, TRUE };
    HANDLE out = CreateFileW(outPath, GENERIC_READ | GENERIC_WRITE, 7, &inherit, CREATE_ALWAYS,
                             FILE_FLAG_DELETE_ON_CLOSE, 0);
    PathBesideSelf(exe.c_str(), path, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(path) + L"\" " + tail;
    STARTUPINFOW startup = { sizeof startup };
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    // In a job, so that a picker the program started ends with it.
    HANDLE job = CreateJobObjectW(0, 0);
    Process process;
    DWORD code = 0, got;
    bool ended = out != INVALID_HANDLE_VALUE &&
                 CreateProcessW(path, &line[0], 0, 0, TRUE, CREATE_SUSPENDED, 0, 0, &startup,
                                &process.info) &&
                 AssignProcessToJobObject(job, process.info.hProcess) &&
                 ResumeThread(process.info.hThread) != (DWORD)-1 &&
                 WaitForExit(process.info.hProcess, WaitBound(), &code);
    if (!ended && process.info.hProcess)
        NoteTimeout();
    TerminateJobObject(job, 99);
    CloseHandle(job);
    EndPicker(&process.info);
    char chunk[512];
    SetFilePointer(out, 0, 0, FILE_BEGIN);
    while (ReadFile(out, chunk, sizeof chunk, &got, 0) && got)
        output->append(chunk, got);
    CloseHandle(out);
    return ended ? (int)code : -1;
}

void RunRows(const char* suite, const Row* rows, int count)
{
    const char* only = getenv("FILEPICK_ROWS");  // to run some rows by hand
    for (int i = 0; i < count && !RowTimedOut; ++i)
        if (!only || strstr(rows[i].name, only))
            RunRow(suite, i, rows[i]);
    if (RowTimedOut)
        ADD_FAILURE() << "a wait ran out: the rest of " << suite << " is not run";
    RowTimedOut = false;
}

std::wstring Wide(const std::string& ansi)
{
    std::wstring wide(ansi.size() + 1, L'\0');
    wide.resize((size_t)MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return wide;
}

std::string Utf8(const std::wstring& wide) { return Narrow(wide, CP_UTF8); }

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

std::string ShortPathOf(const std::wstring& path)
{
    wchar_t shortPath[600];
    DWORD length = GetShortPathNameW(path.c_str(), shortPath, 600);
    return length > 0 && length < 600 ? Ansi(shortPath) : "<no short path>";
}

}  // namespace e2e
