// The pair comparison's rules: size and creation lines, checksum texts,
// which neighbouring rows form a pair, and what a side shows for a file
// that is there, gone, or has no row.
#include "core/safeharbor.h"
#include "finders/blockcrc.h"
#include "finders/dupsearch.h"
#include "finders/paircompare.h"
#include "support/localescope.h"
#include "support/tempdrives.h"

#include <QFile>
#include <gtest/gtest.h>

#include <utime.h>

using namespace finders;

namespace {

core::PackedDosDateTime Dos(int y, int mo, int d, int h, int mi)
{
    return core::DateTimeToDos(QDateTime(QDate(y, mo, d), QTime(h, mi)));
}

// Rows of the duplicate list: name, size, date, time, type; paths made up.
comp::ResultGrid Rows(const QList<QStringList>& rows)
{
    comp::ResultGrid g(7, int(rows.size()) + 1);
    g.setTitles(DupTitles());
    int r = 1;
    for (const QStringList& c : rows) {
        QStringList cells(7);
        cells[dcFilename] = c[0];
        cells[dcSize] = c[1];
        cells[dcModified] = c[2];
        cells[dcTime] = c[3];
        cells[dcType] = c[4];
        cells[dcFolder] = "C:\\d" + QString::number(r);
        g.setRow(r, cells, cells[dcFolder] + "\\" + c[0]);
        ++r;
    }
    g.setRowsUsed(int(rows.size()));
    return g;
}

}  // namespace

TEST(PairCompare, SizeLines)
{
    testing_support::LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::tuple<double, double, const char*> cases[] = {
        {1000, 1100, "10% larger"},
        {1000, 1005, "Slightly larger"},
        {2000, 1000, "100% smaller"},
        {1000, 995, "Slightly smaller"},
        {1000, 1015, "2% larger"},
        {1, 100001, "10,000,000% larger"},
        {1000, 1000, "Same size"},
        // An empty file: no share of nothing.
        {0, 10, "Larger (left file is empty)"},
        {10, 0, "Empty file"},
        {0, 0, "Same size"},
    };
    for (const auto& [s1, s2, text] : cases)
        EXPECT_EQ(SizeCompareText(s1, s2), text) << s1 << " " << s2;
}

TEST(PairCompare, CreationLines)
{
    const auto base = Dos(2023, 5, 10, 9, 0);
    const std::tuple<core::PackedDosDateTime, core::PackedDosDateTime, const char*> cases[] = {
        {base, base, "Same Creation Date/Time"},
        {base, Dos(2023, 5, 10, 12, 25), "03 hrs 25 min newer"},
        {base, Dos(2023, 5, 10, 8, 0), "01 hrs 00 min older"},
        {base, Dos(2023, 5, 5, 9, 0), "5 days older"},
        {Dos(2023, 5, 10, 23, 58), Dos(2023, 5, 11, 0, 2), "1 days newer"},
        {0, base, "???"},
        {base, 0, "???"},
    };
    for (const auto& [c1, c2, text] : cases)
        EXPECT_EQ(CreationCompareText(c1, c2), text) << text;
}

TEST(PairCompare, ChecksumTexts)
{
    const quint32 abc = BlockCrcSumOf("abc", 3);
    ASSERT_EQ(abc, 0x352441C2u);
    using Texts = std::pair<QString, QString>;
    const std::tuple<std::optional<quint32>, std::optional<quint32>, Texts> cases[] = {
        {abc, abc, {"352441C2 file contents are identical", "352441C2 file contents are identical"}},
        {abc, 0x1Fu, {"352441C2 file contents differ", "      1F file contents differ"}},
        // A file that cannot be read is never called identical.
        {std::nullopt, abc, {"Cannot read file", "352441C2"}},
        {std::nullopt, std::nullopt, {"Cannot read file", "Cannot read file"}},
    };
    for (const auto& [a, b, texts] : cases)
        EXPECT_EQ(CrcCompareTexts(a, b), texts) << texts.first.toStdString();
}

TEST(PairCompare, SteppingFollowsTheMatchingMode)
{
    // Rows: 1 a/5/d1, 2 A/5/d2, 3 b/5/d1, 4 b/5/d1, 5 c/7/d1.
    const comp::ResultGrid g = Rows({{"a", "5", "d1", "t", "Text"},
                                     {"A", "5", "d2", "t", "Text"},
                                     {"b", "5", "d1", "t", "Text"},
                                     {"b", "5", "d1", "t", "Doc"},
                                     {"c", "7", "d1", "t", "Doc"}});
    struct Case {
        int mode;
        int start;
        const char* steps;  // n: next, p: prev
        QList<int> rows;    // r after each step; 0: end or start of list
    };
    const Case cases[] = {
        // No match before the last row: the stepping stops there, with no
        // right-hand row.
        {mmFilename, 1, "nnnn", {3, 5, 0, 0}},
        // Mode 2 skips neighbours that differ only in their date.
        {mmFilenameSizeDateTime, 1, "nn", {3, 5}},
        {mmSize, 1, "nnnn", {2, 3, 5, 0}},
        {mmSizeType, 1, "nn", {2, 5}},
        {mmTypeDateTime, 3, "nn", {4, 0}},
        {mmFilename, 4, "ppp", {3, 1, 0}},
        {mmFilenameSizeDateTime, 3, "p", {1}},
        {mmFilename, 1, "p", {0}},
    };
    for (const Case& c : cases) {
        PairList pairs;
        pairs.load(g, c.start, c.mode);
        QList<int> seen;
        for (const char* s = c.steps; *s; ++s) {
            const auto step = *s == 'n' ? pairs.next() : pairs.prev();
            seen << (step == PairList::Step::Moved ? pairs.current() : 0);
        }
        EXPECT_EQ(seen, c.rows) << "mode " << c.mode << " " << c.steps;
    }
}

