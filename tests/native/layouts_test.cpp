#include <gtest/gtest.h>

#include <string.h>

#include <memory>

#include "exchange/layouts.h"

namespace {

TEST(PathBlock, TextWithoutNulIsCutAtTheBlocksLastByte)
{
    // Exactly the block, so AddressSanitizer sees a byte touched past it.
    std::unique_ptr<char[]> block(new char[PathBlockSize]);
    memset(block.get(), 'd', PathBlockSize);
    TerminatePathBlock(block.get());
    EXPECT_EQ(strlen(block.get()), (size_t)PathBlockSize - 1);
}

}  // namespace
