#include "exchange/file_ops.h"

#include <windows.h>

int AtomicReplace(const char* from, const char* to)
{
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}

int DeleteAnyFile(const char* path)
{
    if (DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND)
        return 1;
    // A read-only request still belongs to this run: take the attribute off.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    return DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND;
}
