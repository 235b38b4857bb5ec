// The debug-file vendor formats offered by the load-file dialog: the filter
// text of the file-type list and the table between filter indices and the
// host's VENDORFORMAT codes. No Windows API here.
#ifndef FILEPICK_VENDOR_TABLE_H
#define FILEPICK_VENDOR_TABLE_H

#include "debug_file/debug_file.h"

extern const char VendorFilter[];

enum { VendorTableSize = 15 };
extern const VENDORFORMAT VendorTable[VendorTableSize];

#endif
