// The replies the commands write to the exchange file.
#ifndef FILEPICK_REPLIES_H
#define FILEPICK_REPLIES_H

// Reads a 300-byte path request (an initial directory) into text, which
// holds at least 300 bytes; the text is ended within the block. 1 on
// success, 0 when there was no whole request (the file is consumed anyway).
int ReadPathRequest(char* text);

// Writes a reply that is one 300-byte path block, from a 300-byte buffer.
int WritePathReply(const char* shortPath);

#endif
