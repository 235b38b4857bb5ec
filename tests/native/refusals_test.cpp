#include <gtest/gtest.h>

#include "exchange/refusals.h"

namespace {

TEST(Refusals, WhatTheExchangeDoesNext)
{
    // A deleted file that a scanner still holds answers "access denied":
    // its name is not free yet.
    EXPECT_TRUE(NameIsFree(SystemFileNotFound));
    EXPECT_FALSE(NameIsFree(SystemAccessDenied));
    const struct {
        const char* name;
        int error, virtualized;
        AfterRefusedMove next;
    } rows[] = {
        { "virtualized, the rename refused: in place at once, not after a second of retries",
          SystemAccessDenied, 1, WriteInPlaceInstead },
        { "virtualized, the VirtualStore on another volume", SystemNotSameDevice, 1,
          WriteInPlaceInstead },
        { "not virtualized: access denied may be a brief lock, then the rights are missing",
          SystemAccessDenied, 0, MoveAgain },
        { "virtualized, but the name is held by another program", SystemSharingViolation, 1,
          MoveAgain },
        { "not virtualized, another volume: told to the user", SystemNotSameDevice, 0, MoveFailed },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(NextAfterRefusedMove(row.error, row.virtualized), row.next);
    }
}

}  // namespace
