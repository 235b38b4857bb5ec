#include "exchange/layouts.h"

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
