// The platform's file operations on an open session file, on plain file descriptors.
#ifndef SETWIN_FILE_IO_H
#define SETWIN_FILE_IO_H

#include <cstddef>

enum class open_result {
    read_write,   // open for reading and writing, at the start of the file
    read_only,    // readable but not writable: open for reading only
    not_a_file,   // a directory, FIFO, socket or device: nothing was read or written
    failed,       // cannot be opened for reading
};

// Opens path in binary mode without truncating it, for reading and writing where it may be
// written. Never blocks on a FIFO. On read_write and read_only, *descriptor is open.
open_result open_session_file(const char *path, int *descriptor);

// Reads up to size bytes from the current position. Returns the count, 0 at the end of the
// file, or -1 on an error.
long long read_session_file(int descriptor, unsigned char *buffer, std::size_t size);

// Writes all length bytes of content at the start of the file. False on any error.
bool write_session_file_start(int descriptor, const unsigned char *content, std::size_t length);

// Closes the descriptor. False if the close reported an error.
bool close_session_file(int descriptor);

#endif
