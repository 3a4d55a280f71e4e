// The duplicate/file-hog window: what it shows when it opens, the criteria
// it reads, and searches from "&Start" to the rows, the shades and the
// status line, through the scripted questions and boxes.
#include "frmdup_fixture.h"

#include "core/helpers.h"
#include "finders/blockcrc.h"

#include <QFile>
#include <QTest>

using finders::TfrmDup;
using namespace duptest;

namespace {

const QString kCrcQ =
    "Compute CRC for the list of duplicates?  This results in a precise duplicate match since it is comparing "
    "the contents of the files.  However, it is much slower to compute.";
const QString kElimQ = "Eliminate those duplicates that do not have the same CRC values?  This results in a smaller list.";

}  // namespace

TEST_F(DupWindowTest, DefaultsAtShowPerMode)
{
    struct Row {
        bool dupMode;
        const char* caption;
        const char* startHint;
        QStringList titles;
        int sizeColumn;
    };
    const Row table[] = {
        {true, "Find and delete duplicate files", "Duplicates on file name only",
         {"Filename", "Size", "Modified", "Time", "Access", "Folder", "Type"}, 1},
        {false, "Find and delete file hogs", "Start scanning for file hogs",
         {"Size", "Modified", "Time", "Access", "FileName", "Type"}, 0},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(r.caption);
        TfrmDup w(nullptr, r.dupMode);
        w.show();
        EXPECT_EQ(w.windowTitle(), r.caption);
        EXPECT_EQ(w.duplicateMode(), r.dupMode);
        EXPECT_EQ(find<QWidget>(w, "cbDup")->isVisible(), r.dupMode);
        EXPECT_EQ(find<QWidget>(w, "lblDup")->isVisible(), r.dupMode);
        EXPECT_EQ(find<QLabel>(w, "lblDup")->text(), "Duplicates matching on : ");
        auto* cbDup = find<QComboBox>(w, "cbDup");
        ASSERT_EQ(cbDup->count(), 7);
        const QStringList modes = {"Filename only",
                                   "Filename and size (CRC)",
                                   "Filename, size and modify date/time (CRC)",
                                   "Size only (CRC)",
                                   "Size and modify date/time (CRC)",
                                   "Size and type",
                                   "Type and modify date/time"};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(cbDup->itemText(i), modes[i]);
        EXPECT_EQ(cbDup->currentIndex(), 1);

        EXPECT_TRUE(find<QRadioButton>(w, "rbLarger")->isChecked());
        EXPECT_EQ(find<QRadioButton>(w, "rbLarger")->text(), "Larger or equal to");
        EXPECT_EQ(find<QRadioButton>(w, "rbSmaller")->text(), "Smaller or equal to");
        EXPECT_EQ(find<QRadioButton>(w, "rbBetween")->text(), "In between");
        EXPECT_EQ(find<QSpinBox>(w, "num1")->value(), 250);
        EXPECT_EQ(find<QSpinBox>(w, "num2")->value(), 250);
        EXPECT_EQ(find<QSpinBox>(w, "num1")->maximum(), 10000);
        EXPECT_EQ(find<QSpinBox>(w, "num2")->minimum(), 0);
        EXPECT_FALSE(find<QWidget>(w, "num2")->isVisible());
        EXPECT_FALSE(find<QWidget>(w, "lblAnd")->isVisible());
        auto* unit = find<QComboBox>(w, "cbKB1");
        EXPECT_EQ(unit->count(), 2);
        EXPECT_EQ(unit->itemText(0), "bytes");
        EXPECT_EQ(unit->currentText(), "KB");
        EXPECT_EQ(find<QComboBox>(w, "cbWildCard")->currentText(), "*.*");
        EXPECT_EQ(find<QLabel>(w, "lblMatching")->text(), "Matching");
        EXPECT_EQ(find<QLabel>(w, "lblWild")->text(), "All files");
        EXPECT_EQ(find<QComboBox>(w, "cbWildCard")->itemText(0), "*.*");

        EXPECT_EQ(find<QWidget>(w, "btScan")->toolTip(), r.startHint);
        EXPECT_EQ(find<QAbstractButton>(w, "btScan")->text(), "&Start");
        EXPECT_EQ(visibleButtons(w), QStringList({"btScan", "btClose"}));
        EXPECT_TRUE(find<QWidget>(w, "btScan")->isEnabled());
        EXPECT_EQ(w.focusWidget(), find<QWidget>(w, "btScan"));
        EXPECT_FALSE(find<QWidget>(w, "btDelete")->isEnabled()) << "nothing marked";
        EXPECT_EQ(w.statusText(), "");

        EXPECT_EQ(w.results().titles(), r.titles);
        EXPECT_EQ(w.results().rowCount(), 2);
        EXPECT_EQ(rows(w), 0);
        EXPECT_EQ(w.criteria().roots, QStringList{"C: Drive_c"});
        auto* grid = find<comp::ResultGridView>(w, "grid");
        EXPECT_EQ(grid->shadingEnabled(), r.dupMode);
        EXPECT_TRUE(grid->rightAligned(r.sizeColumn));
        EXPECT_EQ(grid->shadeColor(comp::ResultGrid::ShadeA), QColor(223, 223, 223));
    }
}

