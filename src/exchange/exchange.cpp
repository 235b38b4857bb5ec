#include "exchange/exchange.h"

#include <string.h>

#include "exchange/file_ops.h"
#include "exchange/refusals.h"

const char ExchangePath[] = "C:\\FILE";

// The reply is written here first, beside the exchange file, and moved
// over it once complete.
static const char PendingSuffix[] = ".new";
enum { MaxPathLength = 1024 };

int ReadExchange(const char* path, int count, const ExchangeBlock* blocks)
{
    FileHandle file = OpenRequest(path);
    if (file == NoFile)
        return 0;
    int ok = 1;
    for (int i = 0; i < count && ok; ++i)
        ok = blocks[i].length >= 0 && ReadAll(file, blocks[i].address, blocks[i].length);
    // The request belongs to this run once it is opened: it goes whether or
    // not it was whole. One that stayed would be read back by the host as
    // the reply, so then the run goes no further.
    if (!ConsumeRequest(file, path))
        return 0;
    FileError = ok ? 0 : SystemEndOfFile;
    return ok;
}

static int WriteBlocks(FileHandle file, int count, const ExchangeBlock* blocks)
{
    int ok = 1;
    for (int i = 0; i < count && ok; ++i)
        ok = blocks[i].length >= 0 && WriteAll(file, blocks[i].address, blocks[i].length);
    return ok;
}

// The reply written straight to its name, where UAC virtualization refused
// the move (exchange/refusals.h). The host reads it only after this
// program has ended, so it is whole by then, unless this program is killed
// while writing.
static int WriteInPlace(const char* path, int count, const ExchangeBlock* blocks)
{
    FileHandle file = CreateInPlace(path);
    if (file == NoFile)
        return 0;
    if (WriteBlocks(file, count, blocks))
        return CommitAndClose(file);
    CloseFile(file);
    return 0;
}

// The pending reply's name beside path, into pending (MaxPathLength); 0
// when it does not fit.
static int PendingPath(const char* path, char* pending)
{
    size_t length = strlen(path);
    if (length + sizeof PendingSuffix > MaxPathLength)
        return 0;
    memcpy(pending, path, length);
    memcpy(pending + length, PendingSuffix, sizeof PendingSuffix);
    return 1;
}

int RemovePendingReply(const char* path)
{
    char pending[MaxPathLength];
    return PendingPath(path, pending) && RemoveLeftover(pending);
}

int WriteExchange(const char* path, int count, const ExchangeBlock* blocks)
{
    // The host may look at the path at any moment (or the program may be
    // ended part-way): the file appears there only complete.
    char pending[MaxPathLength];
    if (!PendingPath(path, pending))
        return 0;

    // A file left by a run that was ended part-way must not stand in the
    // way; anything else there (a folder, a link) is not ours to remove.
    if (!RemoveLeftover(pending))
        return 0;
    FileHandle file = CreateNew(pending);
    if (file == NoFile)
        return 0;
    int moveRefused = 0;
    if (!WriteBlocks(file, count, blocks) || !Commit(file)) {
        CloseFile(file);
    } else if (MoveIntoPlace(file, pending, path)) {
        return 1;
    } else {
        moveRefused = 1;
    }
    int error = FileError;
    RemoveLeftover(pending);
    if (moveRefused && NextAfterRefusedMove(error, ProcessIsVirtualized()) == WriteInPlaceInstead)
        return WriteInPlace(path, count, blocks);
    FileError = error;
    return 0;
}
