#include "dialog_support/dialog_services.h"

#include <cderr.h>

static FARPROC Resolve(HMODULE* library, const char* libraryName, const char* name)
{
    if (!*library)
        *library = LoadLibraryA(libraryName);
    return *library ? GetProcAddress(*library, name) : 0;
}

static HMODULE CommonDialogs;
static HMODULE User;

// GetProcAddress gives a generic function pointer; each caller casts it
// back to the function's real type.
template <typename Function>
static Function CommonDialog(const char* name)
{
    return (Function)(void*)Resolve(&CommonDialogs, "comdlg32.dll", name);
}

template <typename Function>
static Function UserFunction(const char* name)
{
    return (Function)(void*)Resolve(&User, "user32.dll", name);
}

typedef BOOL(WINAPI* FileDialogProc)(OPENFILENAMEW*);

BOOL ShowOpenDialog(OPENFILENAMEW* record)
{
    FileDialogProc show = CommonDialog<FileDialogProc>("GetOpenFileNameW");
    return show ? show(record) : FALSE;
}

BOOL ShowSaveDialog(OPENFILENAMEW* record)
{
    FileDialogProc show = CommonDialog<FileDialogProc>("GetSaveFileNameW");
    return show ? show(record) : FALSE;
}

DWORD DialogErrorCode()
{
    typedef DWORD(WINAPI * ErrorProc)();
    ErrorProc error = CommonDialog<ErrorProc>("CommDlgExtendedError");
    return error ? error() : CDERR_INITIALIZATION;
}

LRESULT SendItemMessage(HWND dialog, int id, UINT message, WPARAM wParam,
                        LPARAM lParam)
{
    typedef LRESULT(WINAPI * Proc)(HWND, int, UINT, WPARAM, LPARAM);
    Proc send = UserFunction<Proc>("SendDlgItemMessageA");
    return send ? send(dialog, id, message, wParam, lParam) : 0;
}

HWND DialogItem(HWND dialog, int id)
{
    typedef HWND(WINAPI * Proc)(HWND, int);
    Proc item = UserFunction<Proc>("GetDlgItem");
    return item ? item(dialog, id) : 0;
}

void EnableControl(HWND control, BOOL enable)
{
    typedef BOOL(WINAPI * Proc)(HWND, BOOL);
    Proc enableWindow = UserFunction<Proc>("EnableWindow");
    if (enableWindow)
        enableWindow(control, enable);
}

void ShowStopMessage(HWND owner, const wchar_t* text, const wchar_t* caption)
{
    typedef int(WINAPI * Proc)(HWND, LPCWSTR, LPCWSTR, UINT);
    Proc box = UserFunction<Proc>("MessageBoxW");
    if (box)
        box(owner, text, caption, MB_ICONSTOP);
}

void FormatCode(char* text, const char* format, long code)
{
    typedef int(__cdecl * Proc)(LPSTR, LPCSTR, ...);
    Proc print = UserFunction<Proc>("wsprintfA");
    if (print)
        print(text, format, code);
    else
        text[0] = '\0';
}