TEST_F(DupWindowTest, CaptionsOfTheOtherButtons)
{
    TfrmDup w;
    const QList<std::array<const char*, 3>> table = {
        {"btClose", "Close", "Close window"},
        {"btAbort", "&Abort", ""},
        {"btMark", "&Mark", "Mark file for deletion (double click on grid also works)"},
        {"btDelete", "Clean?", "Clean up marked files"},
        {"btOptions", "Options", "Right click on grid for same options"},
        {"btBrowse", "&Browse", "Browse this file and folder"},
        {"btDetails", "&Details", "View more file details"},
        {"btCompare", "P&airs", "Compare file pairs"},
    };
    for (const auto& r : table) {
        auto* b = find<QAbstractButton>(w, r[0]);
        EXPECT_EQ(b->text(), r[1]);
        EXPECT_EQ(b->toolTip(), r[2]) << r[0];
    }
    EXPECT_TRUE(find<QWidget>(w, "btCompare")->font().bold());
    EXPECT_EQ(find<QWidget>(w, "grid")->toolTip(), "Double click to mark for deletion, right click for options");
}

TEST_F(DupWindowTest, SecondNumberOnlyWithInBetween)
{
    TfrmDup w;
    w.show();
    const char* radios[] = {"rbBetween", "rbSmaller", "rbBetween", "rbLarger"};
    for (const char* radio : radios) {
        find<QRadioButton>(w, radio)->click();
        const bool between = QLatin1String(radio) == QLatin1String("rbBetween");
        EXPECT_EQ(find<QWidget>(w, "num2")->isVisible(), between) << radio;
        EXPECT_EQ(find<QWidget>(w, "lblAnd")->isVisible(), between) << radio;
        EXPECT_EQ(find<QLabel>(w, "lblAnd")->text(), "and");
        if (between)
            snapshot(w, "frmdup-between");
    }
}

TEST_F(DupWindowTest, WildcardLabelFollowsTheText)
{
    TfrmDup w;
    w.show();
    auto* box = find<QComboBox>(w, "cbWildCard");
    const QList<std::pair<QString, QString>> table = {
        {"*.txt", "Text Document"}, {"a*.txt", ""}, {"*.*", "All files"}, {"*.doc", "Word document"}};
    for (const auto& [text, label] : table) {
        box->setEditText(text);
        EXPECT_EQ(find<QLabel>(w, "lblWild")->text(), label) << qPrintable(text);
        EXPECT_EQ(w.criteria().wildcard, text);
    }
}

TEST_F(DupWindowTest, StartNeedsATickedEntry)
{
    TfrmDup w;
    w.show();
    auto* list = find<comp::DriveCheckList>(w, "pckDrive");
    auto* start = find<QWidget>(w, "btScan");
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(start->isEnabled());
    list->setTicked(0, false);
    EXPECT_EQ(list->tickedCount(), 0);
    EXPECT_FALSE(start->isEnabled());
    list->setTicked(1, true);
    EXPECT_TRUE(start->isEnabled());
    list->clearSelection();
    EXPECT_FALSE(start->isEnabled());
    list->selectAll();
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(w.criteria().roots, QStringList({"C: Drive_c", "D: Drive_d"}));
}

