#include "entry/command_line.h"

#include <string.h>

const char* const VerbNames[VerbCount] = {
    "DoLoadDebugFile",
    "DoSetDumpFile",
    "DoModuleListFile",
};

static int IsBlank(char c) { return c == ' ' || c == '\t'; }

static const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

const char* CommandTail(const char* commandLine)
{
    if (!commandLine)
        return 0;
    const char* p = SkipBlanks(commandLine);
    if (*p == '"') {
        ++p;
        while (*p && *p != '"' && *p != '\t')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && !IsBlank(*p))
            ++p;
    }
    return SkipBlanks(p);
}

int FindVerb(const char* tail)
{
    if (!tail)
        return -1;
    for (int verb = 0; verb < VerbCount; ++verb) {
        if (strcmp(tail, VerbNames[verb]) == 0)
            return verb;
    }
    return -1;
}
