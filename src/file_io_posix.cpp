#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// O_NONBLOCK keeps open from waiting for the other end of a FIFO; it changes nothing for the
// regular files that are read and written here.
constexpr int OPEN_FLAGS = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;

}  // namespace

int open_session_file(const char *path, bool for_writing)
{
    return open(path, (for_writing ? O_RDWR : O_RDONLY) | OPEN_FLAGS);
}

file_kind kind_of_file(int descriptor, unsigned long long *size)
{
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return file_kind::unknown;
    if (!S_ISREG(status.st_mode))
        return file_kind::other;
    *size = static_cast<unsigned long long>(status.st_size);
    return file_kind::regular;
}

long long read_session_file(int descriptor, unsigned char *buffer, std::size_t size)
{
    ssize_t count = 0;
    do {
        count = read(descriptor, buffer, size);
    } while (count < 0 && errno == EINTR);
    return count;
}

long long write_session_file_at(int descriptor, const unsigned char *content, std::size_t size,
                                unsigned long long offset)
{
    ssize_t count = 0;
    do {
        count = pwrite(descriptor, content, size, static_cast<off_t>(offset));
    } while (count < 0 && errno == EINTR);
    return count;
}

bool close_session_file(int descriptor)
{
    // Never retried: after any failure the descriptor is gone on Linux, and a retry could
    // close a descriptor opened since.
    return close(descriptor) == 0;
}
