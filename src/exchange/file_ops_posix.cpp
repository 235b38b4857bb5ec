#include "exchange/file_ops.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

int FileError = 0;

static int Fail()
{
    FileError = errno;
    return 0;
}

FileHandle OpenRequest(const char* path)
{
    int fd = open(path, O_RDONLY | O_NOFOLLOW);
    if (fd < 0) {
        FileError = errno == ENOENT ? 0 : errno;
        return NoFile;
    }
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        FileError = EISDIR;
        close(fd);
        return NoFile;
    }
    return fd;
}

int ReadAll(FileHandle file, void* data, int length)
{
    char* p = (char*)data;
    while (length > 0) {
        ssize_t got = read((int)file, p, (size_t)length);
        if (got <= 0)
            return got == 0 ? 0 : Fail();
        p += got;
        length -= (int)got;
    }
    return 1;
}

int ConsumeRequest(FileHandle file, const char* path)
{
    close((int)file);
    // Unlinking frees the name at once, whoever still holds the file; the
    // file's own permission bits play no part.
    return unlink(path) == 0 || errno == ENOENT ? 1 : Fail();
}

int RemoveLeftover(const char* path)
{
    struct stat status;
    if (lstat(path, &status) != 0)
        return errno == ENOENT ? 1 : Fail();
    if (!S_ISREG(status.st_mode)) {
        FileError = S_ISDIR(status.st_mode) ? EISDIR : EEXIST;
        return 0;
    }
    return unlink(path) == 0 ? 1 : Fail();
}

FileHandle CreateNew(const char* path)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0644);
    if (fd < 0) {
        Fail();
        return NoFile;
    }
    return fd;
}

int WriteAll(FileHandle file, const void* data, int length)
{
    const char* p = (const char*)data;
    while (length > 0) {
        ssize_t put = write((int)file, p, (size_t)length);
        if (put <= 0)
            return Fail();
        p += put;
        length -= (int)put;
    }
    return 1;
}

int CommitAndClose(FileHandle file)
{
    int ok = fsync((int)file) == 0 || Fail();
    if (close((int)file) != 0)
        ok = Fail();
    return ok;
}

void CloseFile(FileHandle file) { close((int)file); }

int MoveIntoPlace(const char* from, const char* to)
{
    return rename(from, to) == 0 ? 1 : Fail();
}
