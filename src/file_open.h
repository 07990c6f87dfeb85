// Opening a session file as a stream that is read and then written in place.
#ifndef SETWIN_FILE_OPEN_H
#define SETWIN_FILE_OPEN_H

#include <cstdio>

enum class open_result {
    read_write,   // stream open for reading and writing, positioned at the start
    read_only,    // readable but not writable: stream open for reading only
    not_a_file,   // a directory, FIFO, socket or device: nothing was read or written
    failed,       // cannot be opened for reading
};

// Opens path in binary mode without truncating it. Never blocks on a FIFO. On read_write and
// read_only, *stream is set and belongs to the caller.
open_result open_session_stream(const char *path, std::FILE **stream);

#endif
