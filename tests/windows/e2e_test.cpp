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

enum { WaitMs = 60000 };

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
    // "fill" (the drive, till it is full).
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

// {dir}: the row's folder; {len:N}: as many 'y' as make the text N long.
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

// A started program, ended by its handle when this goes.
struct Process {
    PROCESS_INFORMATION info = {};
    ~Process() { EndPicker(&info); }
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
    Process process;
    ASSERT_TRUE(StartPicker(0, line.c_str(), &process.info)) << Utf8(line);
    for (DWORD start = GetTickCount(); Exists(paths.back()) != exists; Sleep(10))
        ASSERT_LT(GetTickCount() - start, (DWORD)WaitMs) << Utf8(line);
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
        RunUnix(L"/bin/rm -rf", { L"C:\\filepick-tests" }, false);
    std::wstring dir =
        L"C:\\filepick-tests\\" + std::to_wstring(run) + L"-" + std::to_wstring(rows);
    MakeParents(dir + L"\\");
    for (const wchar_t* name : StandardFiles)
        WriteFileBytes(dir + L"\\" + name, Utf8(name));
    return dir;
}

// What a row left at the exchange paths goes, from Linux: Windows does not
// see a link whose target is gone.
void ClearExchange()
{
    RunUnix(L"/bin/rm -rf", { L"C:\\FILE", L"C:\\FILE.new", L"C:\\FILE.old", L"C:\\filler" }, false);
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
        RunUnix(L"/bin/ln -s", { target, path }, true);
    } else if (op == L"fill") {
        Fill();
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
        EXPECT_TRUE(RunSteps(&driver, (op + L" " + arg).c_str(), failed, MAX_PATH)) << "failed";
    }
}

void CheckAfter(const Row& row, const Session& session)
{
    for (const std::wstring& item : Split(row.after, L';')) {
        std::wstring path = item[0] == L'=' ? session.picked : Expand(item.substr(0, item.find(L'=')), session.dir);
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
    ClearExchange();
    Session session = { {}, FreshFolder() };
    if (row.request)
        WriteFileBytes(L"C:\\FILE", RequestBytes(row, session.dir));
    for (const std::wstring& step : Split(row.setup, L';'))
        session.Step(step);
    ASSERT_FALSE(HasFailure()) << "set-up";
    wchar_t exe[MAX_PATH];
    PathBesideSelf(L"filepick.exe", exe, MAX_PATH);
    std::wstring line = row.verb[0] == L'"' ? row.verb : L"\"" + std::wstring(exe) + L"\" " + row.verb;
    Process picker;
    ASSERT_TRUE(StartPicker(exe, line.c_str(), &picker.info));
    session.driver = { picker.info.dwProcessId, picker.info.hProcess, WaitMs, 0, 0 };
    DWORD expected = row.steps && wcscmp(row.steps, L"exit 0") == 0 ? 0 : 1;
    if (row.steps && expected) {
        // A row stops at its first failed step: what follows would act on a
        // dialog that is not there.
        ASSERT_NE(SessionDialog(&session.driver), nullptr) << "no dialog";
        for (const std::wstring& step : Split(row.steps, L';')) {
            session.Step(step);
            if (HasFailure())
                return;
        }
    } else {
        EXPECT_EQ(WaitForDialog(picker.info.dwProcessId, picker.info.hProcess, WaitMs, 0), nullptr)
            << "a dialog showed";
    }
    DWORD exitCode = 0;
    ASSERT_TRUE(WaitForExit(picker.info.hProcess, WaitMs, &exitCode)) << "the picker did not end";
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
      L"put " SHORT_TOO_LONG L"=deep" },
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
    { "a path cut by the old-style dialog gets no reply", LD, DIR, L"pick {dir}\\{len:258}.hex",
      0, 0, L"put {dir}\\{len:258}.hex=x" },
};
ROWS(LoadDebugFile);

