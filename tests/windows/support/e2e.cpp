#include "support/e2e.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "exchange/layouts.h"

namespace e2e {

const wchar_t ExchangeFile[] = L"C:\\FILE";

namespace {

const wchar_t* const Leftovers[] = { L"C:\\FILE.new", L"C:\\FILE.old" };
bool LinkMade;  // by the row now running

// Every row's folder holds these; each file's content is its own name.
const wchar_t* const StandardFiles[] = {
    L"blinky.c", L"Blinky main module listing.lst", L"Blinky debug output.hex",
    L"old dump.hex", L"session trace.log", L"M\u00fcller \u00dcberlauf.lst",
    L"\u0416\u0443\u0440\u043d\u0430\u043b.lst",  // Cyrillic
    L"\u4e2d\u6587.hex",                          // Chinese
    L"\u03a9mega.c", L"Omega.c", L"Olog.log",     // omega and its look-alike
};

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring Marker()
{
    wchar_t path[MAX_PATH];
    PathBesideSelf(L"dialog-timeout.seen", path, MAX_PATH);
    return path;
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

void RemoveTree(const std::wstring& path)
{
    if (Exists(path))
        RunUnix(L"/bin/rm -rf", { path }, false);
}

void MakeParents(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), 0);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts(1);
    for (wchar_t c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    return parts;
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

std::wstring TextOf(HWND window)
{
    wchar_t text[1024];
    WindowText(window, text, 1024);
    return text;
}

struct Session {
    PickerSession driver;
    std::wstring dir;
    std::vector<HANDLE> held;

    ~Session() { Release(); }
    void Release()
    {
        for (HANDLE file : held)
            CloseHandle(file);
        held.clear();
    }

    void Hold(const std::wstring& path, DWORD sharing)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, 0,
                                  OPEN_ALWAYS, 0, 0);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        held.push_back(file);
        HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, 7, 0, OPEN_EXISTING, 0, 0);
        ASSERT_EQ(writer, INVALID_HANDLE_VALUE) << "the lock does not hold";
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
    DWORD error = GetLastError();
    CloseHandle(file);
    ASSERT_EQ(error, (DWORD)ERROR_DISK_FULL);
}

void Session::Step(const std::wstring& step)
{
    SCOPED_TRACE(Utf8(step));
    std::wstring op = step.substr(0, step.find(L' '));
    std::wstring raw = step.substr(std::min(step.size(), op.size() + 1));
    // Files: "PATH" or "PATH=TEXT" or "PATH>TARGET".
    size_t split = raw.find_first_of(L"=>");
    std::wstring path = Expand(raw.substr(0, split), dir);
    std::wstring target = split == std::wstring::npos ? L"" : Expand(raw.substr(split + 1), dir);
    if (op == L"put" || op == L"mkdir" || op == L"hold" || op == L"holdshared")
        MakeParents(path);
    if (op == L"put")
        return WriteFileBytes(path, Utf8(target));
    if (op == L"hold" || op == L"holdshared")
        return Hold(path, FILE_SHARE_READ | (op == L"holdshared" ? FILE_SHARE_DELETE : 0));
    if (op == L"symlink") {
        LinkMade = true;
        return RunUnix(L"/bin/ln -s", { target, path }, true);
    }
    if (op == L"fill")
        return Fill();
    if (op == L"mkdir" || op == L"readonly" || op == L"hardlink") {
        EXPECT_TRUE(op == L"mkdir"      ? CreateDirectoryW(path.c_str(), 0)
                    : op == L"readonly" ? SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY)
                                        : CreateHardLinkW(path.c_str(), target.c_str(), 0));
        return;
    }
    // What the dialog shows.
    std::wstring arg = Expand(raw, dir);
    int id = _wtoi(arg.c_str());
    std::wstring value = arg.substr(arg.find(L' ') + 1);  // after an id
    HWND dialog = op == L"title" || op == L"types" || op == L"check" || op == L"enabled" ||
                          op == L"text" ? SessionDialog(&driver) : 0;
    if (op == L"title") {
        EXPECT_EQ(TextOf(dialog), arg);
    } else if (op == L"types") {
        std::vector<std::wstring> types = Split(arg, L',');
        EXPECT_EQ(ComboItemCount(dialog, 1136), (int)types.size());
        for (size_t i = 0; i < types.size(); ++i) {
            wchar_t text[256];
            ComboItemText(dialog, 1136, (int)i, text, 256);
            EXPECT_EQ(text, types[i]);
        }
        EXPECT_EQ(ComboSelection(dialog, 1136), 0);
    } else if (op == L"check") {
        EXPECT_EQ(CheckState(dialog, id), value == L"1" ? BST_CHECKED : BST_UNCHECKED);
    } else if (op == L"enabled") {
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, id)) != 0, value == L"1");
    } else if (op == L"text") {
        EXPECT_EQ(TextOf(GetDlgItem(dialog, id)), value);
    } else {
        // What the user does: the driver's steps. One that failed only when
        // its wait ran out (a box that never came, a window that never went)
        // counts as a timeout.
        wchar_t failed[MAX_PATH];
        DWORD start = GetTickCount();
        bool done = RunSteps(&driver, (op + L" " + arg).c_str(), failed, MAX_PATH);
        if (!done && GetTickCount() - start >= driver.waitMs)
            NoteTimeout();
        EXPECT_TRUE(done) << "failed";
    }
}

