// The platform's file operations on an open session file, on plain file descriptors.
#ifndef SETWIN_FILE_IO_H
#define SETWIN_FILE_IO_H

#include <cstddef>

enum class file_kind { regular, other, unknown };

// Opens path in binary mode without truncating it, for reading and writing or for reading
// only. Never blocks on a FIFO. Returns the descriptor, or -1.
int open_session_file(const char *path, bool for_writing);

// What an open descriptor refers to: a regular file, anything else, or unknown when the system
// cannot tell. For a regular file, *size is set to its size in bytes.
file_kind kind_of_file(int descriptor, unsigned long long *size);

// Reads up to size bytes from the current position. Returns the count, 0 at the end of the
// file, or -1 on an error. From a regular file, fewer bytes than asked means the end was
// reached.
long long read_session_file(int descriptor, unsigned char *buffer, std::size_t size);

// Writes up to size bytes of content at offset bytes from the start of the file. Returns the
// count written, or -1 on an error.
long long write_session_file_at(int descriptor, const unsigned char *content, std::size_t size,
                                unsigned long long offset);

// Closes the descriptor. False if the close reported an error.
bool close_session_file(int descriptor);

#endif
