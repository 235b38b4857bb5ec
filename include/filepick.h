/* filepick.h: what a debugger (the host) needs to use filepick.exe.
 *
 * Two ways in:
 * - The exchange file. The host writes a request to C:\FILE, starts
 *   "filepick.exe VERB", waits for it to end, and reads the reply at C:\FILE
 *   if there is one (none: no file was chosen). The host removes the reply
 *   after reading it, before it writes the next request.
 * - The exported dialog. The host loads filepick.exe as a module and calls
 *   the routines below by their export names.
 *
 * Requests and replies are concatenated blocks: a path block is 300 bytes
 * holding a NUL-terminated text in the system's ANSI code page (a request's
 * bytes after the NUL may be anything; a reply's are zero); an integer is 4
 * bytes, signed, little-endian. The helpers below build and decode them
 * byte by byte, on any machine.
 *
 * C or C++; it includes <windows.h> only, and only where _WIN32 is defined
 * (the exports' section needs it). */
#ifndef FILEPICK_H
#define FILEPICK_H

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L)
#define FILEPICK_INLINE static inline
#else
#define FILEPICK_INLINE static __inline
#endif

/* The exchange file's path. */
#define FILEPICK_EXCHANGE_PATH "C:\\FILE"

/* One picker at a time: there is one exchange file. A host holds this named
 * mutex (CreateMutex, then wait for it) from before it writes the request
 * until it has removed the reply, so that two debuggers, or two clicks, never
 * share C:\FILE; the sample host does. */
#define FILEPICK_EXCHANGE_MUTEX "Local\\filepick-exchange"

/* Sizes and offsets, in bytes. */
enum {
    FILEPICK_PATH_BLOCK_SIZE = 300,
    FILEPICK_INT_SIZE = 4,
    /* DoLoadDebugFile and DoModuleListFile requests: the start folder. */
    FILEPICK_DIRECTORY_REQUEST_SIZE = FILEPICK_PATH_BLOCK_SIZE,
    /* DoSetDumpFile request: the dump mode. */
    FILEPICK_DUMP_REQUEST_SIZE = FILEPICK_INT_SIZE,
    /* DoSetDumpFile and DoModuleListFile replies: the chosen file's short
     * path. */
    FILEPICK_PATH_REPLY_SIZE = FILEPICK_PATH_BLOCK_SIZE,
    /* DoLoadDebugFile reply: the short path at 0, then startup skip (0 or
     * 1), symbol only (0 or 1) and the vendor-format code. */
    FILEPICK_LOAD_REPLY_STARTUP_SKIP = FILEPICK_PATH_BLOCK_SIZE,
    FILEPICK_LOAD_REPLY_SYMBOL_ONLY = FILEPICK_LOAD_REPLY_STARTUP_SKIP + FILEPICK_INT_SIZE,
    FILEPICK_LOAD_REPLY_FORMAT = FILEPICK_LOAD_REPLY_SYMBOL_ONLY + FILEPICK_INT_SIZE,
    FILEPICK_LOAD_REPLY_SIZE = FILEPICK_LOAD_REPLY_FORMAT + FILEPICK_INT_SIZE
};

/* The verbs: the whole command tail after the program name, byte for byte
 * (no blank after it). */
#define FILEPICK_VERB_LOAD_DEBUG_FILE "DoLoadDebugFile"
#define FILEPICK_VERB_SET_DUMP_FILE "DoSetDumpFile"
#define FILEPICK_VERB_MODULE_LIST_FILE "DoModuleListFile"

/* Dump modes. Any other value: an open dialog for any name ("Save Dump
 * As", Intel Hex), the file left alone, and no reply for a name that does
 * not exist. */
enum {
    FILEPICK_DUMP_SAVE = 0, /* save dialog; the file created, or emptied after a prompt */
    FILEPICK_DUMP_LOAD = 1, /* "Load Dump File"; the file must exist, left alone */
    FILEPICK_DUMP_LOG = 2   /* log file; created, or emptied without a prompt */
};

/* Exit codes of filepick.exe. Any other: it did not end normally, and a
 * file at C:\FILE is not a reply. */
enum {
    FILEPICK_EXIT_UNKNOWN_VERB = 0, /* C:\FILE was not touched */
    FILEPICK_EXIT_VERB_RAN = 1      /* look for the reply */
};

