// DoSetDumpFile: a file to save a dump to (mode 0), a dump to load (1) or a
// log file (2). In the two writing modes the chosen file is created, or
// emptied, before its short path is replied, so the host gets a file it can
// write to from the start.
#include "dump_module/dump_module.h"

#include <stdio.h>
#include <string.h>

#include "dialog_support/dialog_services.h"
#include "dialog_support/file_dialog.h"
#include "dialog_support/filter.h"
#include "exchange/exchange.h"
#include "exchange/layouts.h"
#include "exchange/replies.h"

static const char IntelHexFilter[] = "Intel Hex (*.hex)|*.HEX|";
static const char LogFilter[] = "Log file (*.log)|*.LOG|";

// Only the dump dialogs' buffer limit: the command's buffer holds 300.
enum { DumpMaxFile = 255 };

int DumpFileDialog(void*, HWND owner, DumpMode mode, char* fileName)
{
    char filter[256];
    ResetDialogRecord();
    memset(fileName, 0, DumpMaxFile);
    PrepareFilter(mode == DumpLog ? LogFilter : IntelHexFilter, filter,
                  sizeof filter);
    DialogRecord.hwndOwner = owner;
    DialogRecord.lpstrFilter = filter;
    DialogRecord.nFilterIndex = 1;
    DialogRecord.lpstrFile = fileName;
    DialogRecord.nMaxFile = DumpMaxFile;
    // Every mode but "load" is titled for saving, the log mode too.
    DialogRecord.lpstrTitle = mode == DumpLoad ? "Load Dump File" : "Save Dump As";
    DialogRecord.Flags = mode == DumpLoad ? ExistingFileFlags : AnyFileFlags;
    int result = mode == DumpSave ? ShowSaveDialog(&DialogRecord)
                                  : ShowOpenDialog(&DialogRecord);
    if (!result)
        ReportDialogError(owner);
    return result;
}

// Creates the file, or empties it. A file that cannot be opened for writing
// keeps its content; the host still gets its name.
static void EmptyFile(const char* path)
{
    FILE* file = fopen(path, "wb");
    if (file)
        fclose(file);
}

int DoSetDumpFile()
{
    unsigned char modeBytes[IntBlockSize];
    char longPath[PathBlockSize] = "";
    char shortPath[PathBlockSize] = "";
    ExchangeBlock request = { modeBytes, IntBlockSize };
    if (!ReadExchange(ExchangePath, 1, &request))
        return 0;
    DumpMode mode = LoadLe32(modeBytes);
    if (!DumpFileDialog(0, 0, mode, longPath) || !longPath[0])
        return 0;
    // Before the conversion: a short path exists only for an existing file.
    if (mode == DumpSave || mode == DumpLog)
        EmptyFile(longPath);
    if (!ConvertToShortPath(longPath, shortPath, sizeof shortPath))
        return 0;
    return WritePathReply(shortPath);
}
