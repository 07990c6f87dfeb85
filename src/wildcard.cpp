#include "wildcard.h"

namespace {

char fold_case(char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                                 : character;
}

bool match_from(std::string_view pattern, std::string_view name)
{
    std::size_t pattern_index = 0;
    std::size_t name_index = 0;
    // Where the last '*' was seen and how much of the name it has taken so far: on a mismatch
    // that star takes one more character and matching resumes after it.
    std::size_t star_index = std::string_view::npos;
    std::size_t star_name_index = 0;

    while (name_index < name.size()) {
        if (pattern_index < pattern.size() && pattern[pattern_index] == '*') {
            star_index = pattern_index++;
            star_name_index = name_index;
        } else if (pattern_index < pattern.size()
                   && (pattern[pattern_index] == '?'
                       || fold_case(pattern[pattern_index]) == fold_case(name[name_index]))) {
            ++pattern_index;
            ++name_index;
        } else if (star_index != std::string_view::npos) {
            pattern_index = star_index + 1;
            name_index = ++star_name_index;
        } else {
            return false;
        }
    }
    while (pattern_index < pattern.size() && pattern[pattern_index] == '*')
        ++pattern_index;
    return pattern_index == pattern.size();
}

}  // namespace

bool has_wildcards(std::string_view pattern)
{
    return pattern.find_first_of("*?") != std::string_view::npos;
}

bool wildcard_match(std::string_view pattern, std::string_view name)
{
    if (match_from(pattern, name))
        return true;
    constexpr std::string_view ANY_EXTENSION = ".*";
    if (pattern.size() >= ANY_EXTENSION.size()
        && pattern.substr(pattern.size() - ANY_EXTENSION.size()) == ANY_EXTENSION)
        return match_from(pattern.substr(0, pattern.size() - ANY_EXTENSION.size()), name);
    return false;
}
