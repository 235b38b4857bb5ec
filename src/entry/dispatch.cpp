#include "entry/dispatch.h"

#include "debug_file/load_dialog.h"
#include "dump_module/dump_module.h"
#include "entry/command_line.h"

typedef int (*Command)();

// Indexed by Verb.
static const Command Commands[VerbCount] = {
    DoLoadDebugFile,
    DoSetDumpFile,
    DoModuleListFile,
};

int FilepickMain(const char* tail)
{
    int verb = FindVerb(tail);
    if (verb < 0)
        return 0;      // the exchange file is not touched
    Commands[verb]();  // its result shows to the host as the reply file
    return 1;
}
