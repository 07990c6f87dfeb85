#include "file_search.h"

#include <windows.h>

const bool SHELL_EXPANDS_WILDCARDS = false;

namespace {

// The length of the specification's directory part: up to and including its last backslash
// or '/', or a drive such as "C:".
std::size_t directory_part_length(const std::string &specification)
{
    const std::size_t last_separator = specification.find_last_of("\\/");
    if (last_separator != std::string::npos)
        return last_separator + 1;
    // "C:*.ws" searches the current directory of drive C.
    const bool has_drive = specification.size() >= 2 && specification[1] == ':'
        && ((specification[0] >= 'A' && specification[0] <= 'Z')
            || (specification[0] >= 'a' && specification[0] <= 'z'));
    return has_drive ? 2 : 0;
}

}  // namespace

void for_each_match(const char *specification,
                    const std::function<void(const search_entry &)> &visit)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(specification, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;

    const std::string whole(specification);
    const std::string directory = whole.substr(0, directory_part_length(whole));
    do {
        const std::string name(found.cFileName);
        visit(search_entry{directory + name, name,
                           (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0});
    } while (FindNextFileA(search, &found) != 0);
    FindClose(search);
}
