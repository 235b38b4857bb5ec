#include "support/e2e.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace e2e {

namespace {

enum { LongWaitMs = 60000, ShortWaitMs = 5000 };

const wchar_t Exchange[] = L"C:\\FILE";
const wchar_t* const Leftovers[] = { L"C:\\FILE.new", L"C:\\FILE.old" };

// Every row's folder holds these; each file's content is its own name.
const wchar_t* const StandardFiles[] = {
    L"blinky.c", L"Blinky main module listing.lst", L"Blinky debug output.hex",
    L"old dump.hex", L"session trace.log", L"M\u00fcller \u00dcberlauf.lst",
    L"\u0416\u0443\u0440\u043d\u0430\u043b.lst",  // Cyrillic
    L"\u4e2d\u6587.hex",                          // Chinese
    L"\u03a9mega.c", L"Omega.c", L"Olog.log",     // omega and its look-alike
};

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Marker()
{
    wchar_t path[MAX_PATH];
    PathBesideSelf(L"dialog-timeout.seen", path, MAX_PATH);
    return path;
}

// The Linux path of a Windows one (Wine's own export).
std::wstring UnixPath(const std::wstring& path)
{
    typedef char*(CDECL * Proc)(const wchar_t*);
    Proc unixName = (Proc)GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name");
    char* name = unixName ? unixName(path.c_str()) : 0;
    std::wstring result = name ? Wide(name) : L"";
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs a Linux program (Wine starts those too, but gives no handle to wait
// on) and waits until path exists, or is gone: links, and removing them.
void RunUnix(const std::wstring& commandLine, const std::wstring& path, bool exists)
{
    Process process;
    ASSERT_TRUE(StartPicker(0, commandLine.c_str(), &process.info)) << Utf8(commandLine);
    for (DWORD start = GetTickCount(); Exists(path) != exists;) {
        ASSERT_LT(GetTickCount() - start, WaitBound()) << Utf8(commandLine);
        Sleep(10);
    }
}

void RemoveTree(const std::wstring& path)
{
    if (Exists(path))
        RunUnix(L"/bin/rm -rf \"" + UnixPath(path) + L"\"", path, false);
}

void MakeParents(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), 0);
}

std::wstring Replace(std::wstring text, const std::wstring& from, const std::wstring& to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

std::wstring Expand(const std::wstring& text, const std::wstring& dir)
{
    std::wstring result = Replace(text, L"{dir}", dir);
    size_t at = result.find(L"{len:");
    if (at != std::wstring::npos) {
        size_t end = result.find(L'}', at);
        size_t total = (size_t)_wtoi(result.c_str() + at + 5);
        result.erase(at, end - at + 1);
        result.insert(at, std::wstring(total - result.size(), L'y'));
    }
    return result;
}

namespace {

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::wstring::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string RequestBytes(const std::wstring& request, const std::wstring& dir)
{
    std::wstring kind = request.substr(0, request.find(L':') + 1);
    std::wstring value = request.substr(kind.size());
    if (kind == L"mode:") {
        unsigned mode = (unsigned)_wtoi(value.c_str());
        std::string block(4, '\0');
        for (int i = 0; i < 4; ++i)
            block[i] = (char)(mode >> (8 * i));
        return block;
    }
    if (kind == L"raw:")
        return value == L"nonul" ? std::string(300, 'q') + "tail past the block"
                                 : std::string((size_t)_wtoi(value.c_str()), 'a');
    std::string block = Ansi(Expand(value, dir));
    block.resize(300, '\0');
    return block;
}

int IntAt(const std::string& bytes, size_t offset)
{
    unsigned value = 0;
    for (int i = 0; i < 4; ++i)
        value |= (unsigned)(unsigned char)bytes[offset + i] << (8 * i);
    return (int)value;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[1024];
    WindowText(window, text, 1024);
    return text;
}

struct Session {
    const Row& row;
    std::wstring dir;
    Process picker;
    HWND dialog = 0;
    HWND closed = 0;  // a window that went, not to be taken for the next one
    std::vector<HANDLE> held;

    HWND Window(HWND exclude)
    {
        HWND window = WaitForDialog(picker.info.dwProcessId, picker.info.hProcess,
                                    WaitBound(), exclude);
        if (!window && WaitForSingleObject(picker.info.hProcess, 0) != WAIT_OBJECT_0)
            NoteTimeout();
        return window;
    }
    HWND Dialog()
    {
        if (!dialog || !IsWindow(dialog))
            dialog = Window(closed);
        return dialog;
    }
    void Hold(const std::wstring& path, DWORD sharing)
    {
        MakeParents(path);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, 0,
                                  OPEN_ALWAYS, 0, 0);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << Utf8(path);
        held.push_back(file);
        HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                    FILE_SHARE_DELETE, 0, OPEN_EXISTING, 0, 0);
        ASSERT_EQ(writer, INVALID_HANDLE_VALUE) << "the lock does not hold";
    }
    void Fill()
    {
        HANDLE file = CreateFileW(L"C:\\filler", GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
        std::string chunk(4096, 'f');
        DWORD put = 0;
        while (WriteFile(file, chunk.data(), (DWORD)chunk.size(), &put, 0) && put == chunk.size())
            ;
        CloseHandle(file);
        ASSERT_EQ(GetLastError(), (DWORD)ERROR_DISK_FULL);
    }
    void Step(const std::wstring& step);
};

void Session::Step(const std::wstring& step)
{
    SCOPED_TRACE(Utf8(step));
    std::wstring op = step.substr(0, step.find(L' '));
    std::wstring raw = step.size() > op.size() ? step.substr(op.size() + 1) : L"";
    std::wstring arg = Expand(raw, dir);
    int id = _wtoi(arg.c_str());
    std::wstring rest = arg.substr(arg.find(L' ') + 1);  // the argument after an id
    if (op == L"put" || op == L"mkdir" || op == L"readonly" || op == L"hold" ||
        op == L"holdshared" || op == L"symlink" || op == L"hardlink" || op == L"fill") {
        size_t split = raw.find(op == L"put" ? L'=' : L'>');
        std::wstring path = Expand(raw.substr(0, split), dir);
        std::wstring target = split == std::wstring::npos ? L"" : Expand(raw.substr(split + 1), dir);
        MakeParents(path);
        if (op == L"put")
            WriteFileBytes(path, Utf8(target));
        else if (op == L"mkdir")
            ASSERT_TRUE(CreateDirectoryW(path.c_str(), 0));
        else if (op == L"readonly")
            ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
        else if (op == L"hold" || op == L"holdshared")
            Hold(path, FILE_SHARE_READ | (op == L"holdshared" ? FILE_SHARE_DELETE : 0));
        else if (op == L"symlink")
            RunUnix(L"/bin/ln -s \"" + UnixPath(target) + L"\" \"" + UnixPath(path) + L"\"",
                    path, true);
        else if (op == L"hardlink")
            ASSERT_TRUE(CreateHardLinkW(path.c_str(), target.c_str(), 0));
        else
            Fill();
        return;
    }
    if (op == L"warn") {
        HWND box = dialog && IsWindow(dialog) && TextOf(dialog) == L"WARNING" ? dialog
                                                                             : Window(dialog);
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_EQ(TextOf(box), L"WARNING");
        wchar_t message[2048];
        MessageBoxText(box, message, 2048);
        EXPECT_NE(std::wstring(message).find(arg), std::wstring::npos) << Utf8(message);
        PressButton(box, IDOK);
        closed = box;
        dialog = 0;
        return;
    }
    if (op == L"answer") {
        HWND prompt = Window(Dialog());
        ASSERT_NE(prompt, nullptr) << "no prompt";
        PressButton(prompt, id);
        for (DWORD start = GetTickCount(); IsWindow(prompt);) {
            ASSERT_LT(GetTickCount() - start, WaitBound()) << "the prompt stays";
            Sleep(10);
        }
        WaitForInputIdle(picker.info.hProcess, WaitBound());
        return;
    }
    HWND window = Dialog();
    ASSERT_NE(window, nullptr) << "no dialog";
    if (op == L"title") {
        EXPECT_EQ(TextOf(window), arg);
    } else if (op == L"types") {
        std::vector<std::wstring> types = Split(arg, L',');
        EXPECT_EQ(ComboItemCount(window, 1136), (int)types.size());
        for (size_t i = 0; i < types.size(); ++i) {
            wchar_t text[256];
            ComboItemText(window, 1136, (int)i, text, 256);
            EXPECT_EQ(text, types[i]) << i;
        }
        EXPECT_EQ(ComboSelection(window, 1136), 0);
    } else if (op == L"type") {
        ASSERT_TRUE(SelectFileType(window, id));
    } else if (op == L"click") {
        ASSERT_TRUE(ClickControl(window, id));
    } else if (op == L"check") {
        EXPECT_EQ(CheckState(window, id), rest == L"1" ? BST_CHECKED : BST_UNCHECKED);
    } else if (op == L"enabled") {
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(window, id)) != 0, rest == L"1");
    } else if (op == L"text") {
        EXPECT_EQ(TextOf(GetDlgItem(window, id)), rest);
    } else if (op == L"pick") {
        ASSERT_TRUE(ChooseFile(window, arg.c_str()));
    } else if (op == L"cancel") {
        WaitForInputIdle(picker.info.hProcess, WaitBound());
        PressButton(window, IDCANCEL);
    } else {
        FAIL() << "unknown step";
    }
}

}  // namespace

