// Arbitrary non-empty filter texts into buffers of every size: the result
// stays in the buffer, ends in two NULs and holds no separator.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "dialog_support/filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    int workSize = data[0] % 64 + 1;  // 1 to 64 bytes, exact heap buffers
    char* source = (char*)malloc(size);
    memcpy(source, data + 1, size - 1);
    source[size - 1] = '\0';
    size_t sourceLength = strlen(source);
    char* work = (char*)malloc(workSize);
    int length = PrepareFilter(source, work, workSize);
    if (workSize >= 2) {
        if (length < 0 || length > workSize - 2 || work[length] || work[length + 1])
            abort();
        if ((size_t)length > sourceLength)
            abort();
        char separator = sourceLength ? source[sourceLength - 1] : '\0';
        for (int i = 0; i < length; ++i) {
            if (separator && work[i] == separator)
                abort();
            if (work[i] && work[i] != source[i])
                abort();
        }
    } else if (length != 0 || work[0] != '\0') {
        abort();
    }
    free(work);
    free(source);
    return 0;
}
