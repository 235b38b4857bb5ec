// Any 32-bit value through both vendor conversions and the label lookup.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "debug_file/vendor_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    int value;
    memcpy(&value, data, 4);
    int index = GetVendorIndex(value);
    if (index < 0 || index >= VendorTableSize)
        abort();
    if (index > 0 && SetIndxVend(index) != value)
        abort();
    VENDORFORMAT code = SetIndxVend(value);
    if (GetVendorIndex(code) == 0 && code != 7)
        abort();  // every table code but the fallback has an index
    char label[32];
    int capacity = size > 4 ? data[4] % 33 : 32;
    int hasLabel = VendorLabel(value, label, capacity);
    if (hasLabel && (index == 0 || index == 14 || strlen(label) >= (size_t)capacity))
        abort();
    return 0;
}
