#include "session_file.h"

#include <cstdio>

#include "file_open.h"

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

enum class read_result { complete, too_large, failed };

// Reads the whole stream into buffer, which holds WORK_BUFFER_SIZE bytes.
read_result read_whole_file(std::FILE *stream, unsigned char *buffer, std::size_t *length)
{
    *length = std::fread(buffer, 1, WORK_BUFFER_SIZE, stream);
    if (std::ferror(stream) != 0)
        return read_result::failed;
    if (*length < WORK_BUFFER_SIZE)
        return read_result::complete;
    // A full buffer: only the end of the file tells whether it held the whole file.
    if (std::fgetc(stream) != EOF)
        return read_result::too_large;
    return std::ferror(stream) != 0 ? read_result::failed : read_result::complete;
}

// Writes length bytes of content over the start of the stream and closes it; the stream is
// always closed. False if any part of the write, the flush or the close failed.
bool write_back_and_close(std::FILE *stream, const unsigned char *content, std::size_t length)
{
    bool written = std::fseek(stream, 0, SEEK_SET) == 0
        && std::fwrite(content, 1, length, stream) == length
        && std::fflush(stream) == 0;
    // fclose reports a failure of the final flush and of the close itself.
    if (std::fclose(stream) != 0)
        written = false;
    return written;
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
    std::FILE *stream = nullptr;
    const open_result opened = open_session_stream(path, &stream);
    if (opened == open_result::not_a_file)
        return fix_outcome::not_a_file;
    if (opened == open_result::failed) {
        std::printf("Error opening file %s\n", path);
        return fix_outcome::open_failed;
    }

    std::size_t length = 0;
    const read_result read = read_whole_file(stream, work_buffer, &length);
    if (read != read_result::complete || length < MINIMUM_SESSION_FILE_SIZE) {
        // Only read from: a failed close cannot cost the file anything.
        std::fclose(stream);
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
        std::fclose(stream);
        std::printf("Error opening file %s\n", path);
        return fix_outcome::open_failed;
    }

    set_fixed_location(work_buffer);
    if (!write_back_and_close(stream, work_buffer, length)) {
        std::printf("Error writing file %s\n", path);
        return fix_outcome::write_failed;
    }
    std::printf("File '%s' updated\n", path);
    return fix_outcome::updated;
}
