// The byte layouts of every request and reply, shared by the program and by
// the host companion so that there is one definition of each.
#ifndef FILEPICK_LAYOUTS_H
#define FILEPICK_LAYOUTS_H

enum {
    // A path block: a NUL-terminated ANSI text within 300 bytes.
    PathBlockSize = 300,
    // An integer block: signed 32 bits, little-endian.
    IntBlockSize = 4,

    // DoLoadDebugFile and DoModuleListFile requests: the initial directory.
    DirectoryRequestSize = PathBlockSize,
    // DoSetDumpFile request: the dump mode.
    DumpModeRequestSize = IntBlockSize,

    // DoSetDumpFile and DoModuleListFile replies: the short path.
    PathReplySize = PathBlockSize,

    // DoLoadDebugFile reply: short path, startup skip, symbol only, format.
    LoadReplyStartupSkipOffset = PathBlockSize,
    LoadReplySymbolOnlyOffset = LoadReplyStartupSkipOffset + IntBlockSize,
    LoadReplyFormatOffset = LoadReplySymbolOnlyOffset + IntBlockSize,
    LoadReplySize = LoadReplyFormatOffset + IntBlockSize
};

// Little-endian integer blocks, independent of the machine's byte order.
void StoreLe32(unsigned char* bytes, int value);
int LoadLe32(const unsigned char* bytes);

// Makes the 300-byte path block at text a terminated text: a block without
// a NUL is cut at its last byte, so no reader runs past the block.
void TerminatePathBlock(char* text);

#endif
