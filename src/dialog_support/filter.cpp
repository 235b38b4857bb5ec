#include "dialog_support/filter.h"

int PrepareFilter(const char* source, char* work, int workSize)
{
    if (workSize < 2) {
        if (workSize == 1)
            work[0] = '\0';
        return 0;
    }
    // Leave room for the second NUL that ends the list.
    int sourceLength = 0;
    while (source[sourceLength])
        ++sourceLength;
    int length = sourceLength < workSize - 2 ? sourceLength : workSize - 2;
    for (int i = 0; i < length; ++i)
        work[i] = source[i];
    work[length] = '\0';
    work[length + 1] = '\0';
    if (length == 0)
        return 0;
    // The separator is the source's last character, also when the copy
    // had to be cut short.
    char separator = source[sourceLength - 1];
    for (int i = 0; i < length; ++i) {
        if (work[i] == separator)
            work[i] = '\0';
    }
    return length;
}
