#include <gtest/gtest.h>

#include "debug_file/vendor_table.h"

namespace {

TEST(VendorTable, EveryIndexAndCode)
{
    // Entry i: the code of filter index i (0 and 14 have no filter item).
    const int codes[] = { 7, 0, 1, 2, 3, 10, 16, 15, 4, 6, 5, 7, 19, 8, 18 };
    for (int index = 0; index < 15; ++index) {
        EXPECT_EQ(SetIndxVend(index), codes[index]) << index;
        // Index 0 is never looked at: code 7 finds "OMF51 Format" (11).
        EXPECT_EQ(GetVendorIndex(codes[index]), index ? index : 11) << index;
    }
    for (int index : { 15, -1 })
        EXPECT_EQ(SetIndxVend(index), 7) << index;
}

}  // namespace
