#include "exchange/replies.h"

#include "dialog_support/file_dialog.h"
#include "exchange/file_ops.h"
#include "exchange/layouts.h"

static void Warn(const wchar_t* format)
{
    wchar_t why[512];
    SystemErrorText(FileError, why, 512);
    ShowWarning(0, format, why);
}

int ReadRequest(void* data, int length)
{
    ExchangeBlock block = { data, length };
    if (ReadExchange(ExchangePath, 1, &block))
        return 1;
    if (FileError)
        Warn(L"The debugger's request file C:\\FILE could not be taken: %ls\n\n"
             L"Another program (most likely the debugger) still holds it open, "
             L"so no file can be chosen now. The debugger must close the file "
             L"before it starts filepick.");
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
    Warn(L"The file you chose could not be passed to the debugger: its reply "
         L"file C:\\FILE could not be written.\n\n%ls");
    return 0;
}

int WritePathReply(const char* shortPath)
{
    ExchangeBlock block = { (void*)shortPath, PathBlockSize };
    return WriteReply(1, &block);
}
