#include "support/tempdrives.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sys/stat.h>

namespace {

class JsonCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The drive lies in a folder whose name holds a newline, a tab and
        // quotes, so every path written carries them.
        root_ = drives.root() + "/we \"ird\"\n\tdrive";
        ASSERT_TRUE(QDir().mkpath(root_));
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("TROVIK_DRIVES", "C=" + root_);
        write("a/f.txt", "same");
        write("b/f.txt", "same");
        write("a/g.log", "other!");
        write("c/g.log", "other!");
        write("a/say \"hi\".tmp", "x");
        write("odd\nname\t.tmp", "y");  // no drive-path name: left out of walks
        files_.erase(inodeOf(root_ + "/odd\nname\t.tmp"));
        QFile big(root_ + "/big.bin");
        ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(5LL << 30));
        big.close();
        files_[inodeOf(big.fileName())] = 5LL << 30;
        // C:\a is protected: its files carry reason 3.
        QDir().mkpath(drives.programHome());
        QFile harbor(drives.programHome() + "/folders.txt");
        ASSERT_TRUE(harbor.open(QIODevice::WriteOnly));
        harbor.write("C:\\a\r\n");
    }

    void write(const QString& rel, const QByteArray& contents)
    {
        QDir().mkpath(QFileInfo(root_ + "/" + rel).path());
        QFile f(root_ + "/" + rel);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(contents) == contents.size());
        f.close();
        files_[inodeOf(f.fileName())] = contents.size();
    }

    static qint64 inodeOf(const QString& path)
    {
        struct stat st {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? qint64(st.st_ino) : -1;
    }

    QProcess::ExitStatus run(const QString& program, const QStringList& args, QByteArray& out, int& status)
    {
        QProcess p;
        p.setProcessEnvironment(env_);
        p.start(program, args);
        p.waitForFinished(120000);
        out = p.readAllStandardOutput();
        status = p.exitCode();
        return p.exitStatus();
    }

    QJsonObject scanJson(const QStringList& args, int& status)
    {
        QByteArray out;
        run(TROVIK_SCAN, args + QStringList{"--json"}, out, status);
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << qPrintable(args.join(' ')) << out.left(300).constData();
        return doc.object();
    }

    testing_support::TempDrives drives{"C"};
    QString root_;
    QProcessEnvironment env_;
    std::map<qint64, qint64> files_;  // inode -> size of the files made
};

// Every command's document parses; file rows lead back to the very files
// made, with their exact sizes, times and Safe Harbor reasons.
TEST_F(JsonCliTest, EveryCommandWritesOneDocument)
{
    struct Case {
        QStringList args;
        int fileRows;  // -1: folder rows
        int status;
    };
    const QList<Case> cases = {
        {{"dups", "--larger", "0", "--unit", "bytes", "C:"}, 4, 0},
        {{"hogs", "--larger", "0", "--unit", "bytes", "C:"}, 6, 0},
        {{"dates", "--before", "2999-01-01", "C:"}, 6, 0},
        {{"temp", "C:"}, 1, 0},
        {{"cache", "--folder", "C:\\a"}, 3, 0},
        {{"list", "C:\\b"}, 1, 0},
        {{"crc", "C:\\b\\f.txt", "C:\\missing.txt"}, 1, 1},
        {{"dirhogs", "C:"}, -1, 0},
        {{"dups", "--larger", "1", "C:"}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.args.join(' ')));
        int status = -1;
        const QJsonObject doc = scanJson(c.args, status);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(doc["version"].toInt(), 1);
        EXPECT_EQ(doc["command"].toString(), c.args.first());
        EXPECT_TRUE(doc["criteria"].isObject());
        EXPECT_EQ(doc["messages"].toArray().isEmpty(), c.status == 0);
        int fileRows = 0;
        for (const QJsonValue& v : doc["rows"].toArray()) {
            const QJsonObject row = v.toObject();
            const QString path = row["path"].toString();
            ASSERT_TRUE(path.startsWith(root_)) << qPrintable(path);
            EXPECT_TRUE(row["drivePath"].toString().startsWith("C:")) << qPrintable(path);
            struct stat st {};
            if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
                EXPECT_TRUE(row["size"].isNull() && row["modified"].isNull()) << qPrintable(path);
                continue;
            }
            if (c.fileRows < 0) {
                EXPECT_TRUE(S_ISDIR(st.st_mode));
                EXPECT_EQ(row["type"].toString(), "folder");
                EXPECT_GT(row["files"].toInteger(), 0);
                continue;
            }
            ++fileRows;
            ASSERT_EQ(files_.count(qint64(st.st_ino)), 1u) << qPrintable(path);
            EXPECT_EQ(row["size"].toInteger(-1), files_[qint64(st.st_ino)]) << qPrintable(path);
            const QDateTime modified = QDateTime::fromString(row["modified"].toString(), Qt::ISODate);
            EXPECT_EQ(modified.toSecsSinceEpoch(), qint64(st.st_mtime)) << qPrintable(row["modified"].toString());
            EXPECT_EQ(row["harbor"].toInt(-1), path.startsWith(root_ + "/a/") ? 3 : 0) << qPrintable(path);
        }
        if (c.fileRows >= 0)
            EXPECT_EQ(fileRows, c.fileRows);
    }
}

TEST_F(JsonCliTest, DuplicateGroupsAreNumberedFromOne)
{
    int status = -1;
    const QJsonObject doc = scanJson({"dups", "--match", "3", "--crc", "--larger", "0", "--unit", "bytes", "C:"}, status);
    ASSERT_EQ(status, 0);
    std::map<int, std::set<QString>> crcsByGroup;
    int lastGroup = 0;
    for (const QJsonValue& v : doc["rows"].toArray()) {
        const int group = v["group"].toInt();
        EXPECT_TRUE(group == lastGroup || group == lastGroup + 1) << group;
        lastGroup = group;
        crcsByGroup[group].insert(v["crc"].toString());
    }
    // "same" twice and "other!" twice: two groups, one checksum each.
    ASSERT_EQ(crcsByGroup.size(), 2u);
    EXPECT_EQ(crcsByGroup.begin()->first, 1);
    for (const auto& [group, crcs] : crcsByGroup)
        EXPECT_EQ(crcs.size(), 1u) << group;
    EXPECT_NE(*crcsByGroup[1].begin(), *crcsByGroup[2].begin());
}

// The NUL-ended paths survive xargs -0 and name the files the JSON rows name.
TEST_F(JsonCliTest, Print0RoundTripsThroughXargs)
{
    int status = -1;
    const QStringList args = {"hogs", "--larger", "0", "--unit", "bytes", "C:"};
    std::multiset<qint64> fromJson;
    for (const QJsonValue& v : scanJson(args, status)["rows"].toArray())
        fromJson.insert(inodeOf(v["path"].toString()));
    ASSERT_EQ(fromJson.size(), 6u);
    QByteArray out;
    const QString pipe = "\"$0\" \"$@\" --print0 | xargs -0 stat -c %i";
    ASSERT_EQ(run("/bin/sh", QStringList{"-c", pipe, TROVIK_SCAN} + args, out, status), QProcess::NormalExit);
    EXPECT_EQ(status, 0);
    std::multiset<qint64> fromXargs;
    for (const QByteArray& line : out.trimmed().split('\n'))
        fromXargs.insert(line.toLongLong());
    EXPECT_EQ(fromXargs, fromJson);
}

}  // namespace
