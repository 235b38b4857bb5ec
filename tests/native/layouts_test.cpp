#include <gtest/gtest.h>

#include <signal.h>
#include <stdio.h>
#include <sys/resource.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "exchange/exchange.h"
#include "exchange/file_ops.h"
#include "exchange/layouts.h"

namespace {

const std::string Path = "/tmp/filepick-exchange-" + std::to_string(getpid());

void Put(const std::string& bytes)
{
    FILE* file = fopen(Path.c_str(), "wb");
    ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    ASSERT_EQ(fclose(file), 0);
}

std::string Get(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return "<missing>";
    std::string bytes;
    for (int c; (c = fgetc(file)) != EOF;)
        bytes.push_back((char)c);
    fclose(file);
    return bytes;
}

TEST(ExchangeFile, RequestsAreReadWholeAndAlwaysConsumed)
{
    char block[PathBlockSize];
    ExchangeBlock request = { block, PathBlockSize };
    remove(Path.c_str());
    EXPECT_EQ(ReadExchange(Path.c_str(), 1, &request), 0) << "no request";
    EXPECT_EQ(FileError, 0) << "no request is no error";
    for (int length : { 0, 1, 299, 300, 301, 4096 }) {
        Put(std::string(length, 'p'));
        EXPECT_EQ(ReadExchange(Path.c_str(), 1, &request), length >= PathBlockSize) << length;
        EXPECT_EQ(Get(Path), "<missing>") << length;
    }
}

TEST(ExchangeFile, RepliesAreWholeOrAbsent)
{
    char path[PathBlockSize] = "C:\\DEMO\\BLINKY~1.HEX";
    unsigned char words[3][4];
    StoreLe32(words[0], 1);
    StoreLe32(words[1], -2);
    StoreLe32(words[2], 0x01020308);
    ExchangeBlock reply[] = { { path, PathBlockSize }, { words[0], 4 }, { words[1], 4 }, { words[2], 4 } };
    Put(std::string(1000, 'z'));  // an old reply goes
    ASSERT_EQ(WriteExchange(Path.c_str(), 4, reply), 1);
    const std::string written = std::string(path, PathBlockSize) +
                                std::string("\1\0\0\0\xfe\xff\xff\xff\x08\x03\x02\x01", 12);
    EXPECT_EQ(Get(Path), written);
    // Data that fails to reach the file (as on a full disk) leaves no
    // pending copy and the file at the path as it was, and says why.
    struct rlimit saved, limit;
    getrlimit(RLIMIT_FSIZE, &saved);
    limit = saved;
    limit.rlim_cur = 100;
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    int result = WriteExchange(Path.c_str(), 4, reply);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(result, 0);
    EXPECT_NE(FileError, 0);
    EXPECT_EQ(Get(Path), written);
    EXPECT_EQ(Get(Path + ".new"), "<missing>");
    remove(Path.c_str());
}

TEST(PathBlock, TextWithoutNulIsCutAtTheBlocksLastByte)
{
    // Exactly the block, so AddressSanitizer sees a byte touched past it.
    std::unique_ptr<char[]> block(new char[PathBlockSize]);
    memset(block.get(), 'd', PathBlockSize);
    TerminatePathBlock(block.get());
    EXPECT_EQ(strlen(block.get()), (size_t)PathBlockSize - 1);
}

}  // namespace
