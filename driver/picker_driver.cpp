#include "picker_driver.h"

#include <dlgs.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "debug_file/load_dialog.h"

enum { PollMs = 20, SendTimeoutMs = 10000, MessageBoxTextId = 0xFFFF };

int RunsUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version") != 0; }

void PathBesideSelf(const wchar_t* name, wchar_t* path, int capacity)
{
    // In wide characters: in a double-byte code page an ANSI path holds
    // trail bytes that look like backslashes.
    DWORD length = GetModuleFileNameW(0, path, (DWORD)capacity);
    wchar_t* slash = path + length;
    while (slash > path && slash[-1] != L'\\' && slash[-1] != L'/')
        --slash;
    lstrcpynW(slash, name, capacity - (int)(slash - path));
}

int StartPicker(const wchar_t* applicationPath, const wchar_t* commandLine,
                PROCESS_INFORMATION* process)
{
    wchar_t line[1024];
    lstrcpynW(line, commandLine, 1024);
    STARTUPINFOW startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    memset(process, 0, sizeof *process);
    return CreateProcessW(applicationPath, line, 0, 0, FALSE, 0, 0, 0, &startup, process) != 0;
}

struct DialogSearch {
    DWORD processId;
    HWND exclude;
    HWND found;
};

static BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
{
    DialogSearch* search = (DialogSearch*)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16];
    if (owner != search->processId || window == search->exclude || !IsWindowVisible(window) ||
        !GetClassNameA(window, className, sizeof className) || strcmp(className, "#32770") != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForDialog(DWORD processId, HANDLE process, DWORD timeoutMs, HWND exclude)
{
    DWORD start = GetTickCount();
    do {
        DialogSearch search = { processId, exclude, 0 };
        EnumWindows(MatchDialog, (LPARAM)&search);
        if (search.found) {
            // A dialog of this very process (no handle) is ready once shown.
            DWORD left = timeoutMs - (GetTickCount() - start);
            if (process && WaitForInputIdle(process, left > timeoutMs ? 0 : left) != 0)
                return 0;
            return search.found;
        }
        if (!process)
            Sleep(PollMs);
        else if (WaitForSingleObject(process, PollMs) == WAIT_OBJECT_0)
            return 0;  // ended without showing a dialog
    } while (GetTickCount() - start < timeoutMs);
    return 0;
}

int WaitForExit(HANDLE process, DWORD timeoutMs, DWORD* exitCode)
{
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0)
        return 0;
    return GetExitCodeProcess(process, exitCode) != 0;
}

void EndPicker(PROCESS_INFORMATION* process)
{
    if (!process->hProcess)
        return;
    if (WaitForSingleObject(process->hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process->hProcess, 99);
        WaitForSingleObject(process->hProcess, 5000);
    }
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
    memset(process, 0, sizeof *process);
}

static int Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result)
{
    DWORD_PTR ignored;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, SendTimeoutMs,
                               result ? result : &ignored) != 0;
}

static int SendW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result)
{
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, SendTimeoutMs,
                               result) != 0;
}

struct ControlSearch {
    int id;
    HWND found;     // the first visible one
    HWND firstAny;  // the first one, visible or not
};

static BOOL CALLBACK MatchControl(HWND child, LPARAM param)
{
    ControlSearch* search = (ControlSearch*)param;
    if (GetDlgCtrlID(child) != search->id)
        return TRUE;
    if (!search->firstAny)
        search->firstAny = child;
    if (!IsWindowVisible(child))
        return TRUE;
    search->found = child;
    return FALSE;
}

HWND FindControl(HWND window, int id)
{
    // A direct child first, as the dialog itself finds it: a descendant of
    // another control may carry the same id.
    HWND child = window ? GetDlgItem(window, id) : 0;
    if (child)
        return child;
    ControlSearch search = { id, 0, 0 };
    if (window)
        EnumChildWindows(window, MatchControl, (LPARAM)&search);
    return search.found ? search.found : search.firstAny;
}

// The first descendant of window whose class is className.
struct ClassSearch {
    const char* className;
    HWND found;
};

static BOOL CALLBACK MatchClass(HWND child, LPARAM param)
{
    ClassSearch* search = (ClassSearch*)param;
    char className[32];
    if (!GetClassNameA(child, className, sizeof className) ||
        lstrcmpiA(className, search->className) != 0)
        return TRUE;
    search->found = child;
    return FALSE;
}