/* Vendor-format codes (the debug-file dialog's file types, in its order). */
enum {
    FILEPICK_FORMAT_KEIL = 0,
    FILEPICK_FORMAT_IAR_UBROF = 1,
    FILEPICK_FORMAT_IAR_BANKED = 2,
    FILEPICK_FORMAT_BSO_TASKING_OMF = 3,
    FILEPICK_FORMAT_BSO_TASKING_IEEE695 = 10,
    FILEPICK_FORMAT_OLD_BSO = 16,
    FILEPICK_FORMAT_2500AD = 15,
    FILEPICK_FORMAT_INTEL_ASM_PLM51 = 4,
    FILEPICK_FORMAT_METALINK_ASM51 = 6,
    FILEPICK_FORMAT_MCC_SOFTWARE = 5,
    FILEPICK_FORMAT_OMF51 = 7,
    FILEPICK_FORMAT_FOMF = 19,
    FILEPICK_FORMAT_INTEL_HEX = 8,
    /* The last table entry, without a file type: the type box starts empty
     * on *.*, and this code comes back if the user leaves it so. */
    FILEPICK_FORMAT_UNLISTED = 18
};

/* A little-endian integer block. */
FILEPICK_INLINE void FilepickPutInt(unsigned char* bytes, int value)
{
    unsigned int v = (unsigned int)value;
    int i;
    for (i = 0; i < FILEPICK_INT_SIZE; ++i)
        bytes[i] = (unsigned char)(v >> (8 * i));
}

FILEPICK_INLINE int FilepickGetInt(const unsigned char* bytes)
{
    unsigned int v = 0;
    int i;
    for (i = 0; i < FILEPICK_INT_SIZE; ++i)
        v |= (unsigned int)bytes[i] << (8 * i);
    return (int)v;
}

/* A DoLoadDebugFile or DoModuleListFile request for the start folder (ANSI,
 * null or empty: none) into request (FILEPICK_DIRECTORY_REQUEST_SIZE bytes,
 * zero after the text). 0 when the folder does not fit (299 bytes at most). */
FILEPICK_INLINE int FilepickDirectoryRequest(unsigned char* request, const char* folder)
{
    int i, length = 0;
    for (i = 0; i < FILEPICK_DIRECTORY_REQUEST_SIZE; ++i)
        request[i] = 0;
    while (folder && folder[length])
        if (++length >= FILEPICK_PATH_BLOCK_SIZE)
            return 0;
    for (i = 0; i < length; ++i)
        request[i] = (unsigned char)folder[i];
    return 1;
}

/* A DoSetDumpFile request for mode into request (FILEPICK_DUMP_REQUEST_SIZE
 * bytes). */
FILEPICK_INLINE void FilepickDumpRequest(unsigned char* request, int mode)
{
    FilepickPutInt(request, mode);
}

/* A reply, decoded. */
typedef struct FilepickReply {
    char path[FILEPICK_PATH_BLOCK_SIZE]; /* the chosen file's short path, ANSI */
    int startupSkip, symbolOnly, format; /* DoLoadDebugFile only; else -1 */
} FilepickReply;

/* Decodes the size bytes read from C:\FILE: a path reply, or with
 * FILEPICK_LOAD_REPLY_SIZE bytes a DoLoadDebugFile reply. 0 for any other
 * size. The path is ended within its block whatever the bytes hold. A host
 * uses FilepickDecodeReplyFor below, which also tells its own request
 * that was not taken from a reply. */
FILEPICK_INLINE int FilepickDecodeReply(const unsigned char* bytes, int size, FilepickReply* reply)
{
    int i;
    if (size != FILEPICK_PATH_REPLY_SIZE && size != FILEPICK_LOAD_REPLY_SIZE)
        return 0;
    for (i = 0; i < FILEPICK_PATH_BLOCK_SIZE; ++i)
        reply->path[i] = (char)bytes[i];
    reply->path[FILEPICK_PATH_BLOCK_SIZE - 1] = 0;
    reply->startupSkip = reply->symbolOnly = reply->format = -1;
    if (size == FILEPICK_LOAD_REPLY_SIZE) {
        reply->startupSkip = FilepickGetInt(bytes + FILEPICK_LOAD_REPLY_STARTUP_SKIP);
        reply->symbolOnly = FilepickGetInt(bytes + FILEPICK_LOAD_REPLY_SYMBOL_ONLY);
        reply->format = FilepickGetInt(bytes + FILEPICK_LOAD_REPLY_FORMAT);
    }
    return 1;
}

/* What FilepickDecodeReplyFor found in the bytes read from C:\FILE. */
enum {
    FILEPICK_REPLY_DECODED = 1,
    /* Not a reply of the verb: a size it never writes. */
    FILEPICK_REPLY_WRONG_SIZE = 0,
    /* The very request the host wrote: filepick could not take it (another
     * program held C:\FILE, and the user was told), so no file was chosen.
     * A DoModuleListFile request has a reply's size: read as a reply, the
     * host would take its own start folder for the chosen file. */
    FILEPICK_REPLY_REQUEST_NOT_TAKEN = -1
};

