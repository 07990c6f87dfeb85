// Matching of bare names against a pattern with the wildcards * and ?.
#ifndef SETWIN_WILDCARD_H
#define SETWIN_WILDCARD_H

#include <string_view>

// True if pattern holds a * or a ?.
bool has_wildcards(std::string_view pattern);

// Matches name against pattern as the Windows file search does: '*' matches any run of
// characters, none included; '?' matches exactly one; ASCII letters match whatever their case;
// a pattern that ends in ".*" also matches names that have nothing there ("*.*" matches "a").
bool wildcard_match(std::string_view pattern, std::string_view name);

#endif
