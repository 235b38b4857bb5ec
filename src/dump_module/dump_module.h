// The dump-file and module-list commands and their dialogs.
#ifndef FILEPICK_DUMP_MODULE_H
#define FILEPICK_DUMP_MODULE_H

#include <windows.h>

#include "filepick.h"

// DoSetDumpFile request word: what the host wants the file for.
typedef int DumpMode;
enum { DumpSave = FILEPICK_DUMP_SAVE, DumpLoad = FILEPICK_DUMP_LOAD, DumpLog = FILEPICK_DUMP_LOG };

// The dump dialog for mode; fileName (at least 255 characters) receives the
// full path. Non-zero when the user accepted a file (a device name is
// refused, and the user chooses again).
int DumpFileDialog(void* reserved, HWND owner, DumpMode mode, wchar_t* fileName);

// The module-list dialog, starting in initialDir (when it can) with fileName
// (at least 300 characters) as its starting file name. Non-zero when the
// user accepted a file.
int ModuleListDialog(void* reserved, HWND owner, wchar_t* fileName, const wchar_t* initialDir);

// The commands: 1 when the reply was written, else 0.
int DoSetDumpFile();
int DoModuleListFile();

#endif
