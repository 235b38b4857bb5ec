// Arbitrary bytes as the full command line: the tail stays inside it, and
// a verb matches only when the tail equals it exactly.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "entry/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char* line = (char*)malloc(size + 1);
    memcpy(line, data, size);
    line[size] = '\0';
    const char* tail = CommandTail(line);
    size_t lineLength = strlen(line);
    if (tail < line || tail > line + lineLength)
        abort();
    if (*tail == ' ' || *tail == '\t')
        abort();  // the blanks after the name are never part of the tail
    int verb = FindVerb(tail);
    if (verb >= VerbCount || verb < -1)
        abort();
    if (verb >= 0 && strcmp(tail, VerbNames[verb]) != 0)
        abort();
    free(line);
    return 0;
}
