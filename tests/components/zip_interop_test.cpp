// Interchange with the system's zip and unzip: our archives test clean with
// unzip, and archives made by zip (stored, deflated, folders) read back.
#include "components/zip/zipreader.h"
#include "components/zip/zipwriter.h"
#include "zip_testutil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace comp;
using namespace ziptest;

TEST(ZipInterop, OurArchivesPassUnzipTest)
{
    if (!haveTool("unzip"))
        GTEST_SKIP() << "unzip is not installed";
    QTemporaryDir tmp;
    const QString src = tmp.path() + "/src";
    const QStringList rels = {"empty.txt", "small.txt", "noise.bin", "text/long.txt",
                              QString::fromUtf8("ünï/cødé.txt"), "big/stream.log"};
    writeAll(src + "/empty.txt", "");
    writeAll(src + "/small.txt", "hi");
    writeAll(src + "/noise.bin", randomBytes(70'000));
    writeAll(src + "/text/long.txt", textBytes(200'000));
    writeAll(src + "/" + rels[4], textBytes(700));
    writeAll(src + "/big/stream.log", textBytes(5 * 1024 * 1024));
    const QString zip = tmp.path() + "/ours.zip";
    for (int round = 0; round < 2; ++round) {  // created, then added to
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(zip)));
        w.setComment("made by the test");
        for (int i = round * 3; i < round * 3 + 3; ++i)
            ASSERT_EQ(w.addFilePosix(posix(src + "/" + rels[i]), rels[i]), ZipAddResult::Added);
        ASSERT_TRUE(w.close().ok);
    }
    QByteArray log;
    EXPECT_EQ(run("unzip", {"-t", zip}, {}, &log), 0) << log.toStdString();
    // And unzip puts back the same bytes under the same names.
    const QString out = tmp.path() + "/out";
    QDir().mkpath(out);
    ASSERT_EQ(run("unzip", {"-q", zip, "-d", out}, {}, &log), 0) << log.toStdString();
    for (const QString& r : rels)
        EXPECT_EQ(readAll(out + "/" + r), readAll(src + "/" + r)) << r.toStdString();
}

TEST(ZipInterop, ArchivesMadeByZipAreRead)
{
    if (!haveTool("zip"))
        GTEST_SKIP() << "zip is not installed";
    QTemporaryDir tmp;
    const QString tree = tmp.path() + "/tree";
    writeAll(tree + "/docs/readme.txt", textBytes(20'000));
    writeAll(tree + "/docs/sub/notes.md", textBytes(300));
    writeAll(tree + "/pics/photo.jpg", randomBytes(40'000));  // zip stores .jpg as it is
    writeAll(tree + "/empty.dat", "");
    QDir().mkpath(tree + "/emptyfolder");
    const QString zip = tmp.path() + "/theirs.zip";
    ASSERT_EQ(run("zip", {"-r", "-q", "-n", ".jpg", zip, "."}, tree), 0);

    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(zip))) << r.errorText().toStdString();
    EXPECT_FALSE(r.recovered());
    bool sawStored = false, sawDeflated = false, sawFolder = false;
    for (const auto& e : r.entries()) {
        sawFolder |= e.isFolder;
        if (!e.isFolder && e.uncompressedSize > 0) {
            sawStored |= e.method == 0;
            sawDeflated |= e.method == 8;
        }
    }
    EXPECT_TRUE(sawStored);
    EXPECT_TRUE(sawDeflated);
    EXPECT_TRUE(sawFolder);
    const QString out = tmp.path() + "/out";
    QDir().mkpath(out);
    for (const auto& rep : r.extractAllPosix(posix(out)))
        EXPECT_EQ(rep.result, ZipExtractResult::Extracted) << rep.entryName.toStdString();
    for (const char* f : {"docs/readme.txt", "docs/sub/notes.md", "pics/photo.jpg", "empty.dat"})
        EXPECT_EQ(readAll(out + "/" + f), readAll(tree + "/" + f)) << f;
    EXPECT_TRUE(QFileInfo(out + "/emptyfolder").isDir());

    // Adding to an archive that zip made keeps its entries readable by both.
    writeAll(tmp.path() + "/extra.txt", "extra");
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(zip))) << w.errorText().toStdString();
        EXPECT_EQ(w.addFilePosix(posix(tmp.path() + "/extra.txt"), "extra.txt"), ZipAddResult::Added);
        EXPECT_EQ(w.addFilePosix(posix(tmp.path() + "/extra.txt"), "docs/readme.txt"), ZipAddResult::NameExists);
        ASSERT_TRUE(w.close().ok);
    }
    if (haveTool("unzip")) {
        QByteArray log;
        EXPECT_EQ(run("unzip", {"-t", zip}, {}, &log), 0) << log.toStdString();
    }
    ASSERT_TRUE(r.openPosix(posix(zip)));
    EXPECT_FALSE(r.recovered());
}

TEST(ZipInterop, StreamedZipWithDataDescriptorsRecovers)
{
    if (!haveTool("zip"))
        GTEST_SKIP() << "zip is not installed";
    // zip writing to a pipe puts sizes after the data; cut off its central
    // directory and the entries are still found by their deflate streams.
    QTemporaryDir tmp;
    writeAll(tmp.path() + "/a.txt", textBytes(30'000));
    writeAll(tmp.path() + "/b.txt", textBytes(9'000));
    QProcess p;
    p.setWorkingDirectory(tmp.path());
    p.start("zip", {"-q", "-", "a.txt", "b.txt"});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QByteArray bytes = p.readAllStandardOutput();
    ASSERT_GT(bytes.size(), 100);
    const qsizetype cd = bytes.indexOf(QByteArray("PK\x01\x02", 4));
    ASSERT_GT(cd, 0);
    ZipReader r;
    ASSERT_TRUE(r.openMemory(bytes.left(cd + 10)));
    EXPECT_TRUE(r.recovered());
    ASSERT_EQ(r.entries().size(), 2u);
    QByteArray data;
    EXPECT_EQ(r.readEntry(1, &data), ZipExtractResult::Extracted);
    EXPECT_EQ(data, textBytes(9'000));
}
