// Safe extraction: hostile names, links on the way, existing targets,
// damaged data, passwords, and drive paths.
#include "components/zip/zipcrypt.h"
#include "components/zip/zipreader.h"
#include "components/zip/zipwriter.h"
#include "support/tempdrives.h"
#include "zip_testutil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace comp;
using namespace ziptest;

namespace {

class ZipExtractTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString base() const { return tmp.path() + "/outer/base"; }
    QString outer() const { return tmp.path() + "/outer"; }
    QString archive() const { return tmp.path() + "/h.zip"; }
    void SetUp() override { QDir().mkpath(base()); }

    std::vector<ZipExtractReport> extract(const QByteArray& zipBytes, ZipReader& r)
    {
        writeAll(archive(), zipBytes);
        EXPECT_TRUE(r.openPosix(posix(archive()))) << r.errorText().toStdString();
        return r.extractAllPosix(posix(base()));
    }
};

struct HostileCase {
    const char* label;
    QByteArray name;
    quint32 mode;
    ZipExtractResult expected;
};

}  // namespace

TEST_F(ZipExtractTest, HostileEntriesExtractNothingOutside)
{
    const std::vector<HostileCase> cases = {
        {"parent", "../evil.txt", 0100644, ZipExtractResult::BadName},
        {"parent inside", "a/../../evil.txt", 0100644, ZipExtractResult::BadName},
        {"absolute", "/tmp/evil.txt", 0100644, ZipExtractResult::BadName},
        {"drive with slash", "C:/evil.txt", 0100644, ZipExtractResult::BadName},
        {"drive relative", "C:evil.txt", 0100644, ZipExtractResult::BadName},
        {"backslash parent", "..\\evil.txt", 0100644, ZipExtractResult::BadName},
        {"backslash nested", "a\\..\\..\\evil.txt", 0100644, ZipExtractResult::BadName},
        {"dot", "./evil.txt", 0100644, ZipExtractResult::BadName},
        {"empty component", "a//evil.txt", 0100644, ZipExtractResult::BadName},
        {"empty name", "", 0100644, ZipExtractResult::BadName},
        {"symbolic link", "link", 0120777, ZipExtractResult::Unsupported},
        {"character device", "dev", 0020644, ZipExtractResult::Unsupported},
        {"fifo", "fifo", 0010644, ZipExtractResult::Unsupported},
        {"fine", "good/ok.txt", 0100644, ZipExtractResult::Extracted},
    };
    std::vector<RawEntry> entries;
    for (const auto& c : cases)
        entries.push_back({c.name, c.mode == 0120777 ? QByteArray("/etc/passwd") : QByteArray("evil"), c.mode});
    ZipReader r;
    const auto reps = extract(buildArchive(entries), r);
    ASSERT_EQ(reps.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].label);
        EXPECT_EQ(reps[i].result, cases[i].expected);
    }
    EXPECT_EQ(listTree(outer()), QStringList({"base", "base/good", "base/good/ok.txt"}));
    EXPECT_EQ(readAll(base() + "/good/ok.txt"), "evil");
}

TEST_F(ZipExtractTest, LinkOnTheWayIsNotFollowed)
{
    const QString elsewhere = tmp.path() + "/elsewhere";
    QDir().mkpath(elsewhere);
    ASSERT_EQ(::symlink(posix(elsewhere).constData(), posix(base() + "/sub").constData()), 0);
    writeAll(base() + "/plain", "a file where a folder is wanted");
    ZipReader r;
    const auto reps = extract(buildArchive({{"sub/x.txt", "x"}, {"sub/deeper/y.txt", "y"}, {"plain/z.txt", "z"}}), r);
    ASSERT_EQ(reps.size(), 3u);
    for (const auto& rep : reps)
        EXPECT_EQ(rep.result, ZipExtractResult::BadName) << rep.entryName.toStdString();
    EXPECT_TRUE(listTree(elsewhere).isEmpty());
}

TEST_F(ZipExtractTest, ExistingTargetIsLeftAsItIs)
{
    writeAll(base() + "/a.txt", "old");
    ASSERT_EQ(::symlink("/nonexistent", posix(base() + "/dangling").constData()), 0);
    ZipReader r;
    const auto reps = extract(buildArchive({{"a.txt", "new"}, {"dangling", "new"}, {"b.txt", "b"}}), r);
    ASSERT_EQ(reps.size(), 3u);
    EXPECT_EQ(reps[0].result, ZipExtractResult::Exists);
    EXPECT_EQ(reps[1].result, ZipExtractResult::Exists);
    EXPECT_EQ(reps[2].result, ZipExtractResult::Extracted);
    EXPECT_EQ(readAll(base() + "/a.txt"), "old");
    EXPECT_EQ(listTree(base()), QStringList({"a.txt", "b.txt", "dangling"}));
}

