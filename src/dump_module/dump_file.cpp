// DoSetDumpFile: a file to save a dump to (mode 0), a dump to load (1) or a
// log file (2). In the two writing modes the chosen file is created, or
// emptied, before its short path is replied, so the host gets a file it can
// write to from the start.
#include "dump_module/dump_module.h"

#include <string.h>

#include "dialog_support/chosen_file.h"
#include "dialog_support/file_dialog.h"
#include "dialog_support/host_path.h"
#include "dialog_support/replies.h"
#include "dialog_support/warning.h"
#include "exchange/layouts.h"

static const char IntelHexFilter[] = "Intel Hex (*.hex)|*.HEX|";
static const char LogFilter[] = "Log file (*.log)|*.LOG|";

// Only the dump dialogs' buffer limit: the command's buffer holds 300.
enum { DumpMaxFile = 255 };

int DumpFileDialog(void*, HWND owner, DumpMode mode, wchar_t* fileName)
{
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
    return ShowFileDialog(owner, mode == DumpSave);
}

// What became of the file chosen in a writing mode.
enum { DumpFileReady = 1, NotADiskFile = 0, ChooseAgain = -1 };

static void ReportNotCreated(const wchar_t* path, DWORD error)
{
    wchar_t why[ReasonCapacity];
    SystemErrorText((int)error, why, ReasonCapacity);
    const wchar_t* advice =
        error == ERROR_ACCESS_DENIED
            ? L"\n\nThe folder may be read-only, or protected: where Windows' Controlled Folder "
              L"Access protects it, Windows names filepick in a notice of its own."
        : error == ERROR_PATH_NOT_FOUND ? L"\n\nThe folder does not exist."
                                        : L"";
    ShowWarning(0,
                L"The file you chose could not be created:\n\n%ls\n\n%ls%ls\n\n"
                L"Choose another file, or Cancel.",
                path, why, advice);
}

// Creates the file, or empties it, under its real (wide) name, so that the
// host gets a file it can write to from the start. An existing file that
// cannot be opened for writing keeps its content, and the host still gets
// its name; one that cannot be emptied too, after the user is told. A file
// that cannot be created is told, and the user chooses again. Nothing is
// written to what is not a disk file.
static int PrepareDumpFile(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
            return DumpFileReady;
        ReportNotCreated(path, error);
        return ChooseAgain;
    }
    int disk = GetFileType(file) == FILE_TYPE_DISK;
    if (disk && !SetEndOfFile(file)) {
        // Windows refuses to shorten a file that another program has
        // mapped into memory.
        wchar_t why[ReasonCapacity];
        SystemErrorText((int)GetLastError(), why, ReasonCapacity);
        ShowWarning(0,
                    L"The file you chose could not be emptied, and keeps its old content:"
                    L"\n\n%ls\n\n%ls\n\nThe debugger is given it all the same.",
                    path, why);
    }
    CloseHandle(file);
    return disk ? DumpFileReady : NotADiskFile;
}

int DoSetDumpFile()
{
    unsigned char modeBytes[IntBlockSize];
    wchar_t longPath[PathBlockSize] = L"";
    char shortPath[PathBlockSize] = "";
    if (!ReadRequest(modeBytes, IntBlockSize))
        return 0;
    DumpMode mode = FilepickGetInt(modeBytes);
    int prepared = DumpFileReady;
    do {
        if (!DumpFileDialog(0, 0, mode, longPath) || !longPath[0])
            return 0;
        // Before the conversion: a short path exists only for an existing file.
        if (mode == DumpSave || mode == DumpLog)
            prepared = PrepareDumpFile(longPath);
    } while (prepared == ChooseAgain);
    // In the modes that neither create a file nor require one, a name
    // that does not exist is no file for the host: no reply, and by
    // design no word.
    if (mode != DumpSave && mode != DumpLoad && mode != DumpLog &&
        HostPathFor(PathForReply, longPath, shortPath, sizeof shortPath) == HostPathMissing)
        return 0;
    return prepared != NotADiskFile && ReplyWithChosenFile(longPath);
}
