// The characters of a set, the alphanumerics of every script from the Unicode tables,
// and object arguments put into a format.

#include "Foundation/CharacterSet.h"
#include "Foundation/StringFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(CharacterSet, AlphanumericsAreLettersMarksAndNumbersOfEveryScript) {
    const CharacterSet allowed =
        CharacterSet::alphanumerics().united(CharacterSet::characters("$_"));
    struct Case {
        const char* what;
        std::string text;
        bool contained;
    } cases[] = {
        {"ASCII letters and digits", "Az09", true},
        {"precomposed accent", "caf\xc3\xa9", true},
        {"decomposed accent (e, combining acute)", "cafe\xcc\x81", true},
        {"superscript two", "x\xc2\xb2", true},
        {"roman numeral twelve (a letter number)", "\xe2\x85\xab", true},
        {"Han", "\xe4\xb8\xad\xe6\x96\x87", true},
        {"listed characters", "$a_b", true},
        {"empty", "", true},
        {"space", "a b", false},
        {"hyphen, not listed", "a-b", false},
        {"em dash", "x\xe2\x80\x94y", false},
        {"malformed UTF-8", "a\xff", false},
        {"a cut-off sequence", "caf\xc3", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(allowed.containsEveryCharacter(c.text), c.contained);
    }
    EXPECT_TRUE(CharacterSet::alphanumerics().contains(U'\u0301'));
    EXPECT_FALSE(CharacterSet::alphanumerics().contains(U'$'));
    EXPECT_TRUE(CharacterSet::characters("-.").contains(U'.'));
}

TEST(StringWithFormat, PutsObjectArgumentsInPlace) {
    struct Case {
        const char* format;
        std::string expected;
    } cases[] = {
        {"no placeholder", "no placeholder"},
        {"names start with %@", "names start with $"},
        {"%@ and %@", "$ and #"},
        {"%2$@ before %1$@", "# before $"},
        {"100%% sure, %@", "100% sure, $"},
        {"%@ %@ %@", "$ # %@"}, // a third argument is missing
        {"%d stays", "%d stays"},
        {"%5d stays", "%5d stays"},
        {"trailing %", "trailing %"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stringWithFormat(c.format, {"$", "#"}), c.expected) << c.format;
}

} // namespace
