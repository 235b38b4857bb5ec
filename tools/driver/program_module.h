// Loads filepick.exe into this process as a module, the way a host that
// calls its exported dialog does (filepick-host --module).
#ifndef FILEPICK_PROGRAM_MODULE_H
#define FILEPICK_PROGRAM_MODULE_H

#include <windows.h>

// LoadLibraryW, then whatever the platform's loader left undone for an
// .exe: Wine maps it but neither applies its base relocations nor binds its
// imports (Windows does both). Each step is done only if still needed, so
// this is right on either platform. 0 on failure.
HMODULE LoadProgramAsModule(const wchar_t* path);

#endif
