// The one reader of file contents.
#include "platform/filereader.h"
#include "platform/foldertree.h"
#include "support/tempdrives.h"

#include <QFile>
#include "util.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using plat::RegularFileReader;
using testing_support::TempDrives;

namespace {

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

QByteArray readAll(RegularFileReader& r, qint64 chunk = 4)
{
    QByteArray out;
    char buf[64];
    for (;;) {
        const qint64 n = r.read(buf, qMin<qint64>(chunk, sizeof buf));
        if (n <= 0)
            break;
        out.append(buf, n);
    }
    return out;
}

}  // namespace

TEST(FileReader, ReadsRegularFile)
{
    TempDrives t;
    t.writeFile('C', "d/data.bin", "0123456789");
    RegularFileReader r;
    ASSERT_TRUE(r.open("C:\\d\\data.bin")) << r.errorText().toStdString();
    EXPECT_TRUE(r.isOpen());
    EXPECT_EQ(r.size(), 10);
    EXPECT_GT(r.modifiedNs(), 0);
    EXPECT_EQ(readAll(r, 3), "0123456789");
    EXPECT_EQ(r.position(), 10);
    char c;
    EXPECT_EQ(r.read(&c, 1), 0);
    ASSERT_TRUE(r.seek(7));
    EXPECT_EQ(readAll(r), "789");
    EXPECT_FALSE(r.seek(11));
    EXPECT_FALSE(r.seek(-1));
    r.close();
    EXPECT_FALSE(r.isOpen());
    EXPECT_EQ(r.read(&c, 1), -1);
}

TEST(FileReader, ReadsNoMoreThanSizeAtOpen)
{
    TempDrives t;
    const QString path = t.writeFile('C', "grow.log", "first");
    RegularFileReader r;
    ASSERT_TRUE(r.open("C:\\grow.log"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(" and more written later");
    f.close();
    EXPECT_EQ(readAll(r), "first");
}

TEST(FileReader, RefusesAllButRegularFiles)
{
    TempDrives t;
    const QString base = t.posix(u'C');
    t.writeFile('C', "target.txt", "x");
    t.makeFolder('C', "folder");
    ASSERT_EQ(::mkfifo(raw(base + "/fifo").constData(), 0644), 0);
    ASSERT_EQ(::symlink("target.txt", raw(base + "/link").constData()), 0);
    ASSERT_EQ(::symlink("folder", raw(base + "/alias").constData()), 0);
    t.writeFile('C', "folder/in.txt", "x");
    for (const char* p : {"C:\\fifo", "C:\\link", "C:\\folder", "C:\\", "C:\\missing", "Q:\\x", "C:\\alias\\in.txt"}) {
        RegularFileReader r;
        EXPECT_FALSE(r.open(p)) << p;
        EXPECT_FALSE(r.isOpen()) << p;
        EXPECT_FALSE(r.errorText().isEmpty()) << p;
    }
    // A failed open leaves an earlier file closed, not half open.
    RegularFileReader r;
    ASSERT_TRUE(r.open("C:\\target.txt"));
    EXPECT_FALSE(r.open("C:\\fifo"));
    EXPECT_FALSE(r.isOpen());
}

TEST(FileReader, EmptyFile)
{
    TempDrives t;
    t.writeFile('C', "empty", "");
    RegularFileReader r;
    ASSERT_TRUE(r.open("C:\\empty"));
    EXPECT_EQ(r.size(), 0);
    char c;
    EXPECT_EQ(r.read(&c, 1), 0);
}

TEST(FileReader, OpensAListedEntryOnlyWhileItIsThatEntry)
{
    TempDrives t;
    t.writeFile('C', "d/a.txt", "listed");
    plat::TreeError error;
    const auto folder = plat::TreeFolder::open("C:\\d", error);
    ASSERT_TRUE(folder);
    plat::TreeEntry e;
    ASSERT_TRUE(folder->lookup("a.txt", e));
    RegularFileReader r;
    ASSERT_TRUE(r.openAt(*folder, e));
    EXPECT_EQ(readAll(r), "listed");
    EXPECT_EQ(r.stampAtOpen().inode, e.data.inode);
    // Another file put under the name since it was listed.
    const QString other = t.writeFile('C', "d/b.txt", "other!");
    ASSERT_EQ(::rename(raw(other).constData(), raw(t.posix(u'C') + "/d/a.txt").constData()), 0);
    EXPECT_FALSE(r.openAt(*folder, e));
    EXPECT_FALSE(r.isOpen());
    // The spelling is cleaned for reading.
    ASSERT_TRUE(r.open("C:\\x\\..\\d\\\\a.txt"));
    EXPECT_EQ(readAll(r), "other!");
}
