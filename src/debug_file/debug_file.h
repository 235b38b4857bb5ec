/* The routines filepick.exe exports for a host that loads it as a module
 * (LoadLibrary("filepick.exe"), then GetProcAddress by the export names of
 * include/filepick.h, which src/filepick.def gives them). All are
 * __stdcall. They need none of the program's start-up code, so they work in
 * a module that was only mapped, relocated and bound.
 *
 * Declared with the public header's types: load_dialog.cpp checks that
 * each definition has the header's function type, so the two cannot
 * differ. */
#ifndef FILEPICK_DEBUG_FILE_H
#define FILEPICK_DEBUG_FILE_H

#include "filepick.h"

#if defined(_WIN32)
#define FILEPICK_CALL __stdcall
#else
#define FILEPICK_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The host's vendor-format code, signed 32 bits (FILEPICK_FORMAT_...). */
typedef int VENDORFORMAT;

int FILEPICK_CALL GetVendorIndex(VENDORFORMAT code);
VENDORFORMAT FILEPICK_CALL SetIndxVend(int index);

#ifdef _WIN32
int __stdcall LoadDebugFile(void* reserved, HWND owner, VENDORFORMAT* format, char* fileName,
                            int* startupSkip, int* symbolOnly, char* options,
                            const char* initialDir);
unsigned __stdcall LoadFileHook(void* dialog, unsigned message, unsigned wParam, long lParam);
#endif

#ifdef __cplusplus
}
#endif

#endif
