#include <gtest/gtest.h>

#include "exchange/same_entry.h"

namespace {

#define STORE L"\\\\?\\C:\\Users\\u\\AppData\\Local\\VirtualStore"

TEST(SameEntry, TheEntryOrItsVirtualStoreCopyOnly)
{
    const struct {
        const char* name;
        const wchar_t* store;
        const wchar_t* handle;
        int same;
    } rows[] = {
        // The host may have made the file as c:\file; Windows keeps that case.
        { "the entry itself, in another letter case", 0, L"\\\\?\\c:\\file", 1 },
        { "its VirtualStore copy", STORE, STORE L"\\FILE", 1 },
        { "a link's target inside VirtualStore", STORE, STORE L"\\target.txt", 0 },
        { "a folder whose name starts like the store's", STORE, STORE L"2\\FILE", 0 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsSameEntry(L"C:\\FILE", row.store, row.handle), row.same);
    }
}

}  // namespace
