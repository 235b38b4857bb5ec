#include "exchange/virtual_store.h"

#include <windows.h>

// SHGetKnownFolderPath and CoTaskMemFree, loaded when first needed (only
// under virtualization, or by the doctor): filepick.exe starts without the
// shell's libraries.
typedef HRESULT(WINAPI* KnownFolderPathFunction)(const GUID*, DWORD, HANDLE, wchar_t**);
typedef void(WINAPI* TaskMemFreeFunction)(void*);

// FOLDERID_LocalAppData.
static const GUID LocalAppDataFolder = {
    0xF1B32785, 0x6FBA, 0x4FCF, { 0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91 }
};

int VirtualStorePath(wchar_t* path, int capacity)
{
    static const wchar_t Store[] = L"\\VirtualStore";
    path[0] = 0;
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    HMODULE ole = LoadLibraryW(L"ole32.dll");
    KnownFolderPathFunction knownFolderPath =
        shell ? (KnownFolderPathFunction)(void*)GetProcAddress(shell, "SHGetKnownFolderPath") : 0;
    TaskMemFreeFunction taskMemFree =
        ole ? (TaskMemFreeFunction)(void*)GetProcAddress(ole, "CoTaskMemFree") : 0;
    wchar_t* folder = 0;
    if (knownFolderPath && taskMemFree &&
        SUCCEEDED(knownFolderPath(&LocalAppDataFolder, 0, 0, &folder)) &&
        lstrlenW(folder) + (int)(sizeof Store / sizeof Store[0]) <= capacity) {
        lstrcpyW(path, folder);
        lstrcatW(path, Store);
    }
    if (folder && taskMemFree)
        taskMemFree(folder);
    if (ole)
        FreeLibrary(ole);
    if (shell)
        FreeLibrary(shell);
    return path[0] != 0;
}