void CheckAfter(const std::wstring& after, const std::wstring& dir)
{
    for (const std::wstring& item : Split(after, L';')) {
        std::wstring path = Expand(item.substr(0, item.find(L'=')), dir);
        std::wstring want = item.substr(item.find(L'=') + 1);
        if (want == L"!")
            EXPECT_FALSE(Exists(path)) << Utf8(path);
        else if (want == L"/")
            EXPECT_TRUE(IsFolder(path)) << Utf8(path);
        else if (want == L"*")
            EXPECT_TRUE(Exists(path)) << Utf8(path);
        else
            EXPECT_EQ(ReadFileBytes(path), Utf8(want)) << Utf8(path);
    }
}

namespace {

void CheckReply(const Row& row, const std::wstring& dir)
{
    std::string reply = ReadFileBytes(Exchange);
    if (!row.reply) {
        if (!row.after || !wcsstr(row.after, L"C:\\FILE="))
            EXPECT_EQ(reply, "<missing>") << "no reply was expected";
        return;
    }
    std::wstring chosen = Expand(row.reply, dir);
    bool load = std::wstring(row.verb) == L"DoLoadDebugFile";
    ASSERT_EQ(reply.size(), load ? 312u : 300u) << "reply " << reply;
    std::string path = reply.c_str();
    EXPECT_EQ(path, ShortPathOf(chosen));
    EXPECT_GE(reply.find_first_not_of('\0', path.size()), 300u) << "zeros after the path";
    for (unsigned char c : path)
        EXPECT_LT(c, 0x80) << "the reply is ASCII: " << path;
    EXPECT_EQ(ReadFileBytes(Wide(path)), ReadFileBytes(chosen)) << "opens the chosen file";
    if (load) {
        EXPECT_EQ(IntAt(reply, 300), row.words[0]) << "startup skip";
        EXPECT_EQ(IntAt(reply, 304), row.words[1]) << "symbol only";
        EXPECT_EQ(IntAt(reply, 308), row.words[2]) << "format";
    }
}

}  // namespace

