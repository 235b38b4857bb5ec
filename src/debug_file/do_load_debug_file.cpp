// DoLoadDebugFile: the host gets the short path of a debug file, the two
// load options and the vendor format the user chose.
#include "debug_file/load_dialog.h"
#include "dialog_support/chosen_file.h"
#include "dialog_support/code_page.h"
#include "dialog_support/host_path.h"
#include "dialog_support/replies.h"
#include "exchange/layouts.h"

int DoLoadDebugFile()
{
    char initialDir[PathBlockSize];
    char longPath[PathBlockSize] = "";
    char shortPath[PathBlockSize] = "";
    VENDORFORMAT format = 0;  // the dialog starts on "KEIL"
    int startupSkip = 1;
    int symbolOnly = 0;
    if (!ReadPathRequest(initialDir))
        return 0;
    // The dialog gave an ANSI path that opens the file; the reply wants
    // its short form, by the same rules as the other commands. Windows'
    // dialog refuses a name that does not exist, but Wine's old-style one
    // lets it through, and a file may go between OK and here: the user is
    // told, and chooses again.
    wchar_t chosen[PathBlockSize];
    HostPathResult path;
    do {
        if (!LoadDebugFile(0, 0, &format, longPath, &startupSkip, &symbolOnly, 0, initialDir) ||
            !longPath[0])
            return 0;
        AnsiToWide(longPath, chosen, PathBlockSize);
        path = HostPathFor(PathForReply, chosen, shortPath, sizeof shortPath);
        TellWhyNotReady(0, path, chosen);
    } while (path == HostPathMissing);
    if (path != HostPathReady)
        return 0;

    unsigned char skipBytes[IntBlockSize];
    unsigned char symbolBytes[IntBlockSize];
    unsigned char formatBytes[IntBlockSize];
    FilepickPutInt(skipBytes, startupSkip);
    FilepickPutInt(symbolBytes, symbolOnly);
    FilepickPutInt(formatBytes, format);
    const ExchangeBlock reply[] = {
        { shortPath, PathBlockSize },
        { skipBytes, IntBlockSize },
        { symbolBytes, IntBlockSize },
        { formatBytes, IntBlockSize },
    };
    return WriteReply(4, reply);
}
