// The result grid view: title clicks (press and release on one point),
// drawing of shades, marks and the window's own cell looks, the current row,
// column widths, and a million rows on show.
#include "components/resultgridview.h"

#include "core/helpers.h"
#include "core/settings.h"
#include "support/localescope.h"
#include "support/tempdrives.h"

#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using comp::ResultGrid;
using comp::ResultGridView;

namespace {

class ResultGridViewTest : public ::testing::Test {
protected:
    ResultGridView view;

    void SetUp() override
    {
        ResultGrid& g = view.grid();
        g.reset({"Name", "Size", "Folder"});
        for (int r = 1; r <= 6; ++r)
            g.addRow({QStringLiteral("f%1").arg(r), QStringLiteral("%1").arg(r * 1111), QStringLiteral("C:\\")},
                     QStringLiteral("C:\\f%1").arg(r));
        g.fitRowCount();
        view.sync();
        view.resize(500, 300);
        view.setColumnWidths({120, 120, 120});
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QPoint titlePoint(int column) const
    {
        const QHeaderView* h = view.horizontalHeader();
        return QPoint(h->sectionViewportPosition(column) + 30, h->height() / 2);
    }

    QRect cellRect(int row, int column) const
    {
        return view.visualRect(view.gridModel()->index(row - 1, column));
    }

    QImage picture() { return view.viewport()->grab().toImage(); }
};

TEST_F(ResultGridViewTest, TitleClickIsPressAndReleaseOnOnePoint)
{
    QWidget* titles = view.horizontalHeader()->viewport();
    QSignalSpy clicked(&view, &ResultGridView::titleClicked);

    const QPoint p = titlePoint(1);
    QTest::mousePress(titles, Qt::LeftButton, {}, p);
    QTest::mouseRelease(titles, Qt::LeftButton, {}, p);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);

    // Pressed here, released a few pixels on: no click.
    QTest::mousePress(titles, Qt::LeftButton, {}, p);
    QTest::mouseMove(titles, p + QPoint(4, 0));
    QTest::mouseRelease(titles, Qt::LeftButton, {}, p + QPoint(4, 0));
    EXPECT_EQ(clicked.count(), 1);

    // Released one pixel away, with no move in between: still no click.
    QTest::mousePress(titles, Qt::LeftButton, {}, p);
    QTest::mouseRelease(titles, Qt::LeftButton, {}, p + QPoint(0, 1));
    EXPECT_EQ(clicked.count(), 1);

    // The right button does not sort.
    QTest::mousePress(titles, Qt::RightButton, {}, titlePoint(2));
    QTest::mouseRelease(titles, Qt::RightButton, {}, titlePoint(2));
    EXPECT_EQ(clicked.count(), 1);

    QTest::mouseClick(titles, Qt::LeftButton, {}, titlePoint(2));
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(1).at(0).toInt(), 2);
}

TEST_F(ResultGridViewTest, DraggingAColumnBorderDoesNotSort)
{
    QHeaderView* h = view.horizontalHeader();
    QSignalSpy clicked(&view, &ResultGridView::titleClicked);
    const int before = view.columnWidth(0);
    const QPoint border(h->sectionViewportPosition(0) + h->sectionSize(0) - 1, h->height() / 2);
    QTest::mousePress(h->viewport(), Qt::LeftButton, {}, border);
    QTest::mouseMove(h->viewport(), border + QPoint(15, 0));
    QTest::mouseMove(h->viewport(), border + QPoint(30, 0));
    QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, border + QPoint(30, 0));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_GT(view.columnWidth(0), before);
}

