#include "session_file.h"

#include <cstdio>

#include "file_io.h"

namespace {

int read_signed_16_le(const unsigned char *bytes)
{
    const int value = bytes[0] | (bytes[1] << 8);
    return value >= 0x8000 ? value - 0x10000 : value;
}

void write_16_le(unsigned char *bytes, int value)
{
    bytes[0] = static_cast<unsigned char>(value & 0xFF);
    bytes[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

enum class open_result {
    read_write,   // open for reading and writing, at the start of the file
    read_only,    // readable but not writable: open for reading only
    not_a_file,   // a directory, FIFO, socket or device: nothing was read or written
    failed,       // cannot be opened for reading
};

// Opens path once for both the read and the write, so the file written back is the one that
// was read even if its name is given to another file in between. A file that cannot be opened
// for writing (read-only, or held by another program) may still open for reading.
open_result open_for_fix(const char *path, int *descriptor, unsigned long long *size)
{
    open_result result = open_result::read_write;
    *descriptor = open_session_file(path, true);
    if (*descriptor < 0) {
        result = open_result::read_only;
        *descriptor = open_session_file(path, false);
        if (*descriptor < 0)
            return open_result::failed;
    }
    // The search saw a regular file, but the name may have been given to something else since.
    const file_kind kind = kind_of_file(*descriptor, size);
    if (kind == file_kind::regular)
        return result;
    close_session_file(*descriptor);
    return kind == file_kind::other ? open_result::not_a_file : open_result::failed;
}

enum class read_result { complete, too_large, failed };

// Reads the whole file into buffer, which holds WORK_BUFFER_SIZE bytes. size_at_open is the
// file's size when it was opened.
read_result read_whole_file(int descriptor, unsigned long long size_at_open,
                            unsigned char *buffer, std::size_t *length)
{
    *length = 0;
    while (*length < WORK_BUFFER_SIZE) {
        const std::size_t wanted = WORK_BUFFER_SIZE - *length;
        const long long count = read_session_file(descriptor, buffer + *length, wanted);
        if (count < 0)
            return read_result::failed;
        if (count == 0)
            return read_result::complete;
        *length += static_cast<std::size_t>(count);
        // A short read of a regular file is its end, so one read does for most files. Short of
        // the size it had, the file may have been cut meanwhile: only a read of 0 tells then.
        if (static_cast<std::size_t>(count) < wanted && *length >= size_at_open)
            return read_result::complete;
    }
    // A full buffer: only the end of the file tells whether it held the whole file.
    unsigned char beyond = 0;
    const long long count = read_session_file(descriptor, &beyond, 1);
    if (count < 0)
        return read_result::failed;
    return count == 0 ? read_result::complete : read_result::too_large;
}

// Writes all length bytes of content over the start of the file. False on any error.
bool write_whole_file(int descriptor, const unsigned char *content, std::size_t length)
{
    std::size_t written = 0;
    while (written < length) {
        const long long count =
            write_session_file_at(descriptor, content + written, length - written, written);
        if (count <= 0)
            return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

window_fields read_window_fields(const unsigned char *content)
{
    return window_fields{
        read_signed_16_le(content + LOCATION_X_OFFSET),
        read_signed_16_le(content + LOCATION_Y_OFFSET),
        read_signed_16_le(content + SIZE_WIDTH_OFFSET),
        read_signed_16_le(content + SIZE_HEIGHT_OFFSET),
    };
}

void set_fixed_location(unsigned char *content)
{
    write_16_le(content + LOCATION_X_OFFSET, FIXED_LOCATION);
    write_16_le(content + LOCATION_Y_OFFSET, FIXED_LOCATION);
}

fix_outcome fix_session_file(const char *path, unsigned char *work_buffer)
{
    int descriptor = -1;
    unsigned long long size_at_open = 0;
    const open_result opened = open_for_fix(path, &descriptor, &size_at_open);
    if (opened == open_result::not_a_file)
        return fix_outcome::not_a_file;
    if (opened == open_result::failed) {
        std::printf("Error opening file %s\n", path);
        return fix_outcome::open_failed;
    }

    std::size_t length = 0;
    const read_result read = read_whole_file(descriptor, size_at_open, work_buffer, &length);
    if (read != read_result::complete || length < MINIMUM_SESSION_FILE_SIZE) {
        // Only read from: a failed close cannot cost the file anything.
        close_session_file(descriptor);
        if (read == read_result::failed)
            std::printf("Error reading file %s\n", path);
        else if (read == read_result::too_large)
            std::printf("File '%s' is too large to be a session file - not changed\n", path);
        else
            std::printf("File '%s' is too short to be a session file - not changed\n", path);
        return read == read_result::failed ? fix_outcome::read_failed : fix_outcome::wrong_size;
    }

    const window_fields stored = read_window_fields(work_buffer);
    std::printf("Window location is %d,%d (changed to 20,20) - size is %d,%d\n",
                stored.location_x, stored.location_y, stored.size_width, stored.size_height);
    if (opened == open_result::read_only) {
        close_session_file(descriptor);
        std::printf("Error opening file %s\n", path);
        return fix_outcome::open_failed;
    }

    set_fixed_location(work_buffer);
    // The close is checked too: some file systems report a failed write only there.
    const bool written = write_whole_file(descriptor, work_buffer, length);
    if (!close_session_file(descriptor) || !written) {
        std::printf("Error writing file %s\n", path);
        return fix_outcome::write_failed;
    }
    std::printf("File '%s' updated\n", path);
    return fix_outcome::updated;
}
