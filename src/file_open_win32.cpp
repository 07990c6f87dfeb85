#include "file_open.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>

#ifdef _MSC_VER
#define fileno _fileno
#endif

open_result open_session_stream(const char *path, std::FILE **stream)
{
    // "r+b" opens for reading and writing without truncating; a read-only file, or one another
    // program holds open for writing, may still open for reading.
    open_result result = open_result::read_write;
    *stream = std::fopen(path, "r+b");
    if (*stream == nullptr) {
        result = open_result::read_only;
        *stream = std::fopen(path, "rb");
        if (*stream == nullptr)
            return open_result::failed;
    }

    struct _stat64 status {};
    if (_fstat64(fileno(*stream), &status) != 0) {
        std::fclose(*stream);
        return open_result::failed;
    }
    if ((status.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(*stream);
        return open_result::not_a_file;
    }
    return result;
}
