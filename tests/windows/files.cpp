// The rows' files and platform: text conversions, the row's fresh folder
// and clean-ups (under Wine from Linux, elsewhere with Win32), and what
// differs on Windows.
#include "rows.h"

#include "exchange/virtual_store.h"

#include <fstream>
#include <sstream>

// Each file's content is its own name, in UTF-8.
const wchar_t* const StandardFiles[] = {
    L"blinky.c",
    L"Blinky main module listing.lst",
    L"Blinky debug output.hex",
    L"old dump.hex",
    L"\u0416\u0443\u0440\u043d\u0430\u043b.lst",  // Cyrillic
    L"Olog.log",                                  // omega's look-alike
};

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Narrow(const std::wstring& wide, UINT codePage)
{
    std::string text(wide.size() * 4 + 1, '\0');
    text.resize((size_t)WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &text[0],
                                            (int)text.size(), 0, 0) -
                1);
    return text;
}

std::string Utf8(const std::wstring& wide) { return Narrow(wide, CP_UTF8); }

std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize(
        (size_t)MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return wide;
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

// A path past MAX_PATH, as the file API takes it: through \\?\.
static std::wstring Reachable(const std::wstring& path)
{
    return path.size() >= 240 && path[1] == L':' ? L"\\\\?\\" + path : path;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(Reachable(path).c_str(), std::ios::binary);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    out.close();
    EXPECT_TRUE(out) << Utf8(path);
}

// The short path as the host reads it: ANSI bytes.
std::string ShortPathOf(const std::wstring& path)
{
    wchar_t shortPath[600];
    DWORD length = GetShortPathNameW(Reachable(path).c_str(), shortPath, 600);
    const wchar_t* start = wcsncmp(shortPath, L"\\\\?\\", 4) == 0 ? shortPath + 4 : shortPath;
    return length > 0 && length < 600 ? Narrow(start, CP_ACP) : "<no short path>";
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
// {tests}: the folder of the tests and the programs they run;
// {len:N}: as many 'y' as make the text N long.
std::wstring Expand(const std::wstring& text, const std::wstring& dir)
{
    std::wstring result = text;
    for (size_t at; (at = result.find(L"{dir}")) != std::wstring::npos;)
        result.replace(at, 5, dir);
    wchar_t store[MAX_PATH];
    VirtualStorePath(store, MAX_PATH);
    for (size_t at; (at = result.find(L"{store}")) != std::wstring::npos;)
        result.replace(at, 7, store);
    wchar_t tests[MAX_PATH];
    PathBesideSelf(L"", tests, MAX_PATH);
    tests[wcslen(tests) - 1] = 0;
    for (size_t at; (at = result.find(L"{tests}")) != std::wstring::npos;)
        result.replace(at, 7, tests);
    size_t at = result.find(L"{len:");
    if (at != std::wstring::npos) {
        size_t total = (size_t)_wtoi(result.c_str() + at + 5);
        result.erase(at, result.find(L'}', at) - at + 1);
        result.insert(at, std::wstring(total - result.size(), L'y'));
    }
    return result;
}

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
    UnixName unixName = (UnixName)GetProcAddress(GetModuleHandleA("kernel32"),
                                                 "wine_get_unix_file_name");
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
        CreateDirectoryW(Reachable(path.substr(0, at)).c_str(), 0);
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
    std::wstring dir = L"C:\\filepick-tests\\" + std::to_wstring(run) + L"-" + std::to_wstring(rows);
    MakeParents(dir + L"\\");
    for (const wchar_t* name : StandardFiles)
        WriteFileBytes(dir + L"\\" + name, Utf8(name));
    return dir;
}

// What a row left at the exchange paths, their VirtualStore copy and the
// doctor's probe names goes.
void ClearExchange()
{
    Remove({ L"C:\\FILE", L"C:\\FILE.new", L"C:\\FILE.old", L"C:\\filler",
             Expand(L"{store}\\FILE", L""), L"C:\\behind-done", L"C:\\filepick-doctor.probe",
             L"C:\\filepick-doctor.probe.renamed" });
}

// Whether the row's folder is on a volume that makes short (8.3) names.
bool MakesShortNames(const std::wstring& dir)
{
    std::wstring longName = dir + L"\\Blinky debug output.hex";
    return ShortPathOf(longName) != Narrow(longName, CP_ACP);
}

// Whether the system takes path for a file, not a device: GetFullPathNameW
// answers a device as \\.\NAME.
static bool NamesAFile(const std::wstring& path)
{
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, 0);
    return length && length < MAX_PATH && wcsncmp(full, L"\\\\.\\", 4) != 0;
}

bool ForThisPlatform(const wchar_t* onWindows, const wchar_t** instead, const std::wstring& dir)
{
    std::wstring rule = onWindows ? onWindows : L"";
    if (rule.compare(0, 5, L"file ") == 0) {
        size_t colon = rule.find(L": ");
        if (NamesAFile(Expand(rule.substr(5, colon - 5), dir)))
            *instead = onWindows + colon + 2;
        return true;
    }
    if (RunsUnderWine() || rule.empty() || (rule == L"8.3" && MakesShortNames(dir)))
        return true;
    if (rule.compare(0, 8, L"instead ") == 0) {
        *instead = onWindows + 8;
        return true;
    }
    std::string reason =
        rule == L"8.3" ? "the row needs a volume that makes 8.3 names, and this one makes none"
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
