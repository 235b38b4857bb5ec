#include <gtest/gtest.h>

#include <string>

#include "dialog_support/filter.h"

namespace {

// A literal's bytes, embedded NULs included.
template <size_t N>
std::string Bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

// The prepared list up to and including its terminator.
std::string Prepared(const char* source, int workSize = 256)
{
    std::string work(workSize, 'X');
    int length = PrepareFilter(source, &work[0], workSize);
    return std::string(work.data(), length + 1);
}

TEST(PrepareFilter, OneItemEndsInTwoNuls)
{
    EXPECT_EQ(Prepared("A|*.a|"), Bytes("A\0*.a\0\0"));
}

TEST(PrepareFilter, SeparatorIsTheLastCharacter)
{
    EXPECT_EQ(Prepared("Text,*.txt,All,*.*,"),
              Bytes("Text\0*.txt\0All\0*.*\0\0"));
    // A vertical bar is an ordinary character when another one separates.
    EXPECT_EQ(Prepared("a|b;*.x;"), Bytes("a|b\0*.x\0\0"));
}

TEST(PrepareFilter, ModuleListFilterGivesThreeItems)
{
    EXPECT_EQ(Prepared("C file (*.c)|*.C|List file (*.lst)|*.LST|All Files (*.*)|*.*|"),
              Bytes("C file (*.c)\0*.C\0List file (*.lst)\0*.LST\0"
                          "All Files (*.*)\0*.*\0\0"));
}

TEST(PrepareFilter, NeverWritesPastTheWorkBuffer)
{
    // 8 bytes of room: 6 characters, then the two NULs.
    std::string work(10, 'X');
    EXPECT_EQ(PrepareFilter("abcdefghij|", &work[0], 8), 6);
    EXPECT_EQ(work, Bytes("abcdef\0\0XX"));
}

TEST(PrepareFilter, EmptySourceGivesAnEmptyList)
{
    EXPECT_EQ(Prepared(""), Bytes("\0"));
    std::string work(4, 'X');
    PrepareFilter("", &work[0], 4);
    EXPECT_EQ(work, Bytes("\0\0XX"));
}

}  // namespace
