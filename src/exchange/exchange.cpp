#include "exchange/exchange.h"

#include <string.h>

#include "exchange/file_ops.h"
#include "exchange/refusals.h"
#include "filepick.h"

const char ExchangePath[] = FILEPICK_EXCHANGE_PATH;

// The reply is written here first, beside the exchange file, and moved
// over it once complete.
static const char PendingSuffix[] = ".new";
enum { MaxPathLength = 1024 };

RequestResult ReadExchange(const char* path, int count, const ExchangeBlock* blocks)
{
    FileHandle file;
    RequestResult opened = OpenRequest(path, &file);
    if (opened != RequestTaken)
        return opened;
    int whole = 1;
    for (int i = 0; i < count && whole; ++i)
        whole = blocks[i].length >= 0 && ReadAll(file, blocks[i].address, blocks[i].length);
    // The request belongs to this run once it is opened: it goes whether or
    // not it was whole. One that stayed would be read back by the host as
    // the reply, so then the run goes no further.
    RequestResult consumed = ConsumeRequest(file, path);
    if (consumed != RequestTaken)
        return consumed;
    return whole ? RequestTaken : RequestShort;
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
    OwnedFile file(CreateInPlace(path));
    return file.file != NoFile && WriteBlocks(file.file, count, blocks) &&
           CommitAndClose(file.Release());
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

// How far the reply got on its way through the pending file.
enum PendingResult {
    PendingNotCreated,  // nothing was created
    PendingNotWritten,  // created, but not all written or not on disk
    PendingNotMoved,    // complete, but the move onto the exchange file failed
    PendingMoved,       // the reply is in place
};

// Writes the blocks to a new file at pending and moves it over path.
static PendingResult WriteAndMove(const char* pending, const char* path, int count,
                                  const ExchangeBlock* blocks)
{
    OwnedFile file(CreateNew(pending));
    if (file.file == NoFile)
        return PendingNotCreated;
    if (!WriteBlocks(file.file, count, blocks) || !Commit(file.file))
        return PendingNotWritten;
    return MoveIntoPlace(file.Release(), pending, path) ? PendingMoved : PendingNotMoved;
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
    PendingResult result = WriteAndMove(pending, path, count, blocks);
    if (result == PendingMoved)
        return 1;
    if (result == PendingNotCreated)
        return 0;
    // The pending file goes; the reason told stays the one that stopped
    // the reply.
    int error = FileError;
    RemoveLeftover(pending);
    if (result == PendingNotMoved &&
        NextAfterRefusedMove(error, ProcessIsVirtualized()) == WriteInPlaceInstead)
        return WriteInPlace(path, count, blocks);
    FileError = error;
    return 0;
}
