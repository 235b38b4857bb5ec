// The controls the debug-file dialog's template (loaddialog.rc) adds to the
// standard file-dialog ones: shared by the template and the code that
// drives them.
#ifndef FILEPICK_LOAD_DIALOG_IDS_H
#define FILEPICK_LOAD_DIALOG_IDS_H

#define IDC_SYMBOL_ONLY 4390   // "&Symbol only"
#define IDC_STARTUP_SKIP 4391  // "Startup s&kip"
#define IDC_OPTIONS 4392       // "Options..."

#endif
