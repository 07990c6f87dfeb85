#include "file_io.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <climits>
#include <cstdio>

int open_session_file(const char *path, bool for_writing)
{
    return _open(path, (for_writing ? _O_RDWR : _O_RDONLY) | _O_BINARY);
}

file_kind kind_of_file(int descriptor, unsigned long long *size)
{
    struct _stat64 status {};
    if (_fstat64(descriptor, &status) != 0)
        return file_kind::unknown;
    if ((status.st_mode & _S_IFMT) != _S_IFREG)
        return file_kind::other;
    *size = static_cast<unsigned long long>(status.st_size);
    return file_kind::regular;
}

long long read_session_file(int descriptor, unsigned char *buffer, std::size_t size)
{
    const unsigned request = size > INT_MAX ? INT_MAX : static_cast<unsigned>(size);
    return _read(descriptor, buffer, request);
}

long long write_session_file_at(int descriptor, const unsigned char *content, std::size_t size,
                                unsigned long long offset)
{
    if (_lseeki64(descriptor, static_cast<long long>(offset), SEEK_SET) < 0)
        return -1;
    const unsigned request = size > INT_MAX ? INT_MAX : static_cast<unsigned>(size);
    return _write(descriptor, content, request);
}

bool close_session_file(int descriptor)
{
    return _close(descriptor) == 0;
}
