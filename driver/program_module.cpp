#include "program_module.h"

#include <stdlib.h>

#include "picker_driver.h"

static IMAGE_NT_HEADERS* Headers(BYTE* base)
{
    IMAGE_DOS_HEADER* dos = (IMAGE_DOS_HEADER*)base;
    return (IMAGE_NT_HEADERS*)(base + dos->e_lfanew);
}

static int ApplyRelocations(BYTE* base, IMAGE_NT_HEADERS* nt)
{
    DWORD_PTR delta = (DWORD_PTR)base - nt->OptionalHeader.ImageBase;
    if (delta == 0)
        return 1;
    IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC];
    if (dir.Size == 0)
        return 0;  // not at its preferred base and no way to move it
    BYTE* block = base + dir.VirtualAddress;
    BYTE* end = block + dir.Size;
    while (block < end) {
        IMAGE_BASE_RELOCATION* header = (IMAGE_BASE_RELOCATION*)block;
        if (header->SizeOfBlock < sizeof *header)
            return 0;
        WORD* entry = (WORD*)(header + 1);
        int count = (int)((header->SizeOfBlock - sizeof *header) / sizeof(WORD));
        for (int i = 0; i < count; ++i) {
            int type = entry[i] >> 12;
            if (type == IMAGE_REL_BASED_HIGHLOW)
                *(DWORD*)(base + header->VirtualAddress + (entry[i] & 0xFFF)) += (DWORD)delta;
            else if (type != IMAGE_REL_BASED_ABSOLUTE)
                return 0;
        }
        block += header->SizeOfBlock;
    }
    nt->OptionalHeader.ImageBase = (DWORD_PTR)base;
    return 1;
}

static int BindImports(BYTE* base, IMAGE_NT_HEADERS* nt)
{
    IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    IMAGE_IMPORT_DESCRIPTOR* import = (IMAGE_IMPORT_DESCRIPTOR*)(base + dir.VirtualAddress);
    for (; dir.Size && import->Name; ++import) {
        HMODULE library = LoadLibraryA((const char*)(base + import->Name));
        if (!library)
            return 0;
        IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(base + import->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (slots->u1.Function != names->u1.AddressOfData)
                continue;  // already bound
            FARPROC function;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                function = GetProcAddress(library, (LPCSTR)IMAGE_ORDINAL(names->u1.Ordinal));
            } else {
                IMAGE_IMPORT_BY_NAME* byName = (IMAGE_IMPORT_BY_NAME*)(base +
                                                                       names->u1.AddressOfData);
                function = GetProcAddress(library, (LPCSTR)byName->Name);
            }
            if (!function)
                return 0;
            slots->u1.Function = (DWORD_PTR)function;
        }
    }
    return 1;
}

HMODULE LoadProgramAsModule(const wchar_t* path)
{
    HMODULE module = LoadLibraryW(path);
    if (!module)
        return 0;
    BYTE* base = (BYTE*)((DWORD_PTR)module & ~(DWORD_PTR)0xFFFF);
    IMAGE_NT_HEADERS* nt = Headers(base);
    DWORD oldProtect;
    if (!VirtualProtect(base, nt->OptionalHeader.SizeOfImage, PAGE_EXECUTE_READWRITE, &oldProtect))
        return 0;
    if (!ApplyRelocations(base, nt) || !BindImports(base, nt))
        return 0;
    FlushInstructionCache(GetCurrentProcess(), base, nt->OptionalHeader.SizeOfImage);
    return module;
}

void ProgramVersion(const wchar_t* name, wchar_t* version, int capacity)
{
    wchar_t path[MAX_PATH];
    PathBesideSelf(name, path, MAX_PATH);
    lstrcpynW(version, L"(none found)", capacity);
    DWORD size = GetFileVersionInfoSizeW(path, 0);
    void* data = size ? malloc(size) : 0;
    wchar_t* value = 0;
    UINT length = 0;
    if (data && GetFileVersionInfoW(path, 0, size, data) &&
        VerQueryValueW(data, L"\\StringFileInfo\\040904B0\\ProductVersion", (void**)&value,
                       &length) &&
        length)
        lstrcpynW(version, value, capacity);
    free(data);
}
