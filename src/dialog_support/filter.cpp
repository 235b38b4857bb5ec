#include "dialog_support/filter.h"

// The length of a filter text into *length, and its separator: its last
// character (NUL for an empty text).
static char Separator(const char* source, int* length)
{
    int n = 0;
    while (source[n])
        ++n;
    *length = n;
    return n > 0 ? source[n - 1] : '\0';
}

int PrepareFilter(const char* source, char* work, int workSize)
{
    if (workSize < 2) {
        if (workSize == 1)
            work[0] = '\0';
        return 0;
    }
    // The separator is the source's last character, also when the copy
    // has to be cut short.
    int sourceLength;
    char separator = Separator(source, &sourceLength);
    // Leave room for the second NUL that ends the list.
    int length = sourceLength < workSize - 2 ? sourceLength : workSize - 2;
    for (int i = 0; i < length; ++i)
        work[i] = source[i];
    work[length] = '\0';
    work[length + 1] = '\0';
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
    int sourceLength;
    char separator = Separator(source, &sourceLength);
    if (item < 1 || sourceLength == 0)
        return 0;
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
