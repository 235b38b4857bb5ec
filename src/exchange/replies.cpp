#include "exchange/replies.h"

#include "exchange/exchange.h"
#include "exchange/layouts.h"

int ReadPathRequest(char* text)
{
    ExchangeBlock block = { text, PathBlockSize };
    if (!ReadExchange(ExchangePath, 1, &block))
        return 0;
    TerminatePathBlock(text);
    return 1;
}

int WritePathReply(const char* shortPath)
{
    ExchangeBlock block = { (void*)shortPath, PathBlockSize };
    return WriteExchange(ExchangePath, 1, &block);
}