HWND FileNameBox(HWND dialog)
{
    // The old-style dialog's edit box; the Explorer-style combo box, whose
    // text is its edit's where it has one.
    HWND box = FindControl(dialog, edt1);
    if (box)
        return box;
    box = FindControl(dialog, cmb13);
    ClassSearch edit = { "Edit", 0 };
    if (box)
        EnumChildWindows(box, MatchClass, (LPARAM)&edit);
    return edit.found ? edit.found : box;
}

int SetFileName(HWND dialog, const wchar_t* text)
{
    HWND box = FileNameBox(dialog);
    DWORD_PTR ignored;
    return box && SendW(box, WM_SETTEXT, 0, (LPARAM)text, &ignored);
}

int SelectFileType(HWND dialog, int index)
{
    HWND list = FindControl(dialog, cmb1);
    DWORD_PTR result = 0;
    if (!list || !Send(list, CB_SETCURSEL, index, 0, &result) || (int)result != index)
        return 0;
    // A user's choice also tells the list's parent, which refilters.
    return Send(GetParent(list), WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), (LPARAM)list, 0);
}

int ClickControl(HWND dialog, int id)
{
    // A user cannot click what is greyed out.
    HWND control = FindControl(dialog, id);
    return control && IsWindowEnabled(control) && Send(control, BM_CLICK, 0, 0, 0);
}

void PressButton(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)FindControl(window, id));
}

int ChooseFile(HWND dialog, const wchar_t* path)
{
    if (!SetFileName(dialog, path))
        return 0;
    PressButton(dialog, IDOK);
    return 1;
}

int WindowText(HWND window, wchar_t* text, int capacity)
{
    text[0] = 0;
    return GetWindowTextW(window, text, capacity) > 0 || GetLastError() == 0;
}

int ComboItemText(HWND dialog, int id, int index, wchar_t* text, int capacity)
{
    HWND combo = FindControl(dialog, id);
    DWORD_PTR length = 0;
    text[0] = 0;
    if (!combo || !SendW(combo, CB_GETLBTEXTLEN, index, 0, &length) || (int)length < 0 ||
        (int)length >= capacity)
        return 0;
    DWORD_PTR copied = 0;
    return SendW(combo, CB_GETLBTEXT, index, (LPARAM)text, &copied) && (int)copied >= 0;
}

struct StaticSearch {
    wchar_t* text;
    int capacity;
    int found;
};

static BOOL CALLBACK MatchStatic(HWND child, LPARAM param)
{
    StaticSearch* search = (StaticSearch*)param;
    char className[16];
    if (!GetClassNameA(child, className, sizeof className) || lstrcmpiA(className, "Static") != 0)
        return TRUE;
    wchar_t text[512];
    if (GetWindowTextW(child, text, 512) > 0) {
        lstrcpynW(search->text, text, search->capacity);
        search->found = 1;
        return FALSE;
    }
    return TRUE;
}

int MessageBoxText(HWND box, wchar_t* text, int capacity)
{
    text[0] = 0;
    HWND message = GetDlgItem(box, MessageBoxTextId);
    if (message && GetWindowTextW(message, text, capacity) > 0)
        return 1;
    StaticSearch search = { text, capacity, 0 };
    EnumChildWindows(box, MatchStatic, (LPARAM)&search);
    return search.found;
}

static HWND SessionWindow(PickerSession* session, HWND exclude)
{
    return WaitForDialog(session->processId, session->process, session->waitMs, exclude);
}

HWND SessionDialog(PickerSession* session)
{
    if (!session->dialog || !IsWindow(session->dialog))
        session->dialog = SessionWindow(session, session->closed);
    return session->dialog;
}

static void WaitIdle(PickerSession* session)
{
    if (session->process)
        WaitForInputIdle(session->process, session->waitMs);
}

int IsWarning(HWND window)
{
    wchar_t caption[16];
    return window && WindowText(window, caption, 16) && wcscmp(caption, L"WARNING") == 0;
}

// Presses a button of a prompt or message box and waits till it goes.
static int Dismiss(PickerSession* session, HWND box, int id)
{
    PressButton(box, id);
    session->closed = box;
    for (DWORD start = GetTickCount(); IsWindow(box); Sleep(PollMs))
        if (GetTickCount() - start > session->waitMs)
            return 0;
    WaitIdle(session);
    return 1;
}

