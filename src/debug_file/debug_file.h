/* The routines filepick.exe exports for a host that loads it as a module
 * (LoadLibraryA("filepick.exe"), then GetProcAddress by the export names
 * below). All are __stdcall. They need none of the program's start-up code,
 * so they work in a module that was only mapped, relocated and bound.
 *
 * Usable from C and C++; in C the reference parameters read as pointers,
 * which is the same calling convention. */
#ifndef FILEPICK_DEBUG_FILE_H
#define FILEPICK_DEBUG_FILE_H

#if defined(_WIN32)
#define FILEPICK_CALL __stdcall
#else
#define FILEPICK_CALL
#endif

#ifdef __cplusplus
#define FILEPICK_REF(type) type&
extern "C" {
#else
#define FILEPICK_REF(type) type*
#endif

/* The host's vendor-format code, signed 32 bits. */
typedef int VENDORFORMAT;

/* Filter index (1 to 14) of a vendor-format code, 0 when the table lacks it. */
int FILEPICK_CALL GetVendorIndex(VENDORFORMAT code);
#define FILEPICK_EXPORT_GETVENDORINDEX "@GetVendorIndex$qqs12VENDORFORMAT"

/* Vendor-format code of a filter index; indices outside 0 to 14 give 7. */
VENDORFORMAT FILEPICK_CALL SetIndxVend(int index);
#define FILEPICK_EXPORT_SETINDXVEND "@SetIndxVend$qqsi"

/* Shows the debug-file dialog. format selects the starting file type and,
 * when the user accepts, receives the chosen one; fileName (at least 255
 * bytes) receives the full path; startupSkip and symbolOnly receive the two
 * check boxes; a non-null options leaves "Options..." enabled; initialDir
 * may be null or empty. Non-zero when a file was accepted; on cancel or
 * error the caller's words are left untouched and 0 is returned. */
int FILEPICK_CALL LoadDebugFile(void* reserved, void* owner,
                                FILEPICK_REF(VENDORFORMAT) format,
                                char* fileName, FILEPICK_REF(int) startupSkip,
                                FILEPICK_REF(int) symbolOnly, char* options,
                                const char* initialDir);
#define FILEPICK_EXPORT_LOADDEBUGFILE \
    "@LoadDebugFile$qqspvt1r12VENDORFORMATpcrit5t4pxc"

/* The dialog's hook procedure; always returns 0. */
unsigned FILEPICK_CALL LoadFileHook(void* dialog, unsigned message,
                                    unsigned wParam, long lParam);
#define FILEPICK_EXPORT_LOADFILEHOOK "@LoadFileHook$qqspvuiuil"

typedef int(FILEPICK_CALL* GetVendorIndexProc)(VENDORFORMAT);
typedef VENDORFORMAT(FILEPICK_CALL* SetIndxVendProc)(int);
typedef int(FILEPICK_CALL* LoadDebugFileProc)(void*, void*,
                                              FILEPICK_REF(VENDORFORMAT),
                                              char*, FILEPICK_REF(int),
                                              FILEPICK_REF(int), char*,
                                              const char*);
typedef unsigned(FILEPICK_CALL* LoadFileHookProc)(void*, unsigned, unsigned,
                                                 long);

#ifdef __cplusplus
}
#endif

#endif