/* Decodes the size bytes read from C:\FILE after "filepick.exe verb" ended
 * with FILEPICK_EXIT_VERB_RAN, given the request (requestSize bytes) that
 * the host wrote before. One of the results above; reply is filled only
 * when decoded. */
FILEPICK_INLINE int FilepickDecodeReplyFor(const char* verb, const unsigned char* bytes, int size,
                                           const unsigned char* request, int requestSize,
                                           FilepickReply* reply)
{
    const char* load = FILEPICK_VERB_LOAD_DEBUG_FILE;
    int i = 0, expected;
    if (size == requestSize) {
        for (i = 0; i < size; ++i)
            if (bytes[i] != request[i])
                break;
        if (i == size)
            return FILEPICK_REPLY_REQUEST_NOT_TAKEN;
    }
    for (i = 0; verb[i] == load[i]; ++i)
        if (!verb[i])
            break;
    expected = verb[i] == load[i] ? FILEPICK_LOAD_REPLY_SIZE : FILEPICK_PATH_REPLY_SIZE;
    if (size != expected)
        return FILEPICK_REPLY_WRONG_SIZE;
    return FilepickDecodeReply(bytes, size, reply);
}

/* The routines filepick.exe exports, for a host that loads it as a module
 * (LoadLibrary, then GetProcAddress by the names below). All are __stdcall
 * and need none of the program's start-up code. Under Wine, LoadLibrary of
 * an .exe neither applies its relocations nor binds its imports: the host
 * must, once for a module (the sample host's module_host.c shows how: a
 * second LoadLibrary while the first is held gives the same module, already
 * fixed up). Load, fix up once, call, and free when done.
 *
 * Casting GetProcAddress's FARPROC straight to the types below warns under
 * -Wcast-function-type (g++ -Wextra): copy it into a variable of the type
 * with memcpy, as the sample does, or cast through (void (*)(void)).
 *
 * The platform's dialog changes the calling process's current directory,
 * even on cancel: a host that relies on its own saves and restores it. */
#ifdef _WIN32

/* The debug-file dialog's filter index (1 to 14) of a vendor-format code;
 * 0 for a code the table lacks. */
typedef int(__stdcall* FilepickGetVendorIndex)(int format);
#define FILEPICK_EXPORT_GET_VENDOR_INDEX "@GetVendorIndex$qqs12VENDORFORMAT"

/* The vendor-format code of a filter index (1 to 14); 0 and 15 or more, or
 * below 0, give 7 (OMF51). */
typedef int(__stdcall* FilepickSetIndxVend)(int index);
#define FILEPICK_EXPORT_SET_INDX_VEND "@SetIndxVend$qqsi"

/* Shows the debug-file dialog ("File Open") and waits for the user.
 *   reserved    pass 0.
 *   owner       the host's window (the dialog's owner), or 0.
 *   format      in: the file type shown first; out: the one chosen.
 *   fileName    at least 255 bytes. Zeroed at the start, even on cancel;
 *               on success the full path when it has an exact ANSI form
 *               within 255 bytes, else the short path.
 *   startupSkip out: the "Startup skip" box (0 or 1; shown set).
 *   symbolOnly  out: the "Symbol only" box (0 or 1; shown clear).
 *   options     non-null: "Options..." enabled; null: greyed out.
 *   initialDir  the start folder, ANSI; null or empty for none.
 * Non-zero when a file was chosen. 0 on cancel or error: then format,
 * startupSkip and symbolOnly are left untouched. The file must exist. */
typedef int(__stdcall* FilepickLoadDebugFile)(void* reserved, HWND owner, int* format,
                                              char* fileName, int* startupSkip, int* symbolOnly,
                                              char* options, const char* initialDir);
#define FILEPICK_EXPORT_LOAD_DEBUG_FILE "@LoadDebugFile$qqspvt1r12VENDORFORMATpcrit5t4pxc"

/* The dialog's hook procedure, for a host that shows the dialog itself from
 * the module's template "LoadDialog"; always returns 0. */
typedef unsigned(__stdcall* FilepickLoadFileHook)(void* dialog, unsigned message, unsigned wParam,
                                                  long lParam);
#define FILEPICK_EXPORT_LOAD_FILE_HOOK "@LoadFileHook$qqspvuiuil"

#endif /* _WIN32 */

#ifdef __cplusplus
}
#endif

#endif
