#include <gtest/gtest.h>

#include <climits>

#include "debug_file/vendor_table.h"

namespace {

TEST(VendorTable, CodeToFilterIndex)
{
    EXPECT_EQ(GetVendorIndex(0), 1);    // KEIL
    EXPECT_EQ(GetVendorIndex(8), 13);   // Intel Hex
    EXPECT_EQ(GetVendorIndex(7), 11);   // the entry at index 0 is never used
    EXPECT_EQ(GetVendorIndex(18), 14);  // an entry without a filter item
    for (int unknown : { 9, 11, 12, 13, 14, 17, 20, -1, INT_MIN, INT_MAX })
        EXPECT_EQ(GetVendorIndex(unknown), 0) << unknown;
}

TEST(VendorTable, FilterIndexToCode)
{
    EXPECT_EQ(SetIndxVend(0), 7);
    EXPECT_EQ(SetIndxVend(1), 0);
    EXPECT_EQ(SetIndxVend(11), 7);
    EXPECT_EQ(SetIndxVend(13), 8);
    EXPECT_EQ(SetIndxVend(14), 18);
    EXPECT_EQ(SetIndxVend(15), 7);
    EXPECT_EQ(SetIndxVend(1000), 7);
    EXPECT_EQ(SetIndxVend(INT_MAX), 7);
    // Negative indices never come from a dialog; they read no memory
    // outside the table and give the code of index 0.
    EXPECT_EQ(SetIndxVend(-1), 7);
    EXPECT_EQ(SetIndxVend(INT_MIN), 7);
}

TEST(VendorTable, EveryIndexRoundTrips)
{
    for (int index = 1; index <= 14; ++index)
        EXPECT_EQ(GetVendorIndex(SetIndxVend(index)), index) << index;
}

TEST(VendorTable, LabelsFollowTheFilterItems)
{
    char label[64];
    EXPECT_EQ(VendorLabel(0, label, sizeof label), 1);
    EXPECT_STREQ(label, "KEIL");
    EXPECT_EQ(VendorLabel(8, label, sizeof label), 1);
    EXPECT_STREQ(label, "Intel Hex");
    EXPECT_EQ(VendorLabel(7, label, sizeof label), 1);
    EXPECT_STREQ(label, "OMF51 Format");
    EXPECT_EQ(VendorLabel(10, label, sizeof label), 1);
    EXPECT_STREQ(label, "BSO/Tasking IEEE695");
    EXPECT_EQ(VendorLabel(18, label, sizeof label), 0);  // no item
    EXPECT_STREQ(label, "");
    EXPECT_EQ(VendorLabel(9, label, sizeof label), 0);
    EXPECT_EQ(VendorLabel(6, label, 5), 1);  // cut to the buffer
    EXPECT_STREQ(label, "Meta");
}

}  // namespace