TEST_F(ZipExtractTest, DamagedDataIsNotWritten)
{
    QByteArray zip = buildArchive({{"good.txt", "good data"}, {"bad.txt", "damaged data"}});
    const qsizetype at = zip.indexOf("damaged data");
    zip[at] = 'D';
    ZipReader r;
    const auto reps = extract(zip, r);
    ASSERT_EQ(reps.size(), 2u);
    EXPECT_EQ(reps[0].result, ZipExtractResult::Extracted);
    EXPECT_EQ(reps[1].result, ZipExtractResult::CrcError);
    EXPECT_EQ(listTree(base()), QStringList({"good.txt"}));  // no temporary left behind
}

TEST_F(ZipExtractTest, FoldersAndMtimesAreRestored)
{
    const QString src = tmp.path() + "/src";
    writeAll(src + "/docs/a.txt", textBytes(4000));
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    ASSERT_EQ(w.addFilePosix(posix(src + "/docs/a.txt"), "docs/a.txt"), ZipAddResult::Added);
    ASSERT_TRUE(w.close().ok);
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive())));
    const QDateTime m = r.entries().at(0).modified;
    EXPECT_EQ(m.toSecsSinceEpoch(), QFileInfo(src + "/docs/a.txt").lastModified().toSecsSinceEpoch());
    r.extractAllPosix(posix(base()));
    EXPECT_EQ(QFileInfo(base() + "/docs/a.txt").lastModified().toSecsSinceEpoch(), m.toSecsSinceEpoch());

    ZipReader r2;
    const auto reps = extract(buildArchive({{"empty/folder/", ""}}), r2);
    ASSERT_EQ(reps.size(), 1u);
    EXPECT_EQ(reps[0].result, ZipExtractResult::Extracted);
    EXPECT_TRUE(QFileInfo(base() + "/empty/folder").isDir());
}

