#include "debug_file/vendor_table.h"

// 13 items; the pattern "*." matches files without an extension.
const char VendorFilter[] = "KEIL|*.ABS;*.AOF;*.|"
                            "IAR UBROF|*.DBG;*.D03|"
                            "IAR banked|*.DBG;*.D03|"
                            "BSO/Tasking OMF|*.ABS;*.O51|"
                            "BSO/Tasking IEEE695|*.ABS|"
                            "Old BSO|*.ABS;*.SR|"
                            "2500AD|*.ABS|"
                            "Intel ASM/PLM51|*.ABS;*.|"
                            "MetaLink ASM51|*.DBG|"
                            "MCC Software|*.ABS|"
                            "OMF51 Format|*.ABS;*.;*.OBJ|"
                            "FOMF|*.ABS;*.;*.OBJ|"
                            "Intel Hex|*.hex|";

// Entry i is the code of filter index i. Index 0 has no filter item and is
// what an out-of-range index maps to; index 14 (code 18) has no item either.
const VENDORFORMAT VendorTable[VendorTableSize] = {
    FILEPICK_FORMAT_OMF51,
    FILEPICK_FORMAT_KEIL,
    FILEPICK_FORMAT_IAR_UBROF,
    FILEPICK_FORMAT_IAR_BANKED,
    FILEPICK_FORMAT_BSO_TASKING_OMF,
    FILEPICK_FORMAT_BSO_TASKING_IEEE695,
    FILEPICK_FORMAT_OLD_BSO,
    FILEPICK_FORMAT_2500AD,
    FILEPICK_FORMAT_INTEL_ASM_PLM51,
    FILEPICK_FORMAT_METALINK_ASM51,
    FILEPICK_FORMAT_MCC_SOFTWARE,
    FILEPICK_FORMAT_OMF51,
    FILEPICK_FORMAT_FOMF,
    FILEPICK_FORMAT_INTEL_HEX,
    FILEPICK_FORMAT_UNLISTED,
};

int FILEPICK_CALL GetVendorIndex(VENDORFORMAT code)
{
    // Index 0 is never examined, so code 7 finds "OMF51 Format" (11).
    for (int index = 1; index < VendorTableSize; ++index) {
        if (VendorTable[index] == code)
            return index;
    }
    return 0;
}

VENDORFORMAT FILEPICK_CALL SetIndxVend(int index)
{
    // Indices past the table, and negative ones (which no dialog gives),
    // take the code of index 0.
    if (index < 0 || index >= VendorTableSize)
        return VendorTable[0];
    return VendorTable[index];
}
