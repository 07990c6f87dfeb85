// The platform's search for the directory entries that a file specification matches.
#ifndef SETWIN_FILE_SEARCH_H
#define SETWIN_FILE_SEARCH_H

#include <functional>
#include <string>

struct search_entry {
    std::string path;       // the specification's directory part as typed, then the bare name
    std::string bare_name;  // the entry's name without any directory part
    bool is_file_to_fix;    // false for directories and anything else that is not a regular file
};

// True where the shell expands wildcards before the program starts, so every argument is a
// specification of its own; false where the program receives them unexpanded.
extern const bool SHELL_EXPANDS_WILDCARDS;

// Calls visit for each entry that specification matches, in the order of the search, each
// handled to the end before the next is fetched. Does nothing when nothing matches.
void for_each_match(const char *specification,
                    const std::function<void(const search_entry &)> &visit);

#endif