// A control of the debug-file dialog by its name, or any by its number.
static int ControlId(const wchar_t* name)
{
    static const struct {
        const wchar_t* name;
        int id;
    } names[] = {
        { L"symbol-only", SymbolOnlyBox },
        { L"startup-skip", StartupSkipBox },
        { L"options", OptionsButton },
    };
    for (const auto& entry : names)
        if (wcscmp(name, entry.name) == 0)
            return entry.id;
    return _wtoi(name);
}

int DescribeOpenWindow(DWORD processId, wchar_t* text, int capacity)
{
    HWND window = WaitForDialog(processId, 0, 0, 0);
    wchar_t caption[256], message[512];
    if (!window || !WindowText(window, caption, 256))
        return 0;
    // Message boxes hold their text in a static of their own.
    HWND box = GetDlgItem(window, MessageBoxTextId);
    if (box && GetWindowTextW(box, message, 512) > 0)
        _snwprintf(text, (size_t)capacity, L"a box \"%ls\" saying \"%ls\"", caption, message);
    else
        _snwprintf(text, (size_t)capacity, L"the dialog \"%ls\"", caption);
    text[capacity - 1] = 0;
    return 1;
}

// A prompt's button for "answer": ok, yes, no or cancel, or a number.
static int AnswerId(const wchar_t* argument)
{
    static const struct {
        const wchar_t* name;
        int id;
    } answers[] = { { L"ok", IDOK }, { L"yes", IDYES }, { L"no", IDNO }, { L"cancel", IDCANCEL } };
    for (const auto& answer : answers)
        if (_wcsicmp(argument, answer.name) == 0)
            return answer.id;
    return _wtoi(argument);
}

static int RunStep(PickerSession* session, const wchar_t* op, const wchar_t* argument)
{
    HWND dialog = SessionDialog(session);
    if (wcscmp(op, L"warn") == 0) {
        // The dialog has ended by now, or is ending: the box may be all
        // there is, or come up after it.
        HWND box = IsWarning(dialog) ? dialog : SessionWindow(session, dialog);
        wchar_t text[1024];
        if (!IsWarning(box) || !MessageBoxText(box, text, 1024) || !wcsstr(text, argument))
            return 0;
        session->dialog = 0;
        return Dismiss(session, box, IDOK);
    }
    if (!dialog)
        return 0;
    int id = _wtoi(argument);
    if (wcscmp(op, L"answer") == 0) {
        HWND prompt = SessionWindow(session, dialog);
        return prompt && Dismiss(session, prompt, AnswerId(argument));
    }
    if (wcscmp(op, L"type") == 0)
        return (id || argument[0] == L'0') && SelectFileType(dialog, id);
    if (wcscmp(op, L"click") == 0)
        return ClickControl(dialog, ControlId(argument));
    if (wcscmp(op, L"name") == 0) {
        // As a user who typed the name and tabbed on: no caret blinks in
        // the name box.
        DWORD_PTR ignored;
        return SetFileName(dialog, argument) &&
               SendW(dialog, WM_NEXTDLGCTL, (WPARAM)FindControl(dialog, IDOK), TRUE, &ignored);
    }
    if (wcscmp(op, L"pick") == 0)
        return ChooseFile(dialog, argument);
    if (wcscmp(op, L"next") == 0) {
        // The dialog goes (after a pick, say); the steps after act on the
        // one that comes next.
        session->closed = dialog;
        session->dialog = 0;
        for (DWORD start = GetTickCount(); IsWindow(dialog); Sleep(PollMs))
            if (GetTickCount() - start > session->waitMs)
                return 0;
        return 1;
    }
    if (wcscmp(op, L"cancel") == 0) {
        WaitIdle(session);
        PressButton(dialog, IDCANCEL);
        return 1;
    }
    return 0;
}

int RunSteps(PickerSession* session, const wchar_t* steps, wchar_t* failed, int capacity)
{
    for (const wchar_t* next = steps; *next;) {
        const wchar_t* start = next;
        const wchar_t* end = wcschr(start, L';');
        int length = end ? (int)(end - start) : lstrlenW(start);
        next = end ? end + 1 : start + length;
        wchar_t step[MAX_PATH + 16];
        lstrcpynW(step, start, length + 1 < MAX_PATH + 16 ? length + 1 : MAX_PATH + 16);
        wchar_t* argument = wcschr(step, L' ');
        if (argument)
            *argument++ = 0;
        if (!RunStep(session, step, argument ? argument : L"")) {
            lstrcpynW(failed, start, length + 1 < capacity ? length + 1 : capacity);
            return 0;
        }
    }
    return 1;
}
