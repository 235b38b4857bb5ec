#include "dialog_support/replies.h"

#include "dialog_support/warning.h"
#include "exchange/file_ops.h"
#include "exchange/layouts.h"

const wchar_t RightsAdvice[] =
    L"\n\nOn Windows, the debugger and filepick need the right to create files in C:\\. "
    L"Best, give users that right on C:\\ (an administrator can, in the folder's "
    L"Security properties). Otherwise run the debugger as administrator; but an elevated "
    L"debugger does not see the drive letters that were mapped without elevation.";

// Tells the user why the exchange file failed: format takes the system's
// reason, then what to do (otherwise, or the advice on rights where access
// was denied).
static void Tell(const wchar_t* format, const wchar_t* otherwise)
{
    wchar_t why[ReasonCapacity];
    SystemErrorText(FileError, why, ReasonCapacity);
    ShowWarning(0, format, why, FileError == ERROR_ACCESS_DENIED ? RightsAdvice : otherwise);
}

int ReadRequest(void* data, int length)
{
    ExchangeBlock block = { data, length };
    switch (ReadExchange(ExchangePath, 1, &block)) {
    case RequestTaken:
        return 1;
    case RequestShadowed:
        ShowWarning(0, L"%ls",
                    L"The debugger's request was taken, but another file is still at its "
                    L"name:\n\nC:\\FILE\n\nIt is an older one that this account cannot remove, "
                    L"most likely left by a run as administrator or by another user: Windows "
                    L"showed this user's own copy in front of it.\n\nAn administrator must delete "
                    L"C:\\FILE. Until then the debugger would read that old file as every answer, "
                    L"so no file can be chosen now.");
        break;
    case RequestShort:
        ShowWarning(0, L"%ls",
                    L"The debugger's request file C:\\FILE was shorter than this command's "
                    L"request, so no file can be chosen now; it was removed.\n\nThe debugger "
                    L"and this filepick may be of different versions, or another program "
                    L"wrote the file.");
        break;
    case RequestAbsent:
        ShowWarning(0, L"%ls",
                    L"filepick was started without a request from the debugger: C:\\FILE "
                    L"does not exist, so no file can be chosen now.\n\nThe debugger writes "
                    L"C:\\FILE before it starts filepick. If another picker was started at "
                    L"the same time, it took the request: choose again from the debugger.");
        break;
    case RequestHeld:
        Tell(L"The debugger's request file C:\\FILE could not be taken: %ls%ls",
             L"\n\nAnother program (most likely the debugger) still holds it open, so no file "
             L"can be chosen now. The debugger must close the file before it starts filepick.");
        break;
    }
    return 0;
}

int ReadPathRequest(char* text)
{
    if (!ReadRequest(text, PathBlockSize))
        return 0;
    TerminatePathBlock(text);
    return 1;
}

int WriteReply(int count, const ExchangeBlock* blocks)
{
    if (WriteExchange(ExchangePath, count, blocks))
        return 1;
    Tell(L"The file you chose could not be passed to the debugger: its reply file C:\\FILE "
         L"could not be written.\n\n%ls%ls",
         L"");
    return 0;
}

int WritePathReply(const char* shortPath)
{
    ExchangeBlock block = { (void*)shortPath, PathBlockSize };
    return WriteReply(1, &block);
}