namespace {

// Entries encrypted the traditional way with fixed encryption headers, so
// that the archive's bytes are the same in every run: the first deflated,
// the second stored.
QByteArray encryptedArchive(const QByteArray& password, std::vector<QByteArray>* plain)
{
    using namespace zipfmt;
    *plain = {textBytes(3000), randomBytes(2000)};
    QByteArray out, central;
    for (size_t i = 0; i < plain->size(); ++i) {
        const QByteArray& data = (*plain)[i];
        NewEntry e;
        e.rawName = i == 0 ? "one.txt" : "two.bin";
        e.flags = kFlagUtf8 | kFlagEncrypted;
        e.method = i == 0 ? kDeflated : kStored;
        e.crc = crc32Of(data);
        QByteArray body(12, Qt::Uninitialized);
        for (int k = 0; k < 11; ++k)
            body[k] = char(0x41 + 13 * int(i) + k);
        body[11] = char(e.crc >> 24);  // the check byte
        body += i == 0 ? rawDeflate(data) : data;
        TraditionalCipher(password).encrypt(body.data(), body.size());
        e.compressedSize = quint64(body.size());
        e.uncompressedSize = quint64(data.size());
        e.dosDateTime = dosDateTime(1'000'000'000);
        e.localOffset = quint64(out.size());
        out += localHeader(e) + body;
        central += centralRecord(e, 0xFFFFFFFFu);
    }
    const quint64 cd = quint64(out.size());
    out += central;
    out += endRecords(plain->size(), quint64(central.size()), cd, {}, 0xFFFFFFFFu, 0xFFFF);
    return out;
}

// The n-th wrong password ("w0", "w1", ...) that passes the check byte of
// entry `passes` (or of none, with -1) and fails that of every other entry.
QByteArray wrongPassword(const QByteArray& zip, int passes, int n)
{
    using namespace zipfmt;
    ZipReader r;
    EXPECT_TRUE(r.openMemory(zip));
    MemorySource src(zip);
    for (int k = 0;; ++k) {
        const QByteArray candidate = "w" + QByteArray::number(k);
        bool fits = true;
        for (size_t i = 0; i < r.entries().size() && fits; ++i) {
            LocalHeader lh;
            readLocalHeader(src, r.entries()[i].localHeaderOffset, &lh);
            QByteArray header = zip.mid(qsizetype(lh.dataOffset), 12);
            const bool pass = TraditionalCipher(candidate).headerMatches(header.data(), quint8(r.entries()[i].crc >> 24));
            fits = pass == (int(i) == passes);
        }
        if (fits && n-- == 0)
            return candidate;
    }
}

}  // namespace

TEST_F(ZipExtractTest, PasswordsOfZipEncryptedArchives)
{
    std::vector<QByteArray> plain;
    const QByteArray zip = encryptedArchive("pass", &plain);
    const QByteArray failing = wrongPassword(zip, -1, 0);
    // Wrong passwords that a one-byte check lets through: only the CRC of
    // the data they give shows them wrong.
    const QByteArray slipsOne = wrongPassword(zip, 0, 0);
    std::vector<std::optional<QByteArray>> allSlip;
    for (int entry = 0; entry < 2; ++entry)
        for (int n = 0; n < 3; ++n)
            allSlip.push_back(wrongPassword(zip, entry, n));
    allSlip.push_back(QByteArray("pass"));  // never asked: three questions per entry
    struct Case {
        const char* label;
        std::vector<std::optional<QByteArray>> answers;  // what the provider says, in turn
        ZipExtractResult expected;
        int questions;
    };
    const std::vector<Case> cases = {
        {"right password", {QByteArray("pass")}, ZipExtractResult::Extracted, 1},
        {"wrong then right", {failing, QByteArray("pass")}, ZipExtractResult::Extracted, 2},
        {"wrong but passes the check byte, then right", {slipsOne, QByteArray("pass")}, ZipExtractResult::Extracted, 2},
        {"cancelled", {std::nullopt}, ZipExtractResult::BadPassword, 1},
        {"always wrong: three questions per entry", allSlip, ZipExtractResult::BadPassword, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QDir(base()).removeRecursively();
        QDir().mkpath(base());
        ZipReader r;
        writeAll(archive(), zip);
        ASSERT_TRUE(r.openPosix(posix(archive())));
        ASSERT_EQ(r.entries().size(), 2u);
        EXPECT_TRUE(r.entries()[0].encrypted);
        size_t asked = 0;
        r.setPasswordProvider([&](const QString&) -> std::optional<QByteArray> {
            const auto a = asked < c.answers.size() ? c.answers[asked] : std::nullopt;
            ++asked;
            return a;
        });
        const auto reps = r.extractAllPosix(posix(base()));
        ASSERT_EQ(reps.size(), 2u);
        for (const auto& rep : reps)
            EXPECT_EQ(rep.result, c.expected);
        EXPECT_EQ(int(asked), c.questions);  // the password, once known, serves every entry
        if (c.expected == ZipExtractResult::Extracted) {
            EXPECT_EQ(readAll(base() + "/one.txt"), plain[0]);
            EXPECT_EQ(readAll(base() + "/two.bin"), plain[1]);
        } else {
            EXPECT_TRUE(listTree(base()).isEmpty());
        }
    }
    // Set, not asked: a wrong password is reported whichever check finds it.
    ZipReader r;
    ASSERT_TRUE(r.openMemory(zip));
    QByteArray data;
    for (const QByteArray& wrong : {failing, slipsOne}) {
        r.setPassword(wrong);
        EXPECT_EQ(r.readEntry(0, &data), ZipExtractResult::BadPassword) << wrong.constData();
        EXPECT_TRUE(data.isEmpty());
    }
    r.setPassword("pass");
    EXPECT_EQ(r.readEntry(0, &data), ZipExtractResult::Extracted);
    EXPECT_EQ(data, plain[0]);
}

TEST(ZipDrivePaths, ZipAndRestoreByDrivePath)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "DOS/OLD.TXT", "old contents");
    drives.makeFolder('C', "ARCH");
    drives.makeFolder('C', "RESTORE");
    {
        ZipWriter w;
        ASSERT_TRUE(w.open("C:\\ARCH\\Drive-C-x.zip")) << w.errorText().toStdString();
        EXPECT_EQ(w.addFile("C:\\DOS\\OLD.TXT", "DOS/OLD.TXT"), ZipAddResult::Added);
        const ZipCommitResult cr = w.commit();
        ASSERT_EQ(cr.entries.size(), 1u);
        EXPECT_TRUE(cr.entries[0].durable);
        EXPECT_EQ(cr.entries[0].sourcePath, "C:\\DOS\\OLD.TXT");
    }
    ZipReader r;
    ASSERT_TRUE(r.open("C:\\ARCH\\Drive-C-x.zip")) << r.errorText().toStdString();
    ASSERT_EQ(r.entries().size(), 1u);
    EXPECT_EQ(r.entries()[0].name, "DOS/OLD.TXT");
    int last = -1;
    const auto reps = r.extractAll("C:\\RESTORE", [&](int pc) { last = pc; });
    ASSERT_EQ(reps.size(), 1u);
    EXPECT_EQ(reps[0].result, ZipExtractResult::Extracted);
    EXPECT_EQ(last, 100);
    EXPECT_EQ(readAll(drives.posix('C') + "/RESTORE/DOS/OLD.TXT"), "old contents");
    EXPECT_FALSE(r.open("Q:\\nowhere.zip"));
}
