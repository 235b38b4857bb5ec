// The programs beside this one as files: filepick.exe loaded into this
// process as a module, the way a host that calls its exported dialog does
// (filepick-host --module), and the version a program carries.
#ifndef FILEPICK_PROGRAM_MODULE_H
#define FILEPICK_PROGRAM_MODULE_H

#include <windows.h>

// LoadLibraryW, then whatever the platform's loader left undone for an
// .exe: Wine maps it but neither applies its base relocations nor binds its
// imports (Windows does both). Each step is done only if still needed, so
// this is right on either platform. 0 on failure.
HMODULE LoadProgramAsModule(const wchar_t* path);

// The product version in the version resource of the program name beside
// this one (filepick.exe, say), or "(none found)".
void ProgramVersion(const wchar_t* name, wchar_t* version, int capacity);

#endif
