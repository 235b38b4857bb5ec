#include "picker_driver.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum {
    PollMs = 20,
    PaintTimeoutMs = 10000,
    SendTimeoutMs = 10000,
    FileNameEdit = 1152,   // old-style dialog (edt1)
    FileNameCombo = 1148,  // Explorer-style dialog (cmb13)
    MessageBoxTextId = 0xFFFF
};

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
    return CreateProcessW(applicationPath, line, 0, 0, FALSE, 0, 0, 0, &startup,
                          process) != 0;
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
    if (owner != search->processId || window == search->exclude ||
        !IsWindowVisible(window) ||
        !GetClassNameA(window, className, sizeof className) ||
        strcmp(className, "#32770") != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForDialog(DWORD processId, HANDLE process, DWORD timeoutMs,
                   HWND exclude)
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

static int Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                DWORD_PTR* result)
{
    DWORD_PTR ignored;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL,
                               SendTimeoutMs, result ? result : &ignored) != 0;
}

static int SendW(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 DWORD_PTR* result)
{
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                               SendTimeoutMs, result) != 0;
}

int SetFileName(HWND dialog, const wchar_t* text)
{
    HWND box = GetDlgItem(dialog, FileNameEdit);
    if (!box)
        box = GetDlgItem(dialog, FileNameCombo);
    DWORD_PTR ignored;
    return box && SendW(box, WM_SETTEXT, 0, (LPARAM)text, &ignored);
}

int SelectFileType(HWND dialog, int index)
{
    HWND list = GetDlgItem(dialog, 1136);
    DWORD_PTR result = 0;
    if (!list || !Send(list, CB_SETCURSEL, index, 0, &result) ||
        (int)result != index)
        return 0;
    // A user's choice also tells the dialog, which refilters its list.
    return Send(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE),
                (LPARAM)list, 0);
}

int ClickControl(HWND dialog, int id)
{
    // A user cannot click what is greyed out.
    HWND control = GetDlgItem(dialog, id);
    return control && IsWindowEnabled(control) && Send(control, BM_CLICK, 0, 0, 0);
}

void PressButton(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 (LPARAM)GetDlgItem(window, id));
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
    HWND combo = GetDlgItem(dialog, id);
    DWORD_PTR length = 0;
    text[0] = 0;
    if (!combo || !SendW(combo, CB_GETLBTEXTLEN, index, 0, &length) ||
        (int)length < 0 || (int)length >= capacity)
        return 0;
    DWORD_PTR copied = 0;
    return SendW(combo, CB_GETLBTEXT, index, (LPARAM)text, &copied) &&
           (int)copied >= 0;
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
    if (!GetClassNameA(child, className, sizeof className) ||
        lstrcmpiA(className, "Static") != 0)
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

static int IsWarning(HWND window)
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
        return prompt && Dismiss(session, prompt, id);
    }
    if (wcscmp(op, L"type") == 0)
        return SelectFileType(dialog, id);
    if (wcscmp(op, L"click") == 0)
        return ClickControl(dialog, id);
    if (wcscmp(op, L"pick") == 0)
        return ChooseFile(dialog, argument);
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

static BOOL CALLBACK FindPendingPaint(HWND child, LPARAM pending)
{
    if (IsWindowVisible(child) && GetUpdateRect(child, 0, FALSE))
        *(int*)pending = 1;
    return TRUE;
}

// Whether the window or one of its controls still has something to paint.
static int PaintPending(HWND window)
{
    int pending = GetUpdateRect(window, 0, FALSE) != 0;
    EnumChildWindows(window, FindPendingPaint, (LPARAM)&pending);
    return pending;
}

// The window's pixels as the screen shows them: 24-bit rows, bottom-up, in
// a buffer of stride * height bytes that the caller frees.
static unsigned char* Capture(HWND window, int* width, int* height, int* stride)
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return 0;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    *stride = (*width * 3 + 3) & ~3;
    HDC screen = GetDC(0);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = *height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = 0;
    unsigned char* pixels = 0;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, 0, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, *width, *height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        pixels = (unsigned char*)malloc((size_t)(*stride * *height));
        if (pixels)
            memcpy(pixels, bits, (size_t)(*stride * *height));
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(0, screen);
    return pixels;
}

int SaveWindowBitmap(HWND window, HANDLE process, const wchar_t* bmpPath)
{
    // The dialog is what a user sees once it has painted: its process is
    // idle, nothing in it waits to be painted, and (as the pixels reach the
    // screen a moment after painting) two captures in a row agree.
    int width = 0, height = 0, stride = 0;
    unsigned char* shown = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < PaintTimeoutMs) {
        if (process)
            WaitForInputIdle(process, PaintTimeoutMs);
        if (PaintPending(window)) {
            Sleep(PollMs);
            continue;
        }
        int w = 0, h = 0, st = 0;
        unsigned char* now = Capture(window, &w, &h, &st);
        int same = now && shown && w == width && h == height &&
                   memcmp(now, shown, (size_t)(st * h)) == 0;
        free(shown);
        shown = now;
        width = w, height = h, stride = st;
        if (same)
            break;
        Sleep(PollMs);
    }
    if (!shown)
        return 0;
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    memset(&file, 0, sizeof file);
    memset(&info, 0, sizeof info);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + (DWORD)(stride * height);
    FILE* out = _wfopen(bmpPath, L"wb");
    int ok = 0;
    if (out) {
        ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
             fwrite(shown, (size_t)(stride * height), 1, out) == 1;
        ok = fflush(out) == 0 && !ferror(out) && ok;
        fclose(out);
    }
    free(shown);
    return ok;
}
