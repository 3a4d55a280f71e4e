// The one spelling of a drive path that removers test and act on.
#include "platform/cleanpath.h"

#include <gtest/gtest.h>

TEST(CleanDrivePath, DotsAndDoubledSeparatorsGo)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:\\prot\\p.txt", "C:\\prot\\p.txt"},
        {"C:\\free\\..\\prot\\p.txt", "C:\\prot\\p.txt"},
        {"C:\\prot\\\\p.txt", "C:\\prot\\p.txt"},
        {"C:\\.\\prot\\.\\p.txt", "C:\\prot\\p.txt"},
        {"C:\\a\\b\\..\\..\\..\\p.txt", "C:\\p.txt"},  // never above the root
        {"C:\\a\\b\\..", "C:\\a"},
        {"C:\\folder\\", "C:\\folder"},
        {"C:\\..", "C:\\"},
        {"C:\\", "C:\\"},
        {"C:", "C:\\"},
        {"c:\\Mixed\\Case", "c:\\Mixed\\Case"},
        {"C:\\...\\..x\\.y", "C:\\...\\..x\\.y"},  // only "." and ".." themselves are special
        {"C:rel\\..\\x", "C:rel\\..\\x"},            // not a drive path: left for the caller to refuse
        {"\\\\server\\share", "\\\\server\\share"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::cleanDrivePath(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}
