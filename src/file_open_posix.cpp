#include "file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// O_NONBLOCK keeps open from waiting for the other end of a FIFO; it changes nothing for the
// regular files that are read and written here.
constexpr int OPEN_FLAGS = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;

}  // namespace

open_result open_session_stream(const char *path, std::FILE **stream)
{
    // One descriptor for the read and the write, so the file that is written back is the one
    // that was read, even if its name is given to another file in between.
    open_result result = open_result::read_write;
    int descriptor = open(path, O_RDWR | OPEN_FLAGS);
    if (descriptor < 0) {
        result = open_result::read_only;
        descriptor = open(path, O_RDONLY | OPEN_FLAGS);
        if (descriptor < 0)
            return open_result::failed;
    }

    // The search saw a regular file, but the name may have been given to something else since.
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        close(descriptor);
        return open_result::failed;
    }
    if (!S_ISREG(status.st_mode)) {
        close(descriptor);
        return open_result::not_a_file;
    }

    *stream = fdopen(descriptor, result == open_result::read_write ? "r+b" : "rb");
    if (*stream == nullptr) {
        close(descriptor);
        return open_result::failed;
    }
    return result;
}
