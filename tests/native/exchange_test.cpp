#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "exchange/exchange.h"
#include "exchange/layouts.h"

namespace {

class ExchangeFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/filepick-exchange-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        path_ = dir_ + "/FILE";
    }
    void TearDown() override
    {
        unlink(path_.c_str());
        rmdir(dir_.c_str());
    }
    void Put(const std::string& bytes)
    {
        FILE* f = fopen(path_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        ASSERT_EQ(fclose(f), 0);
    }
    bool Exists() const { return access(path_.c_str(), F_OK) == 0; }
    std::string Get() const
    {
        std::string bytes;
        FILE* f = fopen(path_.c_str(), "rb");
        if (!f)
            return "<missing>";
        int c;
        while ((c = fgetc(f)) != EOF)
            bytes.push_back((char)c);
        fclose(f);
        return bytes;
    }

    std::string dir_;
    std::string path_;
};

TEST_F(ExchangeFile, ReadOfMissingFileFailsAndCreatesNothing)
{
    char block[PathBlockSize];
    ExchangeBlock blocks[] = { { block, PathBlockSize } };
    EXPECT_EQ(ReadExchange(path_.c_str(), 1, blocks), 0);
    EXPECT_FALSE(Exists());
}

TEST_F(ExchangeFile, ExactRequestIsReadAndConsumed)
{
    std::string request(PathBlockSize, '\0');
    request.replace(0, 6, "C:\\src");
    Put(request);
    char block[PathBlockSize];
    memset(block, 'X', sizeof block);
    ExchangeBlock blocks[] = { { block, PathBlockSize } };
    EXPECT_EQ(ReadExchange(path_.c_str(), 1, blocks), 1);
    EXPECT_EQ(std::string(block, PathBlockSize), request);
    EXPECT_FALSE(Exists());
}

TEST_F(ExchangeFile, ShortRequestFailsButIsConsumed)
{
    Put(std::string(PathBlockSize - 1, 'a'));
    char block[PathBlockSize];
    ExchangeBlock blocks[] = { { block, PathBlockSize } };
    EXPECT_EQ(ReadExchange(path_.c_str(), 1, blocks), 0);
    EXPECT_FALSE(Exists());

    Put("");
    EXPECT_EQ(ReadExchange(path_.c_str(), 1, blocks), 0);
    EXPECT_FALSE(Exists());
}

TEST_F(ExchangeFile, EveryRequestLengthUpToTheBlockIsConsumed)
{
    // Only a whole block reads; every shorter request is consumed anyway.
    for (int length = 0; length <= PathBlockSize; ++length) {
        Put(std::string(length, 'p'));
        char block[PathBlockSize];
        ExchangeBlock blocks[] = { { block, PathBlockSize } };
        EXPECT_EQ(ReadExchange(path_.c_str(), 1, blocks), length == PathBlockSize)
            << length;
        ASSERT_FALSE(Exists()) << length;
    }
}

TEST_F(ExchangeFile, BytesAfterTheLastBlockAreIgnored)
{
    Put(std::string("\x05\x00\x00\x00trailing", 12));
    unsigned char mode[IntBlockSize];
    ExchangeBlock blocks[] = { { mode, IntBlockSize } };
    EXPECT_EQ(ReadExchange(path_.c_str(), 1, blocks), 1);
    EXPECT_EQ(LoadLe32(mode), 5);
    EXPECT_FALSE(Exists());
}

TEST_F(ExchangeFile, BlocksAreFilledInFileOrder)
{
    Put(std::string("\x01\x00\x00\x00\xfe\xff\xff\xff", 8));
    unsigned char first[4], second[4];
    ExchangeBlock blocks[] = { { first, 4 }, { second, 4 } };
    EXPECT_EQ(ReadExchange(path_.c_str(), 2, blocks), 1);
    EXPECT_EQ(LoadLe32(first), 1);
    EXPECT_EQ(LoadLe32(second), -2);
}

TEST_F(ExchangeFile, ZeroOrNegativeCountOnlyConsumes)
{
    Put("anything");
    EXPECT_EQ(ReadExchange(path_.c_str(), 0, nullptr), 1);
    EXPECT_FALSE(Exists());
    Put("anything");
    EXPECT_EQ(ReadExchange(path_.c_str(), -3, nullptr), 1);
    EXPECT_FALSE(Exists());
}

TEST_F(ExchangeFile, NegativeBlockLengthIsAFailureNotAHugeRead)
{
    Put(std::string(16, 'a'));
    char block[4];
    ExchangeBlock blocks[] = { { block, -1 } };
    EXPECT_EQ(ReadExchange(path_.c_str(), 1, blocks), 0);
    EXPECT_FALSE(Exists());
    EXPECT_EQ(WriteExchange(path_.c_str(), 1, blocks), 0);
    EXPECT_FALSE(Exists());
}

TEST_F(ExchangeFile, LoadReplyLayout)
{
    char shortPath[PathBlockSize] = "C:\\DEMO\\BLINKY~1.HEX";
    unsigned char skip[4], symbol[4], format[4];
    StoreLe32(skip, 1);
    StoreLe32(symbol, 0);
    StoreLe32(format, 0x01020308);
    ExchangeBlock reply[] = {
        { shortPath, PathBlockSize }, { skip, 4 }, { symbol, 4 }, { format, 4 }
    };
    ASSERT_EQ(WriteExchange(path_.c_str(), 4, reply), 1);
    std::string bytes = Get();
    ASSERT_EQ(bytes.size(), (size_t)LoadReplySize);
    EXPECT_EQ(std::string(bytes.c_str()), "C:\\DEMO\\BLINKY~1.HEX");
    EXPECT_EQ(bytes.substr(LoadReplyStartupSkipOffset, 4), std::string("\1\0\0\0", 4));
    EXPECT_EQ(bytes.substr(LoadReplySymbolOnlyOffset, 4), std::string("\0\0\0\0", 4));
    EXPECT_EQ(bytes.substr(LoadReplyFormatOffset, 4), std::string("\x08\x03\x02\x01", 4));
}

