// DoSetDumpFile: a file to save a dump to (mode 0), a dump to load (1) or a
// log file (2). In the two writing modes the chosen file is created, or
// emptied, before its short path is replied, so the host gets a file it can
// write to from the start.
#include "dump_module/dump_module.h"

#include <string.h>

#include "dialog_support/chosen_file.h"
#include "dialog_support/file_dialog.h"
#include "dialog_support/replies.h"
#include "exchange/layouts.h"

static const char IntelHexFilter[] = "Intel Hex (*.hex)|*.HEX|";
static const char LogFilter[] = "Log file (*.log)|*.LOG|";

// Only the dump dialogs' buffer limit: the command's buffer holds 300.
enum { DumpMaxFile = 255 };

int DumpFileDialog(void*, HWND owner, DumpMode mode, wchar_t* fileName)
{
    int result;
    do {
        wchar_t filter[256];
        ResetDialogRecord();
        memset(fileName, 0, DumpMaxFile * sizeof *fileName);
        PrepareWideFilter(mode == DumpLog ? LogFilter : IntelHexFilter, filter, 256);
        DialogRecord.hwndOwner = owner;
        DialogRecord.lpstrFilter = filter;
        DialogRecord.nFilterIndex = 1;
        DialogRecord.lpstrFile = fileName;
        DialogRecord.nMaxFile = DumpMaxFile;
        // Every mode but "load" is titled for saving, the log mode too.
        DialogRecord.lpstrTitle = mode == DumpLoad ? L"Load Dump File" : L"Save Dump As";
        DialogRecord.Flags = mode == DumpLoad ? ExistingFileFlags : AnyFileFlags;
        result = ShowFileDialog(owner, mode == DumpSave);
    } while (result < 0);
    return result;
}

// Creates the file, or empties it, under its real (wide) name. A file that
// cannot be opened for writing keeps its content; the host still gets its
// name. 0 only when what opened is not a disk file: nothing is written.
static int EmptyFile(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    int disk = GetFileType(file) == FILE_TYPE_DISK;
    if (disk)
        SetEndOfFile(file);
    CloseHandle(file);
    return disk;
}

int DoSetDumpFile()
{
    unsigned char modeBytes[IntBlockSize];
    wchar_t longPath[PathBlockSize] = L"";
    char shortPath[PathBlockSize] = "";
    if (!ReadRequest(modeBytes, IntBlockSize))
        return 0;
    DumpMode mode = LoadLe32(modeBytes);
    if (!DumpFileDialog(0, 0, mode, longPath) || !longPath[0])
        return 0;
    // Before the conversion: a short path exists only for an existing file.
    if ((mode == DumpSave || mode == DumpLog) && !EmptyFile(longPath))
        return 0;
    if (!ReplyPathFor(0, longPath, shortPath, sizeof shortPath))
        return 0;
    return WritePathReply(shortPath);
}
