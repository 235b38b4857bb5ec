/* A host that shows filepick's debug-file dialog itself: load filepick.exe
 * as a module, look up the export, call it, use what it gives.
 *
 *   module_host [FOLDER]
 *
 * filepick.exe is looked for beside this program. Prints the chosen file
 * and the words and exits 0, or prints "no file chosen" and exits 1; 2
 * when filepick.exe cannot be loaded. */
#include <stdio.h>
#include <string.h>

#include "filepick.h"

/* Windows relocates and binds an .exe that it loads as a module. Wine maps
 * it but does neither: this does the two steps there. The image must keep
 * its relocation table (filepick.exe does). 0 on failure. */
static int FixUpUnderWine(HMODULE module)
{
    BYTE* base = (BYTE*)module;
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    DWORD size = nt->OptionalHeader.SizeOfImage, old;
    if (!VirtualProtect(base, size, PAGE_EXECUTE_READWRITE, &old))
        return 0;
    DWORD delta = (DWORD)(DWORD_PTR)base - (DWORD)nt->OptionalHeader.ImageBase;
    IMAGE_DATA_DIRECTORY relocs = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC];
    BYTE* block = base + relocs.VirtualAddress;
    for (BYTE* end = block + relocs.Size; delta && relocs.Size && block < end;) {
        IMAGE_BASE_RELOCATION* header = (IMAGE_BASE_RELOCATION*)block;
        WORD* entry = (WORD*)(header + 1);
        DWORD count = (header->SizeOfBlock - sizeof *header) / sizeof(WORD);
        for (DWORD i = 0; i < count; ++i)
            if (entry[i] >> 12 == IMAGE_REL_BASED_HIGHLOW)
                *(DWORD*)(base + header->VirtualAddress + (entry[i] & 0xFFF)) += delta;
        block += header->SizeOfBlock;
    }
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    IMAGE_IMPORT_DESCRIPTOR* import = (IMAGE_IMPORT_DESCRIPTOR*)(base + imports.VirtualAddress);
    for (; imports.Size && import->Name; ++import) {
        HMODULE library = LoadLibraryA((const char*)(base + import->Name));
        IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(base + import->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + import->FirstThunk);
        for (; library && names->u1.AddressOfData; ++names, ++slots) {
            LPCSTR name = IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)
                              ? (LPCSTR)IMAGE_ORDINAL(names->u1.Ordinal)
                              : (LPCSTR)((IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData))->Name;
            FARPROC function = GetProcAddress(library, name);
            if (!function)
                return 0;
            slots->u1.Function = (DWORD_PTR)function;
        }
        if (!library)
            return 0;
    }
    FlushInstructionCache(GetCurrentProcess(), base, size);
    return 1;
}

static int RunsUnderWine(void)
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != 0;
}

int main(int argc, char** argv)
{
    char picker[MAX_PATH + 32];
    DWORD length = GetModuleFileNameA(0, picker, MAX_PATH);
    char* slash = length ? strrchr(picker, '\\') : 0;
    if (!slash || argc > 2) {
        fprintf(stderr, "usage: module_host [FOLDER]\n");
        return 2;
    }
    strcpy(slash + 1, "filepick.exe");
    HMODULE module = LoadLibraryA(picker);
    if (!module || (RunsUnderWine() && !FixUpUnderWine(module))) {
        fprintf(stderr, "module_host: cannot load %s (error %lu)\n", picker, GetLastError());
        return 2;
    }
    FilepickLoadDebugFile load =
        (FilepickLoadDebugFile)GetProcAddress(module, FILEPICK_EXPORT_LOAD_DEBUG_FILE);
    if (!load) {
        fprintf(stderr, "module_host: %s has no %s\n", picker, FILEPICK_EXPORT_LOAD_DEBUG_FILE);
        return 2;
    }
    int format = FILEPICK_FORMAT_KEIL, startupSkip = -1, symbolOnly = -1;
    char fileName[256];
    char options[] = "";  /* a host with options of its own: "Options..." enabled */
    /* No window of our own: no owner. A real host passes its main window. */
    if (!load(0, 0, &format, fileName, &startupSkip, &symbolOnly, options,
              argc > 1 ? argv[1] : "")) {
        /* fileName is empty now; the three words are as they were. */
        printf("no file chosen\n");
        return 1;
    }
    printf("file name:    %s\nstartup skip: %d\nsymbol only:  %d\nformat:       %d\n", fileName,
           startupSkip, symbolOnly, format);
    return 0;
}
