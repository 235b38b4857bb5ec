#include "dialog_support/filter.h"

int PrepareFilter(const char* source, char* work, int workSize)
{
    if (workSize < 2) {
        if (workSize == 1)
            work[0] = '\0';
        return 0;
    }
    // Leave room for the second NUL that ends the list.
    int length = 0;
    while (source[length] && length < workSize - 2) {
        work[length] = source[length];
        ++length;
    }
    work[length] = '\0';
    work[length + 1] = '\0';
    if (length == 0)
        return 0;
    char separator = work[length - 1];
    for (int i = 0; i < length; ++i) {
        if (work[i] == separator)
            work[i] = '\0';
    }
    return length;
}