TEST_F(ResultGridViewTest, ShadeAIsLightGrey)
{
    ResultGrid& g = view.grid();
    g.setShade(2, ResultGrid::ShadeA);
    g.setShade(3, ResultGrid::ShadeB);
    view.sync();
    const QRect a = cellRect(2, 2), b = cellRect(3, 2);
    QImage img = picture();
    const QPoint pa(a.right() - 3, a.center().y()), pb(b.right() - 3, b.center().y());
    EXPECT_EQ(img.pixelColor(pa), QColor(223, 223, 223));
    const QColor base = view.palette().color(QPalette::Base);
    EXPECT_EQ(img.pixelColor(pb), base);

    // Saving a web page switches shading off.
    view.setShadingEnabled(false);
    img = picture();
    EXPECT_EQ(img.pixelColor(pa), base);
}

TEST_F(ResultGridViewTest, MarkedRowShowsTheMarkPicture)
{
    view.setMarkColumn(0);
    auto redPixels = [this](int row) {
        const QImage img = picture();
        const QRect r = cellRect(row, 0);
        int n = 0;
        for (int y = r.top(); y < r.top() + 18 && y <= r.bottom(); ++y)
            for (int x = r.left(); x < r.left() + 18; ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
                    ++n;
            }
        return n;
    };
    EXPECT_EQ(redPixels(4), 0);
    view.grid().setMarked(4, true);
    view.sync();
    EXPECT_GT(redPixels(4), 5);
    EXPECT_EQ(redPixels(5), 0);
}

TEST_F(ResultGridViewTest, WindowHookColoursCells)
{
    QList<int> askedRows;
    view.setCellLookHook([&](int row, int column, ResultGridView::CellLook& look) {
        askedRows << row;
        if (row == 5 && column == 2) {
            look.background = QColor(0, 0, 200);
            look.bold = true;
        }
    });
    const QImage img = picture();
    const QRect r = cellRect(5, 2);
    EXPECT_EQ(img.pixelColor(r.right() - 2, r.center().y()), QColor(0, 0, 200));
    EXPECT_TRUE(askedRows.contains(5));
    EXPECT_FALSE(askedRows.contains(0));  // the titles are not data rows
}

TEST_F(ResultGridViewTest, RightAlignedColumn)
{
    // Where the text's dark pixels lie within a cell.
    auto inkSpan = [this](int row, int column) -> std::pair<int, int> {
        const QImage img = picture();
        const QRect r = cellRect(row, column);
        int lo = INT_MAX, hi = -1;
        for (int y = r.top(); y < r.bottom(); ++y)
            for (int x = r.left(); x < r.right(); ++x)
                if (img.pixelColor(x, y).lightness() < 100) {
                    lo = std::min(lo, x - r.left());
                    hi = std::max(hi, x - r.left());
                }
        return {lo, hi};
    };
    view.setRightAligned(1, true);
    // The title goes the way of its column.
    auto titleAlignment = [this](int column) {
        return view.gridModel()->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(titleAlignment(1), Qt::AlignRight);
    EXPECT_EQ(titleAlignment(0), Qt::AlignLeft);
    const auto [lo, hi] = inkSpan(2, 1);
    if (hi < 0)
        GTEST_SKIP() << "no fonts to draw with";
    const int width = cellRect(2, 1).width();
    EXPECT_GT(lo, width / 2);
    EXPECT_GE(hi, width - 6);
    const auto [lo0, hi0] = inkSpan(2, 0);
    EXPECT_LE(lo0, 4);
    EXPECT_LT(hi0, width / 2);
}

TEST_F(ResultGridViewTest, CurrentRowAndDoubleClick)
{
    view.setCurrentRow(3);
    EXPECT_EQ(view.currentRow(), 3);
    QSignalSpy doubled(&view, &ResultGridView::rowDoubleClicked);
    // A real double click: press and release, then the double-click event.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cellRect(5, 1).center());
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cellRect(5, 1).center());
    ASSERT_EQ(doubled.count(), 1);
    EXPECT_EQ(doubled.at(0).at(0).toInt(), 5);
    EXPECT_EQ(view.gridRowAt(cellRect(4, 0).center()), 4);
    EXPECT_EQ(view.gridRowAt(QPoint(5, view.viewport()->height() - 2)), 0);
}

