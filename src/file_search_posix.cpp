#include "file_search.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
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

// The entries of a directory that a pattern matches. A directory of session files may hold
// tens of thousands, so the names share one block of text: each is stored as its type byte
// from the directory entry (DT_UNKNOWN where that says nothing), the name and a NUL.
class matching_entries {
public:
    matching_entries(const std::string &directory, const std::string &pattern)
    {
        DIR *stream = opendir(directory.empty() ? "." : directory.c_str());
        if (stream == nullptr)
            return;
        while (const dirent *entry = readdir(stream)) {
            if (!wildcard_match(pattern, entry->d_name))
                continue;
            starts_.push_back(text_.size());
            text_ += static_cast<char>(entry->d_type);
            text_.append(entry->d_name).push_back('\0');
        }
        closedir(stream);
        // strcmp compares bytes as unsigned values: ascending byte order.
        std::sort(starts_.begin(), starts_.end(), [this](std::size_t left, std::size_t right) {
            return std::strcmp(name(left), name(right)) < 0;
        });
    }

    // The start of each entry, in ascending byte order of the names.
    [[nodiscard]] const std::vector<std::size_t> &starts() const { return starts_; }
    [[nodiscard]] const char *name(std::size_t start) const { return text_.c_str() + start + 1; }
    [[nodiscard]] unsigned char type(std::size_t start) const
    {
        return static_cast<unsigned char>(text_[start]);
    }

private:
    std::string text_;
    std::vector<std::size_t> starts_;
};

// The length of the specification's directory part: up to and including its last '/'.
std::size_t directory_part_length(const std::string &specification)
{
    const std::size_t last_separator = specification.rfind('/');
    return last_separator == std::string::npos ? 0 : last_separator + 1;
}

}  // namespace

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

    const matching_entries matches(directory, pattern);
    for (const std::size_t start : matches.starts()) {
        const unsigned char type = matches.type(start);
        search_entry entry{directory + matches.name(start), matches.name(start), type == DT_REG};
        // Links and entries of unknown type need a look at what they lead to.
        if (type == DT_LNK || type == DT_UNKNOWN)
            entry.is_file_to_fix = is_regular_file(entry.path);
        visit(entry);
    }
}
