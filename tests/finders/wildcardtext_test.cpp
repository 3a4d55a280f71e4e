// The texts beside a wildcard box and the patterns it offers.
#include "finders/wildcardtext.h"
#include "platform/filetypes.h"

#include <gtest/gtest.h>

TEST(WildcardText, LabelsTable)
{
    plat::FakeFileTypes types{{{".txt", "Text Document"}, {".doc", "Word document"}}};
    plat::setFileTypes(&types);
    struct Row {
        QString pattern, all, type, label;
    };
    const QList<Row> rows = {
        {"*.*", "All files", "", "All files"},
        {"*.txt", "", "Text Document", "Text Document"},
        {"*.TXT", "", "Text Document", "Text Document"},
        {"a*.txt", "", "", ""},
        {"*.xyz", "", "XYZ File", "XYZ File"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(finders::WildcardAllText(r.pattern), r.all) << qPrintable(r.pattern);
        EXPECT_EQ(finders::WildcardTypeText(r.pattern), r.type) << qPrintable(r.pattern);
        EXPECT_EQ(finders::WildcardLabel(r.pattern), r.label) << qPrintable(r.pattern);
    }
    EXPECT_EQ(finders::WildcardChoices(), QStringList({"*.*", "*.doc", "*.txt"}));
    plat::setFileTypes(nullptr);
}