std::wstring FreshFolder(const char* suite, int index)
{
    std::wstring dir = L"C:\\filepick-tests\\" + Wide(suite) + L"-" + std::to_wstring(index);
    RemoveTree(dir);
    MakeParents(dir + L"\\");
    for (const wchar_t* name : StandardFiles)
        WriteFileBytes(dir + L"\\" + name, Utf8(name));
    return dir;
}

// Whatever a row left at the exchange paths goes, also after a failure.
void ClearExchange()
{
    for (const wchar_t* path : { Exchange, Leftovers[0], Leftovers[1], L"C:\\filler" })
        RemoveTree(path);
}

void RunRow(const char* suite, int index, const Row& row)
{
    const char* only = getenv("FILEPICK_ROWS");  // for a run of some rows by hand
    if (only && !strstr(row.name, only))
        return;
    SCOPED_TRACE(std::string(suite) + " row " + std::to_string(index) + ": " + row.name);
    ClearExchange();
    std::wstring dir = FreshFolder(suite, index);
    Session session = { row, dir };
    if (row.request)
        WriteFileBytes(Exchange, RequestBytes(row.request, dir));
    for (const std::wstring& step : Split(row.setup ? row.setup : L"", L';'))
        if (!step.empty())
            session.Step(step);
    ASSERT_TRUE(Start(&session.picker, L"filepick.exe", row.verb));
    if (row.steps) {
        // The request is consumed before the first dialog shows.
        HWND first = session.Dialog();
        if (first && TextOf(first) != L"WARNING")
            EXPECT_FALSE(Exists(Exchange)) << "the request is still there";
        for (const std::wstring& step : Split(row.steps, L';'))
            session.Step(step);
    } else {
        EXPECT_EQ(session.Window(0), nullptr) << "a dialog showed";
    }
    DWORD exitCode = 0;
    bool ended = WaitForExit(session.picker.info.hProcess, WaitBound(), &exitCode);
    if (!ended)
        NoteTimeout();
    EXPECT_TRUE(ended && exitCode == 1) << "exit code " << exitCode;
    for (HANDLE file : session.held)
        CloseHandle(file);
    CheckReply(row, dir);
    std::wstring after = row.after ? row.after : L"";
    for (const wchar_t* leftover : Leftovers)
        if (after.find(leftover) == std::wstring::npos)
            EXPECT_FALSE(Exists(leftover)) << Utf8(leftover) << " was left behind";
    if (!after.empty())
        CheckAfter(after, dir);
    EndPicker(&session.picker.info);
    ClearExchange();
}

