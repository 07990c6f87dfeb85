// The window fields of an Orvanta TN3270 session file and the fix of one file.
#ifndef SETWIN_SESSION_FILE_H
#define SETWIN_SESSION_FILE_H

#include <cstddef>

// Size of the work buffer: ten million bytes, the largest session file handled.
constexpr std::size_t WORK_BUFFER_SIZE = 10000000;

// The value written into both location fields.
constexpr int FIXED_LOCATION = 20;

// Byte offsets of the four signed 16-bit little-endian window fields.
constexpr std::size_t LOCATION_X_OFFSET = 90;
constexpr std::size_t LOCATION_Y_OFFSET = 92;
constexpr std::size_t SIZE_WIDTH_OFFSET = 94;
constexpr std::size_t SIZE_HEIGHT_OFFSET = 96;

// A file must hold all four fields, which end here.
constexpr std::size_t MINIMUM_SESSION_FILE_SIZE = 98;

enum class fix_outcome {
    updated,        // read, reported, written back and closed without error
    open_failed,    // could not be opened for reading, or not for writing
    read_failed,    // an error while reading; the file is left alone
    write_failed,   // an error while writing or closing
    wrong_size,     // shorter than the fields or longer than the work buffer; left alone
    not_a_file,     // turned out not to be a regular file; skipped without a word
};

struct window_fields {
    int location_x;
    int location_y;
    int size_width;
    int size_height;
};

// Reads the four window fields from the start of a session file's content.
window_fields read_window_fields(const unsigned char *content);

// Sets both location fields of a session file's content to FIXED_LOCATION.
void set_fixed_location(unsigned char *content);

// Reports the window fields of the file at path, resets its location and writes it back
// in place, borrowing work_buffer (WORK_BUFFER_SIZE bytes). Prints its own messages.
fix_outcome fix_session_file(const char *path, unsigned char *work_buffer);

#endif