TEST_F(ExchangeFile, WriteTruncatesAnOldFile)
{
    Put(std::string(1000, 'z'));
    char path[PathBlockSize] = "C:\\X";
    ExchangeBlock reply[] = { { path, PathBlockSize } };
    ASSERT_EQ(WriteExchange(path_.c_str(), 1, reply), 1);
    EXPECT_EQ(Get(), std::string("C:\\X") + std::string(PathBlockSize - 4, '\0'));
}

TEST_F(ExchangeFile, ZeroCountWritesAnEmptyFile)
{
    EXPECT_EQ(WriteExchange(path_.c_str(), 0, nullptr), 1);
    EXPECT_EQ(Get(), "");
}

TEST_F(ExchangeFile, WriteIntoMissingDirectoryFails)
{
    std::string path = dir_ + "/no-such-dir/FILE";
    char block[4] = {};
    ExchangeBlock reply[] = { { block, 4 } };
    EXPECT_EQ(WriteExchange(path.c_str(), 1, reply), 0);
}

// Limits how large a file this process may write, so that writes fail with
// EFBIG as on a full volume; restored when it goes out of scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_;
    void (*oldHandler_)(int);
};

TEST_F(ExchangeFile, WriteFailingOnTheSecondBlockLeavesNoFile)
{
    std::vector<char> first(PathBlockSize, 'a');
    std::vector<char> second(64 * 1024, 'b');  // past the stream's buffer
    ExchangeBlock reply[] = { { first.data(), (int)first.size() },
                              { second.data(), (int)second.size() } };
    int result;
    {
        FileSizeLimit limit(PathBlockSize + 10);
        result = WriteExchange(path_.c_str(), 2, reply);
    }
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(Exists());
}

TEST_F(ExchangeFile, ReplyThatFailsOnlyWhenClosedIsNotWritten)
{
    // 300 bytes fit the stream's buffer, so every fwrite succeeds and the
    // data meets the limit only when fclose flushes it.
    char path[PathBlockSize] = "C:\\DEMO\\X.LST";
    ExchangeBlock reply[] = { { path, PathBlockSize } };
    int result;
    {
        FileSizeLimit limit(100);
        result = WriteExchange(path_.c_str(), 1, reply);
    }
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(Exists());
}

TEST_F(ExchangeFile, ReplyIsCompleteOrAbsentNeverPartial)
{
    // A failed write leaves neither the reply nor its pending copy; a
    // successful one leaves only the reply.
    char path[PathBlockSize] = "C:\\DEMO\\X.LST";
    ExchangeBlock reply[] = { { path, PathBlockSize } };
    std::string pending = path_ + ".new";
    {
        FileSizeLimit limit(100);
        EXPECT_EQ(WriteExchange(path_.c_str(), 1, reply), 0);
    }
    EXPECT_FALSE(Exists());
    EXPECT_NE(access(pending.c_str(), F_OK), 0);
    ASSERT_EQ(WriteExchange(path_.c_str(), 1, reply), 1);
    EXPECT_EQ(Get().size(), (size_t)PathBlockSize);
    EXPECT_NE(access(pending.c_str(), F_OK), 0);
}

TEST_F(ExchangeFile, ReplyOverADirectoryFailsCleanly)
{
    ASSERT_EQ(mkdir(path_.c_str(), 0700), 0);
    char path[PathBlockSize] = "C:\\X";
    ExchangeBlock reply[] = { { path, PathBlockSize } };
    EXPECT_EQ(WriteExchange(path_.c_str(), 1, reply), 0);
    EXPECT_NE(access((path_ + ".new").c_str(), F_OK), 0);
    rmdir(path_.c_str());
}

TEST(ExchangeRequest, RequestThatCannotBeDeletedIsNotARequest)
{
    // Readable but not deletable: the host would read it back as a reply,
    // so the run must not go on to show a dialog.
    char block[8];
    ExchangeBlock blocks[] = { { block, (int)sizeof block } };
    EXPECT_EQ(ReadExchange("/proc/version", 1, blocks), 0);
    EXPECT_EQ(access("/proc/version", F_OK), 0);
}

TEST(PathBlock, TextWithoutNulIsCutAtTheBlocksLastByte)
{
    char block[PathBlockSize + 8];
    memset(block, 'd', sizeof block);
    TerminatePathBlock(block);
    EXPECT_EQ(strlen(block), (size_t)PathBlockSize - 1);
    EXPECT_EQ(block[PathBlockSize], 'd');  // nothing past the block touched
}

TEST(IntegerBlock, LittleEndianWhateverTheMachine)
{
    unsigned char bytes[4];
    StoreLe32(bytes, -2);
    EXPECT_EQ(std::string((char*)bytes, 4), std::string("\xfe\xff\xff\xff", 4));
    StoreLe32(bytes, 0x12345678);
    EXPECT_EQ(std::string((char*)bytes, 4), std::string("\x78\x56\x34\x12", 4));
    EXPECT_EQ(LoadLe32(bytes), 0x12345678);
    StoreLe32(bytes, INT32_MIN);
    EXPECT_EQ(LoadLe32(bytes), INT32_MIN);
}

}  // namespace
