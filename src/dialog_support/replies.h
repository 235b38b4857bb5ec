// The commands' side of the exchange file: reading the request and writing
// the reply, and telling the user when either fails in a way the host
// cannot see.
#ifndef FILEPICK_REPLIES_H
#define FILEPICK_REPLIES_H

#include "exchange/exchange.h"

// Reads a request of length bytes into data. 1 on success; 0 when there
// was no whole request (it is consumed anyway), or when it could not be
// taken away: then the user is told, since the host would read its own
// request back as the reply.
int ReadRequest(void* data, int length);

// Reads a 300-byte path request (an initial directory) into text, which
// holds at least 300 bytes; the text is ended within the block.
int ReadPathRequest(char* text);

// Writes the reply blocks. 1 on success; on failure the user is told that
// the chosen file could not be passed on, and why.
int WriteReply(int count, const ExchangeBlock* blocks);

// A reply that is one 300-byte path block, from a 300-byte buffer.
int WritePathReply(const char* shortPath);

// Where Windows refuses the exchange file outright, the likely cause is
// the rights on C:\, which the user can change: what to do, after two line
// breaks.
extern const wchar_t RightsAdvice[];

#endif