void CheckReply(const Row& row, const std::wstring& dir)
{
    std::string reply = ReadFileBytes(ExchangeFile);
    if (!row.reply) {
        if (!row.after || !wcsstr(row.after, L"C:\\FILE="))
            EXPECT_EQ(reply, "<missing>") << "no reply was expected";
        return;
    }
    std::wstring chosen = Expand(row.reply, dir);
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
    std::vector<std::wstring> paths = { ExchangeFile, Leftovers[0], Leftovers[1], L"C:\\filler" };
    if (LinkMade) {
        paths.push_back(L"C:\\filepick-tests\\rm-done");
        WriteFileBytes(paths.back(), "");
        RunUnix(L"/bin/rm -rf", paths, false);
        LinkMade = false;
    }
    for (const std::wstring& path : paths)
        RemoveTree(path);
}

}  // namespace

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

void CheckAfter(const std::wstring& after, const std::wstring& dir)
{
    for (const std::wstring& item : Split(after, L';')) {
        if (item.empty())
            continue;
        std::wstring path = Expand(item.substr(0, item.find(L'=')), dir);
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
    RemoveTree(dir);
    MakeParents(dir + L"\\");
    for (const wchar_t* name : StandardFiles)
        WriteFileBytes(dir + L"\\" + name, Utf8(name));
    return dir;
}

void RunRow(const char* suite, int index, const Row& row)
{
    const char* only = getenv("FILEPICK_ROWS");  // to run some rows by hand
    if (only && !strstr(row.name, only))
        return;
    SCOPED_TRACE(std::string(suite) + " row " + std::to_string(index) + ": " + row.name);
    ClearExchange();
    Session session = { {}, FreshFolder(suite, index) };
    if (row.request)
        WriteFileBytes(ExchangeFile, RequestBytes(row.request, session.dir));
    for (const std::wstring& step : Split(row.setup ? row.setup : L"", L';'))
        if (!step.empty())
            session.Step(step);
    wchar_t exe[MAX_PATH];
    PathBesideSelf(L"filepick.exe", exe, MAX_PATH);
    std::wstring line = row.verb;
    size_t at = line.find(L"{picker}");
    if (line[0] != L'"')
        line = L"\"" + std::wstring(exe) + L"\" " + line;
    else if (at != std::wstring::npos)
        line.replace(at, 8, exe);
    Process picker;
    ASSERT_TRUE(StartPicker(exe, line.c_str(), &picker.info));
    session.driver = { picker.info.dwProcessId, picker.info.hProcess, WaitBound(), 0, 0 };
    HWND first = WaitForDialog(picker.info.dwProcessId, picker.info.hProcess, WaitBound(), 0);
    bool running = WaitForSingleObject(picker.info.hProcess, 0) == WAIT_TIMEOUT;
    if (!first && running)
        NoteTimeout();
    DWORD expected = row.steps && wcscmp(row.steps, L"exit 0") == 0 ? 0 : 1;
    bool done = true;  // every step of the row done
    if (row.steps && expected) {
        ASSERT_NE(first, nullptr) << "no dialog";
        if (TextOf(first) != L"WARNING")
            EXPECT_FALSE(Exists(ExchangeFile)) << "the request is consumed before the dialog";
        // A row stops at its first failed step: what follows would act on a
        // dialog that is not there.
        const ::testing::TestResult* result =
            ::testing::UnitTest::GetInstance()->current_test_info()->result();
        int failures = result->total_part_count();
        for (const std::wstring& step : Split(row.steps, L';')) {
            session.Step(step);
            if ((done = result->total_part_count() == failures) == false)
                break;
        }
    } else {
        EXPECT_EQ(first, nullptr) << "a dialog showed";
    }
    if (done) {
        DWORD exitCode = 0;
        bool ended = WaitForExit(picker.info.hProcess, WaitBound(), &exitCode);
        if (!ended)
            NoteTimeout();
        EXPECT_TRUE(ended && exitCode == expected) << "exit code " << exitCode;
        session.Release();
        CheckReply(row, session.dir);
        std::wstring after = row.after ? row.after : L"";
        for (const wchar_t* leftover : Leftovers)
            if (after.find(leftover) == std::wstring::npos)
                EXPECT_FALSE(Exists(leftover)) << Utf8(leftover) << " was left behind";
        CheckAfter(after, session.dir);
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

static bool RowTimedOut;

DWORD WaitBound() { return Exists(Marker()) ? 5000 : 60000; }

void NoteTimeout()
{
    RowTimedOut = true;
    WriteFileBytes(Marker(), "a wait ran out\n");
}

bool RunRows(const char* suite, const Row* rows, int count)
{
    for (int i = 0; i < count; ++i) {
        RowTimedOut = false;
        RunRow(suite, i, rows[i]);
        if (RowTimedOut) {
            ADD_FAILURE() << "a wait ran out: the rest of " << suite << " is not run";
            return false;
        }
    }
    return true;
}

std::wstring Wide(const std::string& ansi)
{
    std::wstring wide(ansi.size() + 1, L'\0');
    wide.resize((size_t)MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return wide;
}

static std::string Narrow(const std::wstring& wide, UINT codePage)
{
    std::string text(wide.size() * 4 + 1, '\0');
    text.resize((size_t)WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &text[0], (int)text.size(), 0, 0) - 1);
    return text;
}

std::string Ansi(const std::wstring& wide) { return Narrow(wide, CP_ACP); }
std::string Utf8(const std::wstring& wide) { return Narrow(wide, CP_UTF8); }

std::string ReadFileBytes(const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return "<missing>";
    std::string bytes;
    char chunk[4096];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr) << Utf8(path);
    EXPECT_EQ(fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    EXPECT_EQ(fclose(file), 0);
}

std::string ShortPathOf(const std::wstring& path)
{
    wchar_t shortPath[600];
    DWORD length = GetShortPathNameW(path.c_str(), shortPath, 600);
    return length > 0 && length < 600 ? Ansi(shortPath) : "<no short path>";
}

}  // namespace e2e
