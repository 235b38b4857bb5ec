#include "exchange/file_ops.h"

#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

int AtomicReplace(const char* from, const char* to)
{
    return rename(from, to) == 0;
}

int DeleteAnyFile(const char* path)
{
    if (unlink(path) == 0 || errno == ENOENT)
        return 1;
    chmod(path, 0600);
    return unlink(path) == 0 || errno == ENOENT;
}