TEST_F(DupWindowTest, SecondNumberBelowTheFirstStopsWithTheError)
{
    drives.writeFile('C', "a/same.txt", "12");
    drives.writeFile('C', "b/same.txt", "12");
    struct Row {
        int n1, n2;
        bool error;
    };
    const Row table[] = {{10, 9, true}, {0, 0, false}, {10, 10, false}, {3, 4000, false}};
    for (const Row& r : table) {
        SCOPED_TRACE(testing::Message() << r.n1 << " and " << r.n2);
        prompter.clear();
        TfrmDup w;
        w.show();
        setSize(w, "rbBetween", r.n1, r.n2, false);
        setMode(w, finders::mmFilename);  // no questions
        click(w, "btScan");
        if (r.error) {
            EXPECT_EQ(prompter.texts(Kind::Error),
                      QStringList{"The second number must be larger or equal than the first number"});
            EXPECT_EQ(prompter.records().size(), 1) << "nothing else happens";
            EXPECT_EQ(w.statusText(), "");
        } else {
            EXPECT_TRUE(prompter.texts(Kind::Error).isEmpty());
            EXPECT_FALSE(prompter.records().isEmpty()) << "the search ran and reported";
        }
    }
}

TEST_F(DupWindowTest, LargerOrEqualSearchThroughTheQuestions)
{
    const QByteArray big(256000, 'x');
    drives.writeFile('C', "one/Report.doc", big);
    drives.writeFile('C', "two/REPORT.DOC", big);
    drives.writeFile('C', "one/small.doc", big.left(255999));
    drives.writeFile('C', "two/small.doc", big.left(255999));
    drives.writeFile('C', "three/report.doc", QByteArray(256000, 'y'));
    drives.writeFile('C', "alone/unique.txt", big);
    const QString crcX = finders::CrcText(finders::BlockCrcSum("C:\\one\\Report.doc"));
    const QString crcY = finders::CrcText(finders::BlockCrcSum("C:\\three\\report.doc"));
    ASSERT_NE(crcX, crcY);

    struct Row {
        const char* name;
        QList<core::Answer> answers;
        QStringList questions;
        QString lastTitle;
        int rows;
    };
    using A = core::Answer;
    const Row table[] = {
        {"no checksums", {A::No}, {kCrcQ}, "Type", 3},
        {"checksums, keep all", {A::Yes, A::No}, {kCrcQ, kElimQ}, "CRC Values", 3},
        {"checksums, eliminate", {A::Yes, A::Yes}, {kCrcQ, kElimQ}, "CRC Values", 2},
        {"any answer but No", {A::Cancel, A::Ok}, {kCrcQ, kElimQ}, "CRC Values", 2},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(r.name);
        prompter.clear();
        for (A a : r.answers)
            prompter.queue(a);
        TfrmDup w;
        w.show();
        click(w, "btScan");
        EXPECT_EQ(prompter.texts(Kind::Confirm), r.questions);
        EXPECT_EQ(prompter.pendingReplies(), 0);
        EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
        EXPECT_EQ(w.results().titles().last(), r.lastTitle);
        ASSERT_EQ(rows(w), r.rows);
        EXPECT_EQ(w.results().rowCount(), r.rows + 1) << "one row per result";
        for (const QString& name : column(w, finders::dcFilename))
            EXPECT_EQ(name.toLower(), "report.doc");
        EXPECT_EQ(column(w, finders::dcSize), QStringList(r.rows, "256,000"));
        if (r.lastTitle == "CRC Values") {
            // After the checksums the shade changes wherever the checksum does.
            QString expected = "A";
            for (int row = 2; row <= rows(w); ++row) {
                const bool same = w.results().cell(row, finders::dcType) == w.results().cell(row - 1, finders::dcType);
                const QChar above = expected.back();
                expected += same ? above : (above == 'A' ? QChar('B') : QChar('A'));
            }
            EXPECT_EQ(shades(w), expected);
        } else {
            EXPECT_EQ(shades(w), QString(r.rows, 'A')) << "one group, one shade";
        }
        for (const QString& p : paths(w))
            EXPECT_TRUE(QFile::exists(drives.posix(p))) << qPrintable(p);
        EXPECT_EQ(w.statusText(), QString::number(r.rows) + " duplicates found");
        if (r.lastTitle == "CRC Values") {
            for (int row = 1; row <= rows(w); ++row) {
                const bool y = w.results().path(row).contains("three");
                EXPECT_EQ(w.results().cell(row, finders::dcType), y ? crcY : crcX);
            }
        } else {
            EXPECT_EQ(column(w, finders::dcType), QStringList(r.rows, "Word document"));
        }
        EXPECT_EQ(visibleButtons(w),
                  QStringList({"btScan", "btClose", "btMark", "btDelete", "btOptions", "btBrowse", "btDetails",
                               "btCompare"}));
        EXPECT_FALSE(find<QWidget>(w, "btDelete")->isEnabled());
        EXPECT_FALSE(w.searching());
    }
}