// After: "=TEXT" the picked file holds TEXT. Device names are refused (the
// user is told and chooses again); the stand-ins the test prefix maps COM1
// and LPT1 to stay empty.
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
      L"=;{dir}\\Olog.log=Olog.log" },
    { "log: a device under a folder is refused, then a file chosen", DS, L"2",
      L"pick C:\\t\\COM1.log;warn is a device;pick {dir}\\after.log", PICKED,
      L"=;C:\\stand-ins\\com1=;C:\\stand-ins\\lpt1=" },
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
    // Texts the output holds, separated by '|'; {short} and {long}: the
    // chosen file's short path and its own path.
    const wchar_t* output;
    const wchar_t* chosen;
};

// Runs filepick-host with arguments to its end: its exit status (-1 when
// it did not end in time) and standard output. The output goes through a
// file: a pipe would be read until the program closes it, which one that
// hangs never does.
int RunHost(const std::wstring& arguments, std::string* output)
{
    wchar_t exe[MAX_PATH], outPath[MAX_PATH];
    PathBesideSelf(L"filepick-host.exe", exe, MAX_PATH);
    PathBesideSelf(L"host-output.txt", outPath, MAX_PATH);
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, 0, TRUE };
    HANDLE out = CreateFileW(outPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherit, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, 0);
    std::wstring line = L"\"" + std::wstring(exe) + L"\" " + arguments;
    STARTUPINFOW startup = { sizeof startup };
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    Process host;
    DWORD status = 0, got = 0;
    bool ended = CreateProcessW(exe, &line[0], 0, 0, TRUE, 0, 0, 0, &startup, &host.info) &&
                 WaitForExit(host.info.hProcess, WaitMs, &status);
    char chunk[512];
    SetFilePointer(out, 0, 0, FILE_BEGIN);
    while (ReadFile(out, chunk, sizeof chunk, &got, 0) && got)
        output->append(chunk, got);
    CloseHandle(out);
    return ended ? (int)status : -1;
}

void PrintTo(const HostRow& row, std::ostream* out) { *out << row.name; }

class Host : public testing::TestWithParam<HostRow> {};

TEST_P(Host, Row)
{
    const HostRow& row = GetParam();
    ClearExchange();
    std::wstring dir = FreshFolder();
    std::string output;
    EXPECT_EQ(RunHost(Expand(row.arguments, dir), &output), row.status);
    std::wstring want = row.output, chosen = row.chosen ? Expand(row.chosen, dir) : L"";
    for (const wchar_t* key : { L"{short}", L"{long}" }) {
        size_t at = want.find(key);
        if (at != std::wstring::npos)
            want.replace(at, wcslen(key), key[1] == L's' ? Wide(ShortPathOf(chosen)) : chosen);
    }
    for (const std::wstring& part : Split(want.c_str(), L'|'))
        EXPECT_NE(output.find(Utf8(part)), std::string::npos) << Utf8(part) << " in " << output;
}

#define CYRILLIC_IN_DIR L"{dir}\\" CYRILLIC
const HostRow HostCompanion[] = {
    { "the exported dialog, \"Options...\" enabled, fills the caller's words with its full path",
      L"--module --steps \"click 4392;click 4390;click 4391\" --type 13 "
      L"--choose \"{dir}\\blinky.c\" DoLoadDebugFile \"{dir}\"", 0,
      L"result:       1|file name:    {long}|startup skip: 0|symbol only:  1|format:       8",
      L"{dir}\\blinky.c" },
    { "the exported dialog gives the short path of a name outside the code page",
      L"--module --choose \"" CYRILLIC_IN_DIR L".lst\" DoLoadDebugFile \"{dir}\"", 0,
      L"result:       1|file name:    {short}", CYRILLIC_IN_DIR L".lst" },
    { "the exported dialog cancelled leaves the caller's words alone",
      L"--module --steps \"click 4390;cancel\" DoLoadDebugFile \"{dir}\"", 1,
      L"result:       0|startup skip: -1|symbol only:  -1|format:       -1" },
};
INSTANTIATE_TEST_SUITE_P(HostCompanion, Host, testing::ValuesIn(HostCompanion), RowName<HostRow>);

}  // namespace
