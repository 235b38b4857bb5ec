#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialog_support/filter.h"

namespace {

TEST(PrepareFilter, Table)
{
    // The list, up to and including the second NUL that ends it.
    const struct {
        const char* source;
        int workSize;
        std::string list;
    } rows[] = {
        // The separator is the text's last character, whatever it is.
        { "Text,*.txt,All,*.*,", 64, { "Text\0*.txt\0All\0*.*\0\0", 20 } },
        // Cut to the buffer (exactly its size, under AddressSanitizer), with
        // room for both NULs.
        { "abcdefghij|", 8, { "abcdef\0\0", 8 } },
    };
    for (const auto& row : rows) {
        std::unique_ptr<char[]> work(new char[row.workSize]);
        PrepareFilter(row.source, work.get(), row.workSize);
        EXPECT_EQ(std::string(work.get(), row.list.size()), row.list) << row.source;
    }
}

}  // namespace
