// The byte layouts of every request and reply, shared by the program and by
// the host companion: those of the public header (include/filepick.h),
// which hosts build against, so there is one definition of each.
#ifndef FILEPICK_LAYOUTS_H
#define FILEPICK_LAYOUTS_H

#include "filepick.h"

enum {
    // A path block: a NUL-terminated ANSI text within 300 bytes.
    PathBlockSize = FILEPICK_PATH_BLOCK_SIZE,
    // An integer block: signed 32 bits, little-endian.
    IntBlockSize = FILEPICK_INT_SIZE,

    // DoLoadDebugFile and DoModuleListFile requests: the initial directory.
    DirectoryRequestSize = FILEPICK_DIRECTORY_REQUEST_SIZE,
    // DoSetDumpFile request: the dump mode.
    DumpModeRequestSize = FILEPICK_DUMP_REQUEST_SIZE,

    // DoSetDumpFile and DoModuleListFile replies: the short path.
    PathReplySize = FILEPICK_PATH_REPLY_SIZE,

    // DoLoadDebugFile reply: short path, startup skip, symbol only, format.
    LoadReplyStartupSkipOffset = FILEPICK_LOAD_REPLY_STARTUP_SKIP,
    LoadReplySymbolOnlyOffset = FILEPICK_LOAD_REPLY_SYMBOL_ONLY,
    LoadReplyFormatOffset = FILEPICK_LOAD_REPLY_FORMAT,
    LoadReplySize = FILEPICK_LOAD_REPLY_SIZE
};

// Integer blocks are read and written with the header's FilepickGetInt and
// FilepickPutInt (little-endian, whatever the machine).

// Makes the 300-byte path block at text a terminated text: a block without
// a NUL is cut at its last byte, so no reader runs past the block.
void TerminatePathBlock(char* text);

#endif