bool Start(Process* process, const std::wstring& exe, const std::wstring& tail)
{
    wchar_t path[MAX_PATH];
    PathBesideSelf(exe.c_str(), path, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(path) + L"\" " + tail;
    return StartPicker(path, line.c_str(), &process->info) != 0;
}

int Run(const std::wstring& exe, const std::wstring& tail, std::string* output)
{
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, 0, TRUE };
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    wchar_t path[MAX_PATH];
    PathBesideSelf(exe.c_str(), path, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(path) + L"\" " + tail;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    Process process;
    BOOL started = CreateProcessW(path, &line[0], 0, 0, TRUE, 0, 0, 0, &startup, &process.info);
    CloseHandle(writeEnd);
    char chunk[512];
    DWORD got;
    while (started && ReadFile(readEnd, chunk, sizeof chunk, &got, 0) && got)
        output->append(chunk, got);
    CloseHandle(readEnd);
    DWORD code = 0;
    return started && WaitForExit(process.info.hProcess, WaitBound(), &code) ? (int)code : -1;
}

DWORD WaitBound() { return Exists(Marker()) ? ShortWaitMs : LongWaitMs; }

void NoteTimeout() { WriteFileBytes(Marker(), "a wait ran out\n"); }

std::wstring Wide(const std::string& ansi)
{
    std::wstring wide(ansi.size() + 1, L'\0');
    wide.resize((size_t)MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0],
                                            (int)wide.size()) - 1);
    return wide;
}

static std::string Narrow(const std::wstring& wide, UINT codePage)
{
    std::string text(wide.size() * 4 + 1, '\0');
    text.resize((size_t)WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &text[0],
                                            (int)text.size(), 0, 0) - 1);
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
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
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
