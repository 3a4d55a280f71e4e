// File-type names and registered extensions.
#include "platform/filetypes.h"

#include <QMimeDatabase>
#include "util.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(FileTypes, MimeNamesByExtension)
{
    MimeFileTypes types;
    const QString plain = QMimeDatabase().mimeTypeForName("text/plain").comment();
    if (plain.isEmpty())
        GTEST_SKIP() << "no MIME database";
    EXPECT_EQ(types.typeName(".txt"), plain);
    EXPECT_EQ(types.typeName(".TXT"), plain);  // cached per lower-case extension
    EXPECT_EQ(types.typeName(".no-such-ext"), "");
    EXPECT_EQ(types.typeName(""), "");
    EXPECT_EQ(types.typeName("."), "");
}

TEST(FileTypes, RegisteredExtensionsAreNormalised)
{
    MimeFileTypes types;
    const QStringList ext = types.registeredExtensions();
    if (ext.isEmpty())
        GTEST_SKIP() << "no MIME database";
    QStringList sorted = ext;
    sorted.sort();
    sorted.removeDuplicates();
    EXPECT_EQ(ext, sorted);
    for (const QString& e : ext) {
        ASSERT_TRUE(e.startsWith('.')) << e.toStdString();
        EXPECT_GE(e.size(), 2) << e.toStdString();
        EXPECT_LE(e.size(), 5) << e.toStdString();
        EXPECT_EQ(e, e.toLower());
        EXPECT_FALSE(e.mid(1).contains('.')) << e.toStdString();
        EXPECT_FALSE(e.contains('*') || e.contains('[')) << e.toStdString();
    }
    EXPECT_TRUE(ext.contains(".txt"));
    EXPECT_FALSE(ext.contains(".tar.gz"));
    EXPECT_EQ(types.registeredExtensions(), ext);  // the second call comes from the cache
}

TEST(FileTypes, FakeTable)
{
    FakeFileTypes fake({{".txt", "Text Document"}, {".Doc", "Word"}, {".toolong", "x"}, {".tar.gz", "y"}});
    EXPECT_EQ(fake.typeName(".txt"), "Text Document");
    EXPECT_EQ(fake.typeName(".TXT"), "Text Document");
    EXPECT_EQ(fake.typeName(".doc"), "Word");
    EXPECT_EQ(fake.typeName(".zip"), "");
    EXPECT_EQ(fake.registeredExtensions(), QStringList({".doc", ".txt"}));
}

TEST(FileTypes, SourceCanBeReplaced)
{
    FakeFileTypes fake({{".abc", "Alphabet"}});
    setFileTypes(&fake);
    EXPECT_EQ(fileTypes().typeName(".abc"), "Alphabet");
    setFileTypes(nullptr);
    EXPECT_NE(dynamic_cast<MimeFileTypes*>(&fileTypes()), nullptr);
}
