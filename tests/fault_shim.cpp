// Preloaded into the program under test: makes one system call fail for one file.
//
//   SETWIN_FAULT_OPERATION  read         read fails with EIO
//                           short-read   read returns at most 50 bytes at a time, as some
//                                        network and user-space file systems do
//                           write        pwrite fails with ENOSPC before writing anything
//                           short-write  pwrite writes half of what it is asked, then fails
//                                        with ENOSPC
//                           close        close closes the file, then reports EIO, as a
//                                        network file system may when it writes back late
//                           vanish       just before the file is opened, it is removed
//                           directory    ... it is replaced by a directory
//                           fifo         ... it is replaced by a FIFO
//                           device       ... it is replaced by a link to /dev/zero
//   SETWIN_FAULT_FILE       the bare name of the file whose calls fail
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

template <typename Function>
Function next_definition(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

const char *chosen_operation()
{
    const char *operation = std::getenv("SETWIN_FAULT_OPERATION");
    return operation == nullptr ? "" : operation;
}

bool is_chosen_file(const char *path)
{
    const char *chosen_file = std::getenv("SETWIN_FAULT_FILE");
    const char *slash = std::strrchr(path, '/');
    return chosen_file != nullptr && std::strcmp(slash == nullptr ? path : slash + 1, chosen_file) == 0;
}

bool is_target(const char *operation, int descriptor)
{
    if (std::strcmp(chosen_operation(), operation) != 0)
        return false;
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    char target[4096];
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0)
        return false;
    target[length] = '\0';
    return is_chosen_file(target);
}

// Gives the chosen file's name to something else, once, as another program might between the
// search and the open.
void swap_before_open(const char *path)
{
    static bool swapped = false;
    const std::string operation = chosen_operation();
    if (swapped || !is_chosen_file(path)
        || (operation != "vanish" && operation != "directory" && operation != "fifo"
            && operation != "device"))
        return;
    swapped = true;
    unlink(path);
    if (operation == "directory")
        mkdir(path, 0777);
    else if (operation == "fifo")
        mkfifo(path, 0666);
    else if (operation == "device")
        symlink("/dev/zero", path);
}

}  // namespace

extern "C" {

int open(const char *path, int flags, ...)
{
    static const auto real = next_definition<int (*)(const char *, int, ...)>("open");
    swap_before_open(path);
    return real(path, flags, 0666);
}

int open64(const char *path, int flags, ...)
{
    static const auto real = next_definition<int (*)(const char *, int, ...)>("open64");
    swap_before_open(path);
    return real(path, flags, 0666);
}

ssize_t read(int descriptor, void *buffer, size_t size)
{
    static const auto real = next_definition<ssize_t (*)(int, void *, size_t)>("read");
    if (is_target("read", descriptor)) {
        errno = EIO;
        return -1;
    }
    if (is_target("short-read", descriptor) && size > 50)
        size = 50;
    return real(descriptor, buffer, size);
}

ssize_t pwrite(int descriptor, const void *buffer, size_t size, off_t offset)
{
    static const auto real =
        next_definition<ssize_t (*)(int, const void *, size_t, off_t)>("pwrite");
    if (is_target("write", descriptor)) {
        errno = ENOSPC;
        return -1;
    }
    if (is_target("short-write", descriptor)) {
        static bool wrote_half = false;
        if (!wrote_half && size > 1) {
            wrote_half = true;
            return real(descriptor, buffer, size / 2, offset);
        }
        errno = ENOSPC;
        return -1;
    }
    return real(descriptor, buffer, size, offset);
}

int close(int descriptor)
{
    static const auto real = next_definition<int (*)(int)>("close");
    const bool fail = is_target("close", descriptor);
    const int result = real(descriptor);
    if (!fail)
        return result;
    errno = EIO;
    return -1;
}

}
