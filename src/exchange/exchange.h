// The exchange file through which the host and the program pass requests
// and replies: a plain concatenation of fixed-size blocks at one fixed path.
// No Windows API here: the platform's side is exchange/file_ops.h.
#ifndef FILEPICK_EXCHANGE_H
#define FILEPICK_EXCHANGE_H

extern const char ExchangePath[];  // FILEPICK_EXCHANGE_PATH (filepick.h)

// One buffer to fill from, or write to, the file.
struct ExchangeBlock {
    void* address;
    int length;
};

// What became of the request: ReadExchange's answer.
enum RequestResult {
    RequestTaken,     // every block read whole, and the file is gone
    RequestAbsent,    // there was no file at the path
    RequestShort,     // a block could not be read whole; the file is gone all the same
    RequestHeld,      // not taken away (held by another program, a folder, a link):
                      // it is still at the path; FileError (exchange/file_ops.h) says why
    RequestShadowed,  // taken, but another file still shows at the path: under UAC
                      // virtualization, a real one behind this user's copy
};

// Reads the blocks in order from the file at path, then removes the file
// (read-only or not). Bytes after the last block are ignored; a count of 0
// or less only consumes the file.
RequestResult ReadExchange(const char* path, int count, const ExchangeBlock* blocks);

// Writes the blocks in order to the file at path, replacing any file there.
// The data goes to path + ".new" first (a new file: a leftover plain file
// there is removed, a link is never written through) and is moved over path
// only once it is complete and on disk, so a file at path is never a
// partial reply. Where UAC virtualizes this program and refuses that move,
// the blocks are written to path itself instead (exchange/refusals.h). 1
// on success; otherwise 0, FileError says why, and no file is left behind
// by this call.
int WriteExchange(const char* path, int count, const ExchangeBlock* blocks);

// Removes a plain file left at the pending reply's name (path + ".new");
// 1 when the name is free.
int RemovePendingReply(const char* path);

#endif
