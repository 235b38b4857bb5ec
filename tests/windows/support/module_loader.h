// Loads filepick.exe into this process as a module, the way a host does.
#ifndef FILEPICK_TEST_MODULE_LOADER_H
#define FILEPICK_TEST_MODULE_LOADER_H

#include <windows.h>

// LoadLibraryA, then whatever the platform's loader left undone for an
// .exe: Wine maps it but neither applies its base relocations nor binds its
// imports (Windows does both). Each step is done only if still needed, so
// this is right on either platform. 0 on failure.
HMODULE LoadProgramAsModule(const char* path);

#endif
