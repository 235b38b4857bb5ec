// The step language of the rows (Session::Step) and the check of a row's
// files afterwards.
#include "rows.h"

#include <dlgs.h>

int RowsOutOfTime = 0;

void BeginRow()
{
    if (RowsOutOfTime >= RowsOutOfTimeToStop) {
        ADD_FAILURE() << "not run: the " << RowsOutOfTimeToStop
                      << " rows before ran out of time, as a "
                      << "dialog that never comes right makes every row do";
        return;
    }
    ClearExchange();
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
    } else if (op == L"copy") {
        MakeParents(target);
        EXPECT_TRUE(CopyFileW(path.c_str(), target.c_str(), FALSE)) << "error " << GetLastError();
    } else if (op == L"mkdir") {
        MakeParents(path + L"\\");
        EXPECT_TRUE(Exists(path));
    } else if (op == L"hold" || op == L"holdshared") {
        DWORD sharing = FILE_SHARE_READ | (op == L"holdshared" ? FILE_SHARE_DELETE : 0);
        DWORD ms = iswdigit(raw[0]) ? (DWORD)_wtoi(raw.c_str()) : 0;
        if (ms)
            path = Expand(raw.substr(raw.find(L' ') + 1), dir);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, 0,
                                  OPEN_ALWAYS, 0, 0);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        if (ms)
            timers.push_back(CreateThread(0, 0, LetGoLater, new TimedHold { file, ms }, 0, 0));
        else
            held.push_back(file);
    } else if (op == L"map") {
        held.push_back(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   0, OPEN_EXISTING, 0, 0));
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
        else if (!CreateSymbolicLinkW(path.c_str(), target.c_str(),
                                      SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
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
        RunUnix(
            (L"/bin/sh -c \"printf %s " + arg + L" > \\\"$0/file\\\" && : > \\\"$1\\\"\"").c_str(),
            { L"C:\\", L"C:\\behind-done" }, true);
    } else if (op == L"title") {
        EXPECT_EQ(TextOf(SessionDialog(&driver)), arg);
    } else if (op == L"types") {
        std::wstring types;
        wchar_t text[256];
        for (int i = 0; ComboItemText(SessionDialog(&driver), cmb1, i, text, 256); ++i)
            types += (i ? L"," : L"") + std::wstring(text);
        EXPECT_EQ(types, arg);
    } else if (op == L"looking") {
        // The folder an Explorer-style dialog shows it is in ("Look in").
        HWND dialog = SessionDialog(&driver);
        DWORD_PTR current = 0;
        SendMessageTimeoutW(FindControl(dialog, cmb2), CB_GETCURSEL, 0, 0, SMTO_NORMAL, 5000,
                            &current);
        wchar_t text[MAX_PATH] = L"";
        ComboItemText(dialog, cmb2, (int)current, text, MAX_PATH);
        EXPECT_EQ(std::wstring(text), arg);
    } else if (op == L"enabled") {
        HWND control = FindControl(SessionDialog(&driver), _wtoi(arg.c_str()));
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
    return std::string(clock.Left() ? "" : " within the row's 30 s") + "; the picker shows " +
           Utf8(open);
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
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                        attributes & FILE_ATTRIBUTE_DIRECTORY);
        else
            EXPECT_EQ(ReadFileBytes(path), Utf8(want));
    }
}

void CheckAfter(const Row& row, const Session& session)
{
    CheckFiles(row.after, session);
    for (const wchar_t* path : { L"C:\\FILE", L"C:\\FILE.new", L"C:\\FILE.old" })
        if ((path[7] || !row.reply) &&
            !wcsstr(row.after ? row.after : L"", (path + std::wstring(L"=")).c_str()))
            EXPECT_FALSE(Exists(path)) << Utf8(path) << " was left behind";
}