TEST_F(DupWindowTest, ModesWithoutChecksumAskNothing)
{
    drives.writeFile('C', "a/x.txt", "1");
    drives.writeFile('C', "b/x.txt", "2");
    for (int mode : {0, 5, 6}) {
        prompter.clear();
        TfrmDup w;
        w.show();
        setMode(w, mode);
        setSize(w, "rbSmaller", 5, 0, false);
        click(w, "btScan");
        EXPECT_TRUE(prompter.texts(Kind::Confirm).isEmpty()) << mode;
    }
}

TEST_F(DupWindowTest, GroupsAlternateShadesAndKeepTheirRealPaths)
{
    drives.writeFile('C', "Music/Song.MP3", "aaaa");
    drives.writeFile('C', "Backup/song.mp3", "bbbb");
    drives.writeFile('C', "Music/cover.jpg", "12");
    drives.writeFile('C', "Backup/cover.jpg", "34");
    drives.writeFile('C', "Backup/lonely.jpg", "34");
    TfrmDup w;
    w.show();
    setSize(w, "rbLarger", 0, 0, false);
    prompter.queue(core::Answer::No);
    click(w, "btScan");
    ASSERT_EQ(rows(w), 4);
    EXPECT_EQ(shades(w), "AABB");
    EXPECT_EQ(column(w, finders::dcFilename).mid(0, 2), QStringList({"cover.jpg", "cover.jpg"}));
    QStringList real = paths(w);
    real.sort();
    EXPECT_EQ(real, QStringList({"C:\\Backup\\cover.jpg", "C:\\Backup\\song.mp3", "C:\\Music\\Song.MP3",
                                 "C:\\Music\\cover.jpg"}));
    for (int r = 1; r <= rows(w); ++r)
        EXPECT_EQ(w.results().path(r),
                  core::JoinPath(w.results().cell(r, finders::dcFolder), w.results().cell(r, finders::dcFilename)));
    EXPECT_EQ(w.statusText(), "4 duplicates found");
    snapshot(w, "frmdup-groups");
}

TEST_F(DupWindowTest, NothingFoundSaysSo)
{
    drives.writeFile('C', "a/one.txt", "1");
    drives.writeFile('C', "b/two.txt", "22");
    struct Row {
        bool dupMode;
        const char* radio;
        int n1;
    };
    // Files that pass but have no twin, and a size no file has.
    const Row table[] = {{true, "rbLarger", 0}, {true, "rbLarger", 250}, {false, "rbLarger", 250}};
    for (const Row& r : table) {
        prompter.clear();
        TfrmDup w(nullptr, r.dupMode);
        w.show();
        setSize(w, r.radio, r.n1, 0, false);
        setMode(w, finders::mmFilename);
        click(w, "btScan");
        EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"No files found."});
        EXPECT_EQ(rows(w), 0);
        EXPECT_EQ(visibleButtons(w), QStringList({"btScan", "btClose"}));
        EXPECT_FALSE(w.statusText().endsWith("found")) << qPrintable(w.statusText());
        EXPECT_TRUE(find<QWidget>(w, "btScan")->isEnabled());
    }
}

