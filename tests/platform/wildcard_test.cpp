// Windows-style wildcard matching.
#include "platform/findfile.h"

#include "util.h"

#include <gtest/gtest.h>

TEST(Wildcard, Table)
{
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*", "anything", true},
        {"*", "", true},
        {"*.*", "noext", true},
        {"*.*", ".", true},
        {"*.*", "..", true},
        {"*.txt", "a.txt", true},
        {"*.txt", "A.TXT", true},
        {"*.TXT", "a.txt", true},
        {"*.txt", "a.txt.bak", false},
        {"*.txt", "txt", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"a?c", "abbc", false},
        {"a*c", "ac", true},
        {"a*c", "abxyzc", true},
        {"a*c", "abxyzcd", false},
        {"*a*b*", "xxaxxbxx", true},
        {"*a*b*", "xxbxxaxx", false},
        {"readme.*", "readme", true},      // "name.*" also finds "name"
        {"readme.*", "readme.md", true},
        {"readme.*", "readmex", false},
        {"*.", "noext", true},             // "*." finds names without an extension
        {"*.", "has.ext", false},
        {"exact.name", "EXACT.NAME", true},
        {"exact.name", "exact.names", false},
        {"\u00c4*", "\u00e4rger", true},   // case folding beyond ASCII
        {"?", "\u00df", true},
        {".", ".", true},
        {"..", "..", true},
        {".", "..", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::matchesWildcard(QString::fromUtf8(c.pattern), QString::fromUtf8(c.name)), c.match)
            << c.pattern << " vs " << c.name;
}
