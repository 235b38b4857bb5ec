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

// What a host reads back from C:\FILE, told apart by the verb and by the
// request it wrote.
TEST(ReplyDecode, TheRequestNotTakenIsNoReply)
{
    unsigned char folder[FILEPICK_DIRECTORY_REQUEST_SIZE], dump[FILEPICK_DUMP_REQUEST_SIZE];
    FilepickDirectoryRequest(folder, "C:\\proj");
    FilepickDumpRequest(dump, FILEPICK_DUMP_LOG);
    unsigned char reply[FILEPICK_LOAD_REPLY_SIZE] = "C:\\PROJ\\MAIN.C";
    FilepickPutInt(reply + FILEPICK_LOAD_REPLY_FORMAT, FILEPICK_FORMAT_INTEL_HEX);
    const struct {
        const char* name;
        const char* verb;
        const unsigned char* bytes;
        int size;
        const unsigned char* request;
        int requestSize, result, format;
    } rows[] = {
        { "a module list's request left in place", FILEPICK_VERB_MODULE_LIST_FILE, folder, 300,
          folder, 300, FILEPICK_REPLY_REQUEST_NOT_TAKEN, -1 },
        { "a module list's reply", FILEPICK_VERB_MODULE_LIST_FILE, reply, 300, folder, 300,
          FILEPICK_REPLY_DECODED, -1 },
        { "a debug file's reply with its words", FILEPICK_VERB_LOAD_DEBUG_FILE, reply, 312, folder,
          300, FILEPICK_REPLY_DECODED, FILEPICK_FORMAT_INTEL_HEX },
        { "a path reply is no debug file's reply", FILEPICK_VERB_LOAD_DEBUG_FILE, reply, 300,
          folder, 300, FILEPICK_REPLY_WRONG_SIZE, -1 },
        { "a dump request left in place", FILEPICK_VERB_SET_DUMP_FILE, dump, 4, dump, 4,
          FILEPICK_REPLY_REQUEST_NOT_TAKEN, -1 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FilepickReply decoded = {};
        decoded.format = -1;
        EXPECT_EQ(FilepickDecodeReplyFor(row.verb, row.bytes, row.size, row.request,
                                         row.requestSize, &decoded),
                  row.result);
        EXPECT_EQ(decoded.format, row.format);
    }
}

}  // namespace
