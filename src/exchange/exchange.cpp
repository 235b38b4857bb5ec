#include "exchange/exchange.h"

#include <stdio.h>
#include <string.h>

#include "exchange/file_ops.h"

const char ExchangePath[] = "C:\\FILE";

// The reply is written here first, beside the exchange file, and moved
// over it once complete.
static const char PendingSuffix[] = ".new";
enum { MaxPathLength = 1024 };

int ReadExchange(const char* path, int count, const ExchangeBlock* blocks)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return 0;
    int ok = 1;
    for (int i = 0; i < count && ok; ++i) {
        size_t length = (size_t)blocks[i].length;
        if (blocks[i].length < 0 || fread(blocks[i].address, 1, length, file) != length)
            ok = 0;
    }
    fclose(file);
    // The request belongs to this run once it is opened: it goes whether or
    // not it was readable, read-only or not. One that cannot be deleted
    // would be read back by the host as the reply, so the run goes no
    // further and writes nothing.
    if (!DeleteAnyFile(path))
        return 0;
    return ok;
}

static int WriteBlocks(FILE* file, int count, const ExchangeBlock* blocks)
{
    for (int i = 0; i < count; ++i) {
        size_t length = (size_t)blocks[i].length;
        if (blocks[i].length < 0 || fwrite(blocks[i].address, 1, length, file) != length)
            return 0;
    }
    return 1;
}

int WriteExchange(const char* path, int count, const ExchangeBlock* blocks)
{
    // The host may look at the path at any moment (or the program may be
    // ended part-way): the file appears there only complete.
    char pending[MaxPathLength];
    size_t length = strlen(path);
    if (length + sizeof PendingSuffix > sizeof pending)
        return 0;
    memcpy(pending, path, length);
    memcpy(pending + length, PendingSuffix, sizeof PendingSuffix);

    FILE* file = fopen(pending, "wb");
    if (!file)
        return 0;
    int ok = WriteBlocks(file, count, blocks);
    // Buffered data reaches the file only when it is closed: a failing
    // close means the reply is incomplete.
    if (fclose(file) != 0)
        ok = 0;
    if (ok && AtomicReplace(pending, path))
        return 1;
    remove(pending);
    return 0;
}
