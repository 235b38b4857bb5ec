#include <gtest/gtest.h>

#include "exchange/refusals.h"

namespace {

enum { SharingViolation = 32 };

TEST(Refusals, WhatTheExchangeDoesNext)
{
    // A deleted file that a scanner still holds answers "access denied":
    // its name is not free yet.
    EXPECT_TRUE(NameIsFree(SystemFileNotFound));
    EXPECT_FALSE(NameIsFree(SystemAccessDenied));
    const struct {
        const char* name;
        int moveError, virtualized, inPlace;
    } rows[] = {
        { "virtualized, the rename refused", SystemAccessDenied, 1, 1 },
        { "not virtualized: the rights are missing, and the user is told", SystemAccessDenied, 0, 0 },
        { "virtualized, but the name is held by another program", SharingViolation, 1, 0 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(WriteInPlaceAfter(row.moveError, row.virtualized), row.inPlace);
    }
}

}  // namespace
