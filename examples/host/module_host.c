/* A host that shows filepick's debug-file dialog itself: load filepick.exe
 * as a module, look up the export, call it, use what it gives.
 *
 *   module_host [FOLDER...]
 *
 * One dialog for each FOLDER (none: one, without a start folder), as a
 * host's "Load..." is clicked again and again. Each time the program is
 * loaded (while the earlier loads are still held, as a host that keeps it
 * may do: LoadLibrary then gives the same module again), and all are freed
 * at the end. filepick.exe is looked for beside this program. Prints the
 * chosen file and the words of each, and exits 0 when every dialog gave a
 * file; prints "no file chosen" and exits 1 otherwise; 2 when filepick.exe
 * cannot be loaded. */
#include <stdio.h>
#include <string.h>

#include "filepick.h"

/* Windows relocates and binds an .exe that it loads as a module. Wine maps
 * it but does neither: this does the two steps there, once for a module
 * (a second LoadLibrary of a module still loaded gives the same one, already
 * fixed up: relocating it again would break it). The image must keep its
 * relocation table (filepick.exe does). 0 on failure. */
static int FixUpUnderWine(HMODULE module)
{
    BYTE* base = (BYTE*)module;
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    DWORD size = nt->OptionalHeader.SizeOfImage, old;
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    IMAGE_IMPORT_DESCRIPTOR* import = (IMAGE_IMPORT_DESCRIPTOR*)(base + imports.VirtualAddress);
    /* Bound already: the first import slot holds an address, no longer the
     * offset of the function's name that the unbound image has there. */
    if (imports.Size && import->Name &&
        ((IMAGE_THUNK_DATA*)(base + import->FirstThunk))->u1.Function !=
            ((IMAGE_THUNK_DATA*)(base + import->OriginalFirstThunk))->u1.AddressOfData)
        return 1;
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
    for (; imports.Size && import->Name; ++import) {
        HMODULE library = LoadLibraryA((const char*)(base + import->Name));
        IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(base + import->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + import->FirstThunk);
        for (; library && names->u1.AddressOfData; ++names, ++slots) {
            LPCSTR name =
                IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)
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

/* Loads filepick.exe (picker) as a module, fixed up where Wine needs it; 0
 * when it cannot be. */
static HMODULE LoadPicker(const char* picker)
{
    HMODULE module = LoadLibraryA(picker);
    if (module && RunsUnderWine() && !FixUpUnderWine(module)) {
        FreeLibrary(module);
        return 0;
    }
    return module;
}

/* Shows the dialog once, starting in folder, and prints what it gave; 1
 * when a file was chosen, 0 when not, -1 when filepick.exe cannot be used. */
static int ChooseDebugFile(const char* picker, const char* folder, HMODULE* loaded)
{
    *loaded = LoadPicker(picker);
    if (!*loaded) {
        fprintf(stderr, "module_host: cannot load %s (error %lu)\n", picker, GetLastError());
        return -1;
    }
    /* The object pointer goes through a function pointer of its own type: a
     * cast from FARPROC warns under -Wcast-function-type. */
    FilepickLoadDebugFile load;
    FARPROC found = GetProcAddress(*loaded, FILEPICK_EXPORT_LOAD_DEBUG_FILE);
    if (!found) {
        fprintf(stderr, "module_host: %s has no %s\n", picker, FILEPICK_EXPORT_LOAD_DEBUG_FILE);
        return -1;
    }
    memcpy(&load, &found, sizeof load);
    int format = FILEPICK_FORMAT_KEIL, startupSkip = -1, symbolOnly = -1;
    char fileName[256];
    char options[] = ""; /* a host with options of its own: "Options..." enabled */
    /* The platform's dialog changes this process's current directory, even
     * on cancel: kept around the call. */
    char current[MAX_PATH + 1];
    DWORD kept = GetCurrentDirectoryA(sizeof current, current);
    /* No window of our own: no owner. A GUI host passes its main window,
     * which the dialog disables while it shows. */
    int chosen = load(0, 0, &format, fileName, &startupSkip, &symbolOnly, options, folder);
    if (kept && kept < sizeof current)
        SetCurrentDirectoryA(current);
    if (!chosen) {
        /* fileName is empty now; the three words are as they were. */
        printf("no file chosen\n");
        return 0;
    }
    printf("file name:    %s\nstartup skip: %d\nsymbol only:  %d\nformat:       %d\n", fileName,
           startupSkip, symbolOnly, format);
    return 1;
}

int main(int argc, char** argv)
{
    char picker[MAX_PATH + 32];
    DWORD length = GetModuleFileNameA(0, picker, MAX_PATH);
    char* slash = length ? strrchr(picker, '\\') : 0;
    HMODULE loaded[16];
    int count = argc > 1 ? argc - 1 : 1, i, status = 0;
    if (!slash || count > 16) {
        fprintf(stderr, "usage: module_host [FOLDER...] (16 at most)\n");
        return 2;
    }
    strcpy(slash + 1, "filepick.exe");
    for (i = 0; i < count && status != 2; ++i) {
        int chosen = ChooseDebugFile(picker, argc > 1 ? argv[i + 1] : "", &loaded[i]);
        status = chosen < 0 ? 2 : chosen ? status : 1;
        if (chosen < 0 && loaded[i])
            FreeLibrary(loaded[i]);
        if (chosen < 0)
            loaded[i] = 0;
    }
    while (i-- > 0)
        if (loaded[i])
            FreeLibrary(loaded[i]);
    return status;
}
