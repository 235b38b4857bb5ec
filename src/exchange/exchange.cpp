#include "exchange/exchange.h"

#include <stdio.h>

const char ExchangePath[] = "C:\\FILE";

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
    // The request belongs to this run once it is opened: it goes whether or
    // not it was readable, so the host never mistakes it for a reply.
    fclose(file);
    remove(path);
    return ok;
}

int WriteExchange(const char* path, int count, const ExchangeBlock* blocks)
{
    FILE* file = fopen(path, "wb");
    if (!file)
        return 0;
    int ok = 1;
    for (int i = 0; i < count && ok; ++i) {
        size_t length = (size_t)blocks[i].length;
        if (blocks[i].length < 0 || fwrite(blocks[i].address, 1, length, file) != length)
            ok = 0;
    }
    // Buffered data reaches the file only when it is closed: a failing
    // close means the reply is incomplete, so it must not be left behind.
    if (fclose(file) != 0)
        ok = 0;
    if (!ok)
        remove(path);
    return ok;
}
