// The exchange file through which the host and the program pass requests
// and replies: a plain concatenation of fixed-size blocks at one fixed path.
// No Windows API here: the platform's side is exchange/file_ops.h.
#ifndef FILEPICK_EXCHANGE_H
#define FILEPICK_EXCHANGE_H

extern const char ExchangePath[];  // "C:\FILE"

// One buffer to fill from, or write to, the file.
struct ExchangeBlock {
    void* address;
    int length;
};

// Reads the blocks in order from the file at path, then removes the file
// (read-only or not). 1 when every block was read whole and the file is
// gone. 0 when there was no file (FileError, exchange/file_ops.h, is then
// 0), or a block could not be read whole (the file is removed all the
// same; FileError ERROR_HANDLE_EOF, 38).
// 0 with FileError set when the file could not be taken away (held by
// another program, a folder or a link): it is still at path; with
// FileError ERROR_FILE_EXISTS (80) when it was taken, but another file
// still shows at path (exchange/file_ops.h). Bytes after
// the last block are ignored. A count of 0 or less only consumes the file.
int ReadExchange(const char* path, int count, const ExchangeBlock* blocks);

// Writes the blocks in order to the file at path, replacing any file there.
// The data goes to path + ".new" first (a new file: a leftover plain file
// there is removed, a link is never written through) and is moved over path
// only once it is complete and on disk, so a file at path is never a
// partial reply. Where UAC virtualizes this program and refuses that move,
// the blocks are written to path itself instead (exchange/refusals.h). 1
// on success; otherwise 0 with FileError telling why, and
// no file is left behind by this call.
int WriteExchange(const char* path, int count, const ExchangeBlock* blocks);

// Removes a plain file left at the pending reply's name (path + ".new");
// 1 when the name is free.
int RemovePendingReply(const char* path);

#endif