TEST_F(ResultGridViewTest, ColumnWidthsFollowTheSettings)
{
    testing_support::TempDrives drives{"C"};
    view.loadColumnWidths(QStringLiteral("frmTest"), {69, 66, 101});
    const int dpi = view.logicalDpiX();
    EXPECT_EQ(view.columnWidths(), (QList<int>{dpi * 69 / 96, dpi * 66 / 96, dpi * 101 / 96}));
    view.setColumnWidths({50, 60, 70});
    view.saveColumnWidths(QStringLiteral("frmTest"));
    EXPECT_EQ(core::SettingsStore::readString(QStringLiteral("frmTest"), QStringLiteral("ColWid2")),
              QStringLiteral("70"));
    ResultGridView other;
    other.grid().reset({"a", "b", "c"});
    other.sync();
    other.loadColumnWidths(QStringLiteral("frmTest"), {69, 66, 101});
    EXPECT_EQ(other.columnWidths(), (QList<int>{50, 60, 70}));
}

// Sizes, dates and times in every locale the program is tested in, and a
// long folder: whatever the widths set, a number, date or time shows whole in
// the rectangle the view draws it in; a long text shows its start and end
// around "…" and its tooltip holds it whole.
TEST(ResultGridViewWidthTest, NumbersDatesAndTimesAreNeverCut)
{
    using Kind = ResultGridView::ColumnKind;
    const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::French),
                               QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Hindi, QLocale::India)};
    const qint64 sizes[] = {0, 7, 12000000, 999999999999};
    const QDateTime times[] = {QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58)),
                               QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0)),
                               QDateTime(QDate(2011, 11, 11), QTime(11, 11, 10))};
    const QString longFolder = "C:\\" + QString("deep\\").repeated(59) + "zz";  // 300 characters
    ASSERT_EQ(longFolder.size(), 300);

    for (const QLocale& locale : locales) {
        SCOPED_TRACE(locale.name().toStdString());
        testing_support::LocaleScope scope(locale);
        ResultGridView view;
        ResultGrid& g = view.grid();
        g.reset({"Filename", "Size", "Modified", "Time", "Folder"});
        view.setColumnKind(1, Kind::Number);
        view.setColumnKind(2, Kind::Date);
        view.setColumnKind(3, Kind::Time);
        view.setRightAligned(1, true);
        view.setMarkColumn(0);
        int row = 0;
        for (qint64 size : sizes)
            for (const QDateTime& t : times) {
                const core::PackedDosDateTime dos = core::DateTimeToDos(t);
                row = g.addRow({"a.txt", core::FormatGrouped(size), core::DosDateText(dos), core::DosTimeText(dos),
                                row % 2 ? longFolder : QString("C:\\x")});
            }
        g.setMarked(1, true);
        g.fitRowCount();
        view.sync();
        // The widths of the windows at 96 dots per inch, too narrow for the
        // larger numbers of most fonts.
        view.setColumnWidths({93, 58, 64, 70, 184});
        view.resize(900, 400);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

        const QFontMetrics metrics(view.font(), view.viewport());
        for (int r = 1; r <= g.rowsUsed(); ++r)
            for (int c : {1, 2, 3}) {
                const QString text = g.cell(r, c);
                ASSERT_FALSE(text.isEmpty());
                EXPECT_EQ(view.shownText(r, c).toStdString(), text.toStdString()) << r << "," << c;
                EXPECT_LE(metrics.horizontalAdvance(text), view.cellTextRect(r, c).width())
                    << text.toStdString() << " in column " << c;
                EXPECT_TRUE(view.cellToolTip(r, c).isEmpty());
            }
        // The widths set stay the smallest; the title stays whole.
        EXPECT_GE(view.columnWidth(1), 58);
        EXPECT_GE(view.columnWidth(2), view.horizontalHeader()->sectionSizeHint(2));

        // Text columns keep their width.
        EXPECT_EQ(view.columnWidth(0), 93);
        EXPECT_EQ(view.columnWidth(4), 184);
        const int longRow = 2;
        ASSERT_EQ(g.cell(longRow, 4), longFolder);
        const QString shown = view.shownText(longRow, 4);
        EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
        EXPECT_TRUE(shown.startsWith("C:\\deep"));
        EXPECT_TRUE(shown.endsWith("\\zz"));
        EXPECT_LE(metrics.horizontalAdvance(shown), view.cellTextRect(longRow, 4).width());
        EXPECT_EQ(view.cellToolTip(longRow, 4), longFolder);
        EXPECT_EQ(view.shownText(1, 4), "C:\\x");
        EXPECT_TRUE(view.cellToolTip(1, 4).isEmpty());
        // The mark picture takes room from the text beside it.
        EXPECT_EQ(view.cellTextRect(1, 0).left(), view.visualRect(view.gridModel()->index(0, 0)).left() + 18);
    }
}

