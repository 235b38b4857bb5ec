// Floor for the dialog figures: opens the same kind of common dialog with
// the same record as the verb named on its command line, and nothing else
// (no exchange file, no short path). "load": old-style with the template
// and a hook that does nothing; "dump": the save dialog; "module": the
// Explorer-style open dialog.
#include <windows.h>
#include <commdlg.h>
#include <string.h>

static UINT_PTR CALLBACK Hook(HWND, UINT, WPARAM, LPARAM) { return 0; }

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const char* line = GetCommandLineA();
    static char file[300];
    OPENFILENAMEA record;
    memset(&record, 0, sizeof record);
    record.lStructSize = 76;
    record.lpstrFile = file;
    record.nFilterIndex = 1;
    record.lpstrDefExt = "*";
    if (strstr(line, "load")) {
        record.hInstance = instance;
        record.lpstrFilter = "KEIL\0*.ABS;*.AOF;*.\0Intel Hex\0*.hex\0";
        record.nMaxFile = 255;
        record.lpstrTitle = "File Open";
        record.Flags = 0x1874;
        record.lpfnHook = Hook;
        record.lpTemplateName = "LoadDialog";
        return GetOpenFileNameA(&record);
    }
    if (strstr(line, "dump")) {
        record.lpstrFilter = "Intel Hex (*.hex)\0*.HEX\0";
        record.nMaxFile = 255;
        record.lpstrTitle = "Save Dump As";
        record.Flags = 0x0016;
        return GetSaveFileNameA(&record);
    }
    record.lpstrFilter = "C file (*.c)\0*.C\0List file (*.lst)\0*.LST\0All Files (*.*)\0*.*\0";
    record.nMaxFile = 300;
    record.lpstrTitle = "Module List Files";
    record.Flags = 0x1814;
    return GetOpenFileNameA(&record);
}
