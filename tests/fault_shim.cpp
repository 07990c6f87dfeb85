// Preloaded into the program under test: makes one stream operation fail for one file.
//
//   SETWIN_FAULT_OPERATION  read, write or close
//   SETWIN_FAULT_FILE       the bare name of the file whose stream fails
//
// read and write fail for real: the stream's descriptor is swapped for one that refuses the
// operation (a directory cannot be read, a read-only descriptor cannot be written), so the C
// library meets a failing system call. close closes the file and then reports EIO, as a network
// file system may do when it writes back at close.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

template <typename Function>
Function next_definition(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool is_target(const char *operation, std::FILE *stream)
{
    const char *chosen_operation = std::getenv("SETWIN_FAULT_OPERATION");
    const char *chosen_file = std::getenv("SETWIN_FAULT_FILE");
    if (chosen_operation == nullptr || chosen_file == nullptr
        || std::strcmp(chosen_operation, operation) != 0)
        return false;
    const std::string link = "/proc/self/fd/" + std::to_string(fileno(stream));
    char target[4096];
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0)
        return false;
    target[length] = '\0';
    const char *slash = std::strrchr(target, '/');
    return std::strcmp(slash == nullptr ? target : slash + 1, chosen_file) == 0;
}

// Puts a descriptor opened from path in place of the stream's own.
void swap_descriptor(std::FILE *stream, const char *path, int flags)
{
    const int replacement = open(path, flags);
    dup2(replacement, fileno(stream));
    close(replacement);
}

}  // namespace

extern "C" {

size_t fread(void *buffer, size_t size, size_t count, FILE *stream)
{
    static const auto real = next_definition<size_t (*)(void *, size_t, size_t, FILE *)>("fread");
    if (is_target("read", stream))
        swap_descriptor(stream, "/", O_RDONLY | O_DIRECTORY);
    return real(buffer, size, count, stream);
}

size_t fwrite(const void *buffer, size_t size, size_t count, FILE *stream)
{
    static const auto real =
        next_definition<size_t (*)(const void *, size_t, size_t, FILE *)>("fwrite");
    if (is_target("write", stream))
        swap_descriptor(stream, "/dev/null", O_RDONLY);
    return real(buffer, size, count, stream);
}

int fclose(FILE *stream)
{
    static const auto real = next_definition<int (*)(FILE *)>("fclose");
    const bool fail = is_target("close", stream);
    const int result = real(stream);
    if (!fail)
        return result;
    errno = EIO;
    return EOF;
}

}
