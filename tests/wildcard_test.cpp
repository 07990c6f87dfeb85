#include "wildcard.h"

#include <gtest/gtest.h>

namespace {

struct match_case {
    const char *pattern;
    const char *name;
    bool matches;
};

void PrintTo(const match_case &value, std::ostream *stream)
{
    *stream << '"' << value.pattern << "\" against \"" << value.name << '"';
}

class WildcardTest : public testing::TestWithParam<match_case> {};

TEST_P(WildcardTest, MatchesAsTheWindowsSearchDoes)
{
    EXPECT_EQ(wildcard_match(GetParam().pattern, GetParam().name), GetParam().matches)
        << "pattern \"" << GetParam().pattern << "\", name \"" << GetParam().name << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WildcardTest,
    testing::Values(
        // '*' takes any run of characters, none included.
        match_case{"*.ws", "a.ws", true}, match_case{"*.ws", ".ws", true},
        match_case{"*.ws", "a.ws.bak", false}, match_case{"*.ws", "a.wsx", false},
        match_case{"*", "anything at all", true}, match_case{"*", "", true},
        match_case{"a*b*c", "abc", true}, match_case{"a*b*c", "aXbYbZc", true},
        match_case{"a*b*c", "aXbYcZ", false}, match_case{"**x", "yyx", true},
        match_case{"*ab", "aab", true}, match_case{"*aab", "aaab", true},
        // '?' takes exactly one character.
        match_case{"?.ws", "a.ws", true}, match_case{"?.ws", ".ws", false},
        match_case{"?.ws", "ab.ws", false}, match_case{"a??", "abc", true},
        // Letters match whatever their case; other bytes match only themselves.
        match_case{"*.WS", "a.ws", true}, match_case{"Session.Ws", "SESSION.wS", true},
        match_case{"[a].ws", "[a].ws", true}, match_case{"[a].ws", "a.ws", false},
        match_case{"%d.ws", "%d.ws", true}, match_case{"\xC3\x89.ws", "\xC3\xA9.ws", false},
        // A trailing ".*" also matches names without an extension.
        match_case{"*.*", "noextension", true}, match_case{"*.*", "a.b.c", true},
        match_case{"a.*", "a", true}, match_case{"a.*", "b", false},
        // Without wildcards the name must be the pattern.
        match_case{"a.ws", "a.ws", true}, match_case{"a.ws", "a.wss", false},
        match_case{"", "", true}, match_case{"", "a", false}));

TEST(HasWildcards, SeesStarAndQuestionMarkOnly)
{
    EXPECT_TRUE(has_wildcards("*.ws"));
    EXPECT_TRUE(has_wildcards("a?.ws"));
    EXPECT_FALSE(has_wildcards("a.ws"));
    EXPECT_FALSE(has_wildcards("[a].ws"));
}

}  // namespace