TEST(PairCompare, SidesOfFilesThereGoneAndWithoutRow)
{
    testing_support::TempDrives drives("C");
    testing_support::LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString left = drives.writeFile('C', "x/same.bin", QByteArray(1000, 'a'));
    const QString right = drives.writeFile('C', "y/same.bin", QByteArray(1100, 'a'));
    drives.writeFile('C', "z/same.bin", "gone soon");
    const QDateTime t(QDate(2022, 1, 2), QTime(3, 4, 6));
    const struct utimbuf older = {t.toSecsSinceEpoch(), t.toSecsSinceEpoch()};
    const struct utimbuf newer = {t.addDays(3).toSecsSinceEpoch(), t.addDays(3).toSecsSinceEpoch()};
    ASSERT_EQ(::utime(QFile::encodeName(left).constData(), &older), 0);
    ASSERT_EQ(::utime(QFile::encodeName(right).constData(), &newer), 0);

    comp::ResultGrid g(7, 4);
    g.setTitles(DupTitles());
    int r = 1;
    for (const char* folder : {"C:\\x", "C:\\y", "C:\\z"}) {
        QStringList cells(7);
        cells[dcFilename] = "same.bin";
        cells[dcFolder] = folder;
        g.setRow(r++, cells, QString(folder) + "\\same.bin");
    }
    g.setRowsUsed(3);
    ASSERT_TRUE(QFile::remove(drives.posix(QString("C:\\z\\same.bin"))));

    core::SafeHarbor harbor;
    harbor.SetProtectedExtensions({"*.bin"});
    PairList pairs;
    pairs.load(g, 1, mmFilename);
    pairs.fill(harbor);
    const PairSide& a = pairs.left();
    const PairSide& b = pairs.right();
    ASSERT_TRUE(a.found() && b.found());
    EXPECT_EQ(a.sizeText, "1,000 bytes");
    EXPECT_EQ(b.simpleSize, "10% larger");
    EXPECT_EQ(a.simpleSize, "1,000 bytes");
    EXPECT_EQ(a.harborText, "** In Non-Delete List **");
    EXPECT_EQ(a.versionLines, QStringList{"Extended profile absent"});
    EXPECT_EQ(pairs.modifyArrow(), Arrow::Right);
    EXPECT_EQ(pairs.accessArrow(), Arrow::Right);
    EXPECT_EQ(pairs.differences(), QList<bool>({true, false, pairs.left().createText != pairs.right().createText,
                                                 true, true, false, false}));
    EXPECT_FALSE(pairs.autoCrcApplies());
    pairs.computeCrc();
    EXPECT_TRUE(a.crcText.endsWith(" file contents differ"));

    // The next pair: its right file is gone. Its row's name and folder,
    // "File not found", nothing else, and nothing of the pair before.
    ASSERT_EQ(pairs.next(), PairList::Step::Moved);
    pairs.fill(harbor);
    const PairSide& gone = pairs.right();
    EXPECT_EQ(gone.state, PairSide::State::Missing);
    EXPECT_EQ(gone.name, "same.bin");
    EXPECT_EQ(gone.folder, "C:\\z");
    EXPECT_EQ(gone.sizeText, "File not found");
    EXPECT_TRUE(gone.createText.isEmpty() && gone.harborText.isEmpty() && gone.versionLines.isEmpty());
    EXPECT_EQ(pairs.modifyArrow(), Arrow::Hidden);
    EXPECT_TRUE(pairs.canComputeCrc());
    pairs.computeCrc();
    EXPECT_EQ(gone.crcText, "Cannot read file");
    EXPECT_FALSE(pairs.left().crcText.contains("identical"));

    // The last row has no right neighbour: an empty side, no checksums.
    pairs.load(g, 3, mmFilename);
    pairs.fill(harbor);
    EXPECT_EQ(pairs.right().state, PairSide::State::NoRow);
    EXPECT_TRUE(pairs.right().name.isEmpty() && pairs.right().sizeText.isEmpty());
    EXPECT_FALSE(pairs.canComputeCrc());
}