// Widths follow the fills: rows added later widen a column, a drag cannot
// make it narrower than its widest cell, and a new fill starts again from
// the width set.
TEST(ResultGridViewWidthTest, WidthsFollowEachFill)
{
    ResultGridView view;
    ResultGrid& g = view.grid();
    g.reset({"Size", "Name"});
    view.setColumnKind(0, ResultGridView::ColumnKind::Number);
    view.setColumnWidths({40, 100});
    view.resize(600, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy fitted(&view, &ResultGridView::columnsFitted);
    const QFontMetrics metrics(view.font(), view.viewport());
    auto fits = [&](int row) { return metrics.horizontalAdvance(g.cell(row, 0)) <= view.cellTextRect(row, 0).width(); };

    g.addRow({"1", "a"});
    view.sync();
    const int small = view.columnWidth(0);
    EXPECT_EQ(small, std::max(40, view.neededWidth(0)));
    // A grid grows by whole blocks of empty rows: a row written into one
    // after the view caught up is still measured.
    for (int k = 0; k < 10; ++k)
        g.addRow({k == 9 ? "123,456,789,012,345" : "2", "b"});
    view.sync();
    EXPECT_TRUE(fits(11));
    EXPECT_GT(view.columnWidth(0), small);
    EXPECT_GE(fitted.count(), 1);

    const int wide = view.columnWidth(0);
    view.horizontalHeader()->resizeSection(0, 20);
    EXPECT_EQ(view.columnWidth(0), wide);
    view.setColumnWidths({30, 100});
    EXPECT_EQ(view.columnWidth(0), wide);

    // A new fill with small numbers only: back to the width set.
    g.reset({"Size", "Name"});
    g.addRow({"5", "c"});
    view.sync();
    EXPECT_TRUE(fits(1));
    EXPECT_EQ(view.columnWidth(0), std::max(30, view.neededWidth(0)));
    EXPECT_LT(view.columnWidth(0), wide);
}

TEST(ResultGridViewBigTest, AMillionRowsOnShow)
{
    const int n = 1000000;
    ResultGrid g;
    g.reset({"Size", "Name"});
    for (int k = 1; k <= n; ++k)
        g.addRow({QString::number(k), QStringLiteral("file%1").arg(k)});
    g.fitRowCount();

    ResultGridView view;
    view.setGrid(&g);
    EXPECT_EQ(view.gridModel()->rowCount(), n);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.scrollToBottom();
    view.setCurrentRow(n);
    EXPECT_EQ(view.currentRow(), n);
    (void)view.viewport()->grab();

    // Grown and shrunk again while shown.
    for (int k = 0; k < 120; ++k)
        g.addRow({QStringLiteral("x"), QStringLiteral("y")});
    QCoreApplication::processEvents();
    EXPECT_EQ(view.gridModel()->rowCount(), g.rowCount() - 1);
    g.reset({"Size", "Name"});
    view.sync();
    EXPECT_EQ(view.gridModel()->rowCount(), 1);
}

}  // namespace
