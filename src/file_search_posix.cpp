#include "file_search.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "wildcard.h"

const bool SHELL_EXPANDS_WILDCARDS = true;

namespace {

// True if path names a regular file, following symbolic links.
bool is_regular_file(const std::string &path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The names in directory that pattern matches, in ascending byte order, each with what the
// directory entry already says of its type (DT_UNKNOWN where it says nothing).
std::vector<std::pair<std::string, unsigned char>> matching_names(const std::string &directory,
                                                                 const std::string &pattern)
{
    std::vector<std::pair<std::string, unsigned char>> names;
    DIR *stream = opendir(directory.empty() ? "." : directory.c_str());
    if (stream == nullptr)
        return names;
    while (const dirent *entry = readdir(stream)) {
        if (wildcard_match(pattern, entry->d_name))
            names.emplace_back(entry->d_name, entry->d_type);
    }
    closedir(stream);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::size_t directory_part_length(const std::string &specification)
{
    const std::size_t last_separator = specification.rfind('/');
    return last_separator == std::string::npos ? 0 : last_separator + 1;
}

void for_each_match(const char *specification,
                    const std::function<void(const search_entry &)> &visit)
{
    const std::string whole(specification);
    const std::string directory = whole.substr(0, directory_part_length(whole));
    const std::string pattern = whole.substr(directory.size());
    if (pattern.empty())
        return;

    if (!has_wildcards(pattern)) {
        struct stat status {};
        if (stat(whole.c_str(), &status) == 0)
            visit(search_entry{whole, pattern, S_ISREG(status.st_mode)});
        return;
    }

    for (const auto &[name, type] : matching_names(directory, pattern)) {
        search_entry entry{directory + name, name, type == DT_REG};
        // Links and entries of unknown type need a look at what they lead to.
        if (type == DT_LNK || type == DT_UNKNOWN)
            entry.is_file_to_fix = is_regular_file(entry.path);
        visit(entry);
    }
}
