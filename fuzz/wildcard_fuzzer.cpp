// Compares the wildcard matcher with a plain dynamic-programming matcher of the same rules.
// Input: one byte that sets the pattern's length, the pattern, then the name.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "wildcard.h"

namespace {

char fold_case(char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                                 : character;
}

// matches[i][j]: the pattern from i on matches the name from j on.
bool reference_match_from(std::string_view pattern, std::string_view name)
{
    const std::size_t rows = pattern.size() + 1;
    const std::size_t columns = name.size() + 1;
    std::vector<char> matches(rows * columns, 0);
    const auto at = [&](std::size_t i, std::size_t j) -> char & { return matches[i * columns + j]; };
    at(pattern.size(), name.size()) = 1;
    for (std::size_t i = pattern.size(); i-- > 0;) {
        for (std::size_t j = name.size() + 1; j-- > 0;) {
            if (pattern[i] == '*')
                at(i, j) = static_cast<char>(at(i + 1, j) || (j < name.size() && at(i, j + 1)));
            else if (j < name.size() && (pattern[i] == '?' || fold_case(pattern[i]) == fold_case(name[j])))
                at(i, j) = at(i + 1, j + 1);
        }
    }
    return at(0, 0) != 0;
}

bool reference_match(std::string_view pattern, std::string_view name)
{
    if (reference_match_from(pattern, name))
        return true;
    const bool any_extension = pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
    return any_extension && reference_match_from(pattern.substr(0, pattern.size() - 2), name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char *>(data + 1), size - 1);
    const std::size_t pattern_length = data[0] % (input.size() + 1);
    const std::string_view pattern = input.substr(0, pattern_length);
    const std::string_view name = input.substr(pattern_length);
    if (wildcard_match(pattern, name) != reference_match(pattern, name))
        std::abort();
    return 0;
}