TEST_F(DupWindowTest, FileHogsComeLargestFirstAndTheNextSizeSortReverses)
{
    drives.writeFile('C', "Big/Medium.bin", QByteArray(3000, 'm'));
    drives.writeFile('C', "Big/largest.bin", QByteArray(9000, 'l'));
    drives.writeFile('C', "small.bin", QByteArray(1500, 's'));
    drives.writeFile('C', "tiny.bin", QByteArray(10, 't'));
    const reports::SortCommand* bySize = reports::FindSortCommand(u"TfrmDup", u"&Size");
    ASSERT_NE(bySize, nullptr);
    // Whatever the flag held before, the search sorts largest first.
    reports::SetSortDescending(*bySize, false);

    TfrmDup w(nullptr, false);
    w.show();
    setSize(w, "rbLarger", 1, 0, true);
    click(w, "btScan");
    EXPECT_TRUE(prompter.texts(Kind::Confirm).isEmpty());
    ASSERT_EQ(rows(w), 3);
    EXPECT_EQ(column(w, finders::hcSize), QStringList({"9,000", "3,000", "1,500"}));
    EXPECT_EQ(shades(w), QString(3, QChar(0)));
    EXPECT_EQ(w.statusText(), "3 file hogs found");
    EXPECT_EQ(visibleButtons(w),
              QStringList({"btScan", "btClose", "btMark", "btDelete", "btOptions", "btBrowse", "btDetails"}));
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(w.results().path(r), w.results().cell(r, finders::hcFileName)) << "the first of a folder keeps its case";
    EXPECT_FALSE(reports::SortDescending(*bySize)) << "the next size sort is ascending";

    ASSERT_TRUE(reports::RunSortCommand(w.results(), *bySize));
    EXPECT_EQ(column(w, finders::hcSize), QStringList({"1,500", "3,000", "9,000"}));
    EXPECT_TRUE(reports::SortDescending(*bySize));

    // A second search sorts largest first again.
    click(w, "btScan");
    EXPECT_EQ(column(w, finders::hcSize), QStringList({"9,000", "3,000", "1,500"}));
    EXPECT_FALSE(reports::SortDescending(*bySize));
}

TEST_F(DupWindowTest, StatusCountsAreGrouped)
{
    for (int i = 0; i < 1003; ++i)
        drives.writeFile('C', QString("many/f%1.dat").arg(i), "x");
    TfrmDup w(nullptr, false);
    w.show();
    setSize(w, "rbLarger", 0, 0, false);
    click(w, "btScan");
    EXPECT_EQ(rows(w), 1003);
    EXPECT_EQ(w.statusText(), "1,003 file hogs found");
    auto* grid = find<comp::ResultGridView>(w, "grid");
    QTest::qWait(1);
    EXPECT_EQ(grid->model()->rowCount(), 1003) << "the view shows every row";
}

TEST_F(DupWindowTest, ASecondSearchStartsFromAClearedGrid)
{
    drives.writeFile('C', "a/x.txt", "1");
    drives.writeFile('C', "b/x.txt", "2");
    TfrmDup w;
    w.show();
    setMode(w, finders::mmFilename);
    setSize(w, "rbLarger", 0, 0, false);
    click(w, "btScan");
    ASSERT_EQ(rows(w), 2);
    w.results().setMarked(1, true);
    setSize(w, "rbLarger", 1, 0, true);
    click(w, "btScan");
    EXPECT_EQ(rows(w), 0);
    EXPECT_EQ(w.results().markedCount(), 0);
    EXPECT_EQ(w.results().rowCount(), 2);
    EXPECT_EQ(visibleButtons(w), QStringList({"btScan", "btClose"}));
    EXPECT_FALSE(w.statusText().endsWith("found")) << "no count for an empty result";
}
