// The Windows tests' rows: the tables' row types, the step language the
// rows are written in, and the helpers the tables' tests share
// (files.cpp, steps.cpp). filepick.exe is run from end to end as the host
// runs it: a row writes a request to C:\FILE as a host does
// (driver/request.h), starts the picker, acts in its dialog through window
// messages (driver/, as filepick-host does), then checks the exit code, the
// reply's bytes and the files on disk. Every wait is bounded; the picker a
// row started ends with the row.
#ifndef FILEPICK_TESTS_ROWS_H
#define FILEPICK_TESTS_ROWS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/picker_driver.h"

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
extern int RowsOutOfTime;
enum { RowsOutOfTimeToStop = 2 };

// Counts the row, as it ends, by whether it had time left.
struct TimeKeeper {
    const RowClock& clock;
    ~TimeKeeper() { RowsOutOfTime = clock.Left() ? 0 : RowsOutOfTime + 1; }
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
    // "warn TEXT", "next", "cancel". Files: "put PATH=TEXT" (parents made), "copy
    // PATH>TO" (likewise), "mkdir
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
    // short names); "file PATH: STEPS", these steps wherever the system
    // takes PATH for a file, not a device, Wine included. 0: the same
    // everywhere.
    const wchar_t* onWindows;
};

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
    const wchar_t* program;    // beside the tests, or a path; 0: filepick-host.exe
    const wchar_t* steps;      // a user's, in the dialog it shows (or its picker)
};

// Text and files.
bool Exists(const std::wstring& path);
std::string Narrow(const std::wstring& wide, UINT codePage);
std::string Utf8(const std::wstring& wide);
std::wstring Wide(const std::string& utf8);
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The short path as the host reads it: ANSI bytes.
std::string ShortPathOf(const std::wstring& path);
std::vector<std::wstring> Split(const wchar_t* text, wchar_t separator);
// {dir}: the row's folder; {store}: this user's VirtualStore folder;
// {tests}: the folder of the tests and the programs they run;
// {len:N}: as many 'y' as make the text N long.
std::wstring Expand(const std::wstring& text, const std::wstring& dir);

// Where the rows run (files.cpp).
bool WindowsWays();
void RunUnix(const wchar_t* command, std::vector<std::wstring> paths, bool exists);
void Remove(const std::vector<std::wstring>& paths);
void MakeParents(const std::wstring& path);
std::wstring FreshFolder();
void ClearExchange();
bool ForThisPlatform(const wchar_t* onWindows, const wchar_t** instead, const std::wstring& dir);
std::wstring TextOf(HWND window);
void Fill();

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
        EXPECT_TRUE(job && SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                                   sizeof limits))
            << "error " << GetLastError();
        if (!CreateProcessW(exe, &line[0], 0, 0, startup != 0, CREATE_SUSPENDED, 0, 0,
                            startup ? startup : &plain, &info))
            return false;
        EXPECT_TRUE(AssignProcessToJobObject(job, info.hProcess)) << "error " << GetLastError();
        ResumeThread(info.hThread);
        return true;
    }
};

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

// A row's start: after rows that ran out of time, a failure at once;
// otherwise what earlier rows left at the exchange paths goes.
void BeginRow();

// What a row made at the exchange paths, the VirtualStore copy and the
// doctor's probe names goes when the row ends, however it ends (declared
// before the row's Session, so the files it holds are let go first).
struct Cleanup {
    ~Cleanup() { ClearExchange(); }
};

// A row's files afterwards (steps.cpp).
std::wstring AfterPath(const std::wstring& item, const Session& session);
void CheckFiles(const wchar_t* after, const Session& session);
void CheckAfter(const Row& row, const Session& session);

class Pick : public testing::TestWithParam<Row> {};
class Host : public testing::TestWithParam<HostRow> {};
void PrintTo(const Row& row, std::ostream* out);
void PrintTo(const HostRow& row, std::ostream* out);

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
#define HOST_ROWS(table)                                                                           \
    INSTANTIATE_TEST_SUITE_P(table, Host, testing::ValuesIn(table), RowName<HostRow>)

#define ML L"DoModuleListFile"
#define LD L"DoLoadDebugFile"
#define DS L"DoSetDumpFile"
#define DIR L"{dir}"
#define CYRILLIC L"\u0416\u0443\u0440\u043d\u0430\u043b"  // outside code page 1252
#define OMEGA L"\u03a9"                                   // best fit in 1252: "O"
#define HEX L"{dir}\\Blinky debug output.hex"
#define BLINKY L"{dir}\\blinky.c"
#define LOAD_TYPES                                                                                 \
    L"types KEIL,IAR UBROF,IAR banked,BSO/Tasking OMF,BSO/Tasking IEEE695,Old BSO,"                \
    L"2500AD,Intel ASM/PLM51,MetaLink ASM51,MCC Software,OMF51 Format,FOMF,Intel Hex"
#define KEIL                                                                                       \
    {                                                                                              \
        1, 0, 0                                                                                    \
    }
#define PICKED L"*"  // the reply: of the file picked last
// 35 folders "a b": about 170 characters, but Wine's short form (A_B~~GOE)
// is over 300.
#define AB5 L"\\a b\\a b\\a b\\a b\\a b"
#define SHORT_TOO_LONG L"{dir}" AB5 AB5 AB5 AB5 AB5 AB5 AB5 L"\\x y.c"
// 100 folders "+": about 230 characters, and each "+" an 8.3 name of its
// own, so the short form is some 900 characters.
#define PLUS10 L"\\+\\+\\+\\+\\+\\+\\+\\+\\+\\+"
#define PLUS100                                                                                    \
    L"{dir}" PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 PLUS10 L"\\x.c"

#endif
