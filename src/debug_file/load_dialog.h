// The load-file dialog's process-wide state and the DoLoadDebugFile command.
#ifndef FILEPICK_LOAD_DIALOG_H
#define FILEPICK_LOAD_DIALOG_H

#include <windows.h>

#include "debug_file/debug_file.h"

#include "load_dialog_ids.h"

// Control identifiers the template adds to the standard ones.
enum {
    SymbolOnlyBox = IDC_SYMBOL_ONLY,
    StartupSkipBox = IDC_STARTUP_SKIP,
    OptionsButton = IDC_OPTIONS
};

// The check boxes' states while a load-file dialog runs (1 checked), and
// whether "Options..." stays enabled. Reset by every LoadDebugFile call.
extern int SymbolOnly;
extern int StartupSkip;
extern UINT_PTR OptionsEnabled;

int DoLoadDebugFile();

#endif
