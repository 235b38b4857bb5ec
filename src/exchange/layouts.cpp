#include "exchange/layouts.h"

#include "entry/command_line.h"

int ExchangeRequestSize(int verb)
{
    switch (verb) {
    case VerbLoadDebugFile:
    case VerbModuleListFile:
        return DirectoryRequestSize;
    case VerbSetDumpFile:
        return DumpModeRequestSize;
    }
    return 0;
}

int ExchangeReplySize(int verb)
{
    switch (verb) {
    case VerbLoadDebugFile:
        return LoadReplySize;
    case VerbSetDumpFile:
    case VerbModuleListFile:
        return PathReplySize;
    }
    return 0;
}

void StoreLe32(unsigned char* bytes, int value)
{
    unsigned int v = (unsigned int)value;
    for (int i = 0; i < 4; ++i)
        bytes[i] = (unsigned char)(v >> (8 * i));
}

int LoadLe32(const unsigned char* bytes)
{
    unsigned int v = 0;
    for (int i = 0; i < 4; ++i)
        v |= (unsigned int)bytes[i] << (8 * i);
    return (int)v;
}

void TerminatePathBlock(char* text)
{
    text[PathBlockSize - 1] = '\0';
}
