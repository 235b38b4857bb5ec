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

int FilterLabel(const char* source, int item, char* label, int capacity)
{
    if (capacity < 1)
        return 0;
    label[0] = '\0';
    int sourceLength = 0;
    while (source[sourceLength])
        ++sourceLength;
    if (item < 1 || sourceLength == 0)
        return 0;
    char separator = source[sourceLength - 1];
    // Items are label and pattern fields: item n's label is field 2(n-1).
    const char* field = source;
    for (int skip = 2 * (item - 1); skip > 0 && *field; --skip) {
        while (*field && *field != separator)
            ++field;
        if (*field)
            ++field;
    }
    int length = 0;
    while (field[length] && field[length] != separator && length < capacity - 1) {
        label[length] = field[length];
        ++length;
    }
    label[length] = '\0';
    return length;
}
