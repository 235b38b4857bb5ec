// Command-line handling that needs no Windows API: the command tail and the
// verb table. Built for Windows and natively (unit tests).
#ifndef FILEPICK_COMMAND_LINE_H
#define FILEPICK_COMMAND_LINE_H

// The verbs the host starts the program with, in the order they are matched.
enum Verb { VerbLoadDebugFile, VerbSetDumpFile, VerbModuleListFile, VerbCount };

extern const char* const VerbNames[VerbCount];

// Returns the command tail of a full command line: leading blanks skipped,
// then the program name (a quoted name runs to the next double quote or tab,
// and a quote found there is skipped too; an unquoted one to the first
// blank), then the blanks after it. The rest, trailing blanks included, is
// the tail. Returns a pointer into commandLine; a null line gives null.
const char* CommandTail(const char* commandLine);

// The verb whose name equals the whole tail, byte for byte; -1 when none
// does (or the tail is null).
int FindVerb(const char* tail);

#endif
