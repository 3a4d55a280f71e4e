// The listings: printed cells and lines, the printing frame with its
// failures, a real listing through a PDF file, the web page line by line and
// on disk, and the clipboard texts.
#include "reports/cliptext.h"
#include "reports/listings.h"

#include "core/helpers.h"
#include "core/scriptedprompter.h"
#include "platform/drives.h"
#include "support/tempdrives.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using reports::WebCellLook;

namespace {

class ListingsTest : public ::testing::Test {
protected:
    void SetUp() override { core::setPrompter(&prompter); }
    void TearDown() override { core::setPrompter(nullptr); }
    QStringList errors() const { return prompter.texts(core::ScriptedPrompter::Kind::Error); }

    testing_support::TempDrives drives{"C"};
    core::ScriptedPrompter prompter;
};

comp::ResultGrid hogGrid()
{
    comp::ResultGrid g(2, 2);
    g.setTitles({"Size", "FileName"});
    g.setRow(1, {"1,234", "C:\\a.txt"}, "C:\\a.txt");
    g.setRowsUsed(1);
    return g;
}

// Records what a listing writes; fails open or a chosen line on request.
class FakeTarget : public reports::ListingTarget {
public:
    bool failOpen = false;
    int failAtLine = -1;
    QStringList lines;
    bool opened = false, closed = false;
    bool open() override { return opened = !failOpen; }
    bool writeLine(const QString& line) override
    {
        if (int(lines.size()) == failAtLine)
            return false;
        lines << line;
        return true;
    }
    void close() override { closed = true; }
};

QString pdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(ListingCellTest, WidthInCharactersIsPixelsBySix)
{
    struct Case {
        QString text;
        int pixels;
        QString printed;
    };
    const Case cases[] = {
        {"abc", 93, "abc            " " "},  // 15 characters and the blank
        {"1,234", 58, "1,234    " " "},
        {QString(40, u'x'), 184, QString(30, u'x') + " "},
        {"cut here", 24, "cut  "},  // 4 characters: cut
        {"exact", 30, "exact "},
        {"narrow", 5, " "},  // below 6 pixels: an empty field
        {"", 12, "   "},
        {"neg", -6, " "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reports::ListingCell(c.text, c.pixels), c.printed) << c.text.toStdString() << " " << c.pixels;
}

TEST(ListingRowsTest, TitleRowFirstAndEmptyRowsAsBlanks)
{
    comp::ResultGrid g(3, 2);
    g.setTitles({"Filename", "Size", "Folder"});
    const QStringList rows = reports::GridListingRows(g, {93, 58, 184});
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], QString("Filename       ") + " " + "Size     " + " " + "Folder" + QString(24, u' ') + " ");
    EXPECT_EQ(rows[1], QString(15 + 1 + 9 + 1 + 30 + 1, u' '));
    // A column without a known width prints as an empty field.
    EXPECT_EQ(reports::GridListingRows(g, {93}).at(0), QString("Filename        ") + " " + " ");
}

TEST(ListingHeadTest, TitleDateLineAndTwoEmptyLines)
{
    core::SetShortDateFormat("dd/MM/yyyy");
    const QDateTime when(QDate(2026, 3, 4), QTime(13, 5, 6));
    const QString time = QLocale().toString(when.time(), core::LongTimeFormat());
    EXPECT_EQ(reports::ListingHead("My title", when),
              QStringList({"My title", "Printed : 04/03/2026  " + time, "", ""}));
    EXPECT_EQ(reports::ListingHead("T", when, "   "),
              QStringList({"   T", "   Printed : 04/03/2026  " + time, "", ""}));
    core::SetShortDateFormat(QString());
}

TEST_F(ListingsTest, WriteListingWritesHeadThenBody)
{
    FakeTarget t;
    EXPECT_TRUE(reports::WriteListing(t, {"h1", "h2"}, {"b1", "b2"}));
    EXPECT_EQ(t.lines, QStringList({"h1", "h2", "b1", "b2"}));
    EXPECT_TRUE(t.closed);
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(ListingsTest, PrintFailuresShowTheBoxAndStop)
{
    struct Case {
        const char* what;
        bool failOpen;
        int failAt;
        QStringList written;
        bool closed;
    };
    const Case cases[] = {
        {"open", true, -1, {}, false},
        {"title", false, 0, {}, true},
        {"date line", false, 1, {"h1"}, true},
        {"a row", false, 3, {"h1", "h2", "b1"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.clear();
        FakeTarget t;
        t.failOpen = c.failOpen;
        t.failAtLine = c.failAt;
        EXPECT_FALSE(reports::WriteListing(t, {"h1", "h2"}, {"b1", "b2", "b3"}));
        EXPECT_EQ(t.lines, c.written);
        EXPECT_EQ(t.closed, c.closed);
        EXPECT_EQ(errors(), QStringList{"Error printing report ... quitting"});
    }
}

TEST_F(ListingsTest, GridListingPrintsIntoAPdfWithColumnsLinedUp)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    comp::ResultGrid g(3, 3);
    g.setTitles({"Filename", "Size", "Folder"});
    g.setRow(1, {"a-very-long-file-name.txt", "1,234", "C:\\one"}, "C:\\one\\a-very-long-file-name.txt");
    g.setRow(2, {"b.txt", "5", "C:\\two"}, "C:\\two\\b.txt");
    core::PrintTarget target;
    target.pdfFile = "C:\\listing.pdf";
    ASSERT_TRUE(reports::PrintGridListing(g, {93, 58, 184}, "Duplicates larger or equal to 0 bytes", target));
    EXPECT_TRUE(errors().isEmpty());

    const QString pdf = drives.posix(QString("C:\\listing.pdf"));
    ASSERT_TRUE(QFileInfo(pdf).size() > 0);
    const QStringList lines = pdfText(pdf).split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0].trimmed(), "Duplicates larger or equal to 0 bytes");
    EXPECT_TRUE(lines[1].trimmed().startsWith("Printed : ")) << lines[1].toStdString();
    // The rows: names cut to 15 characters, each column starting at the
    // same place in every line.
    QStringList rows;
    for (const QString& l : lines)
        if (l.contains("Filename") || l.contains("C:\\"))
            rows << l;
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[1].contains("a-very-long-fil ")) << rows[1].toStdString();
    EXPECT_FALSE(rows[1].contains("a-very-long-file"));
    const qsizetype sizeAt = rows[0].indexOf("Size");
    EXPECT_EQ(rows[1].indexOf("1,234"), sizeAt);
    EXPECT_EQ(rows[2].indexOf("5"), sizeAt);
    const qsizetype folderAt = rows[0].indexOf("Folder");
    EXPECT_EQ(rows[1].indexOf("C:\\one"), folderAt);
    EXPECT_EQ(rows[2].indexOf("C:\\two"), folderAt);
}

TEST(ListListingLinesTest, EveryLineComesAfterThreeBlanks)
{
    // Checked here rather than in the PDF, whose text extraction may drop
    // leading blanks.
    EXPECT_EQ(reports::ListListingLines({"line 000", "", "  two blanks", "C:\\a.txt"}),
              QStringList({"   line 000", "   ", "     two blanks", "   C:\\a.txt"}));
    EXPECT_TRUE(reports::ListListingLines({}).isEmpty());
}

TEST_F(ListingsTest, ListListingIndentsEveryLineAndStartsNewPages)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QString("line %1").arg(i, 3, 10, QChar('0'));
    core::PrintTarget target;
    target.pdfFile = "C:\\list.pdf";
    ASSERT_TRUE(reports::PrintListListing(lines, "Details of C:\\a.txt", target));
    const QString text = pdfText(drives.posix(QString("C:\\list.pdf")));
    EXPECT_TRUE(text.contains("Details of C:\\a.txt"));
    EXPECT_TRUE(text.contains("Printed : "));
    for (const char* probe : {"line 000", "line 150", "line 299"})
        EXPECT_TRUE(text.contains(probe)) << probe;
    // 300 lines of 8 points do not fit on one page.
    EXPECT_GE(text.count(QChar('\f')), 1);
}

TEST_F(ListingsTest, PrintToAnUnwritablePlaceFails)
{
    const comp::ResultGrid g = hogGrid();
    for (const char* where : {"C:\\no such folder\\x.pdf", "Q:\\x.pdf"}) {
        prompter.clear();
        core::PrintTarget target;
        target.pdfFile = where;
        EXPECT_FALSE(reports::PrintGridListing(g, {64, 296}, "T", target)) << where;
        EXPECT_EQ(errors(), QStringList{"Error printing report ... quitting"}) << where;
    }
}

TEST(WebCellTextTest, EscapesAngleBracketsAndBreaksOnCarriageReturns)
{
    struct Case {
        QString cell;
        QString page;
    };
    const Case cases[] = {
        {"", "<br>"},
        {"plain", "plain"},
        {"one\r\ntwo", "one<br>\ntwo"},
        {"a\rb\rc", "a<br>b<br>c"},
        {"Tom & Jerry.txt", "Tom & Jerry.txt"},
        {"C:\\<odd>.txt", "C:\\&lt;odd&gt;.txt"},
        {"&lt;", "&lt;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reports::WebCellText(c.cell), c.page) << c.cell.toStdString();
}

TEST(WebPageLinesTest, TheTenLinesOfAFileHogListing)
{
    const QStringList expected = {
        "<table border=1>",
        "<tr>",
        "<td nowrap BGCOLOR=\"#C0C0C0\"><B>Size</B></td>",
        "<td nowrap BGCOLOR=\"#C0C0C0\"><B>FileName</B></td>",
        "</tr>",
        "<tr>",
        "<td nowrap>1,234</td>",
        "<td nowrap>C:\\a.txt</td>",
        "</tr>",
        "</table><p>",
    };
    EXPECT_EQ(reports::WebPageLines(hogGrid()), expected);
}

TEST(WebPageLinesTest, EmptyCellIsABreak)
{
    comp::ResultGrid g = hogGrid();
    g.setCell(1, 0, "");
    EXPECT_EQ(reports::WebPageLines(g).at(6), "<td nowrap><br></td>");
}

TEST(WebPageLinesTest, TheWindowsCellRule)
{
    comp::ResultGrid g = hogGrid();
    const reports::WebCellRule rule = [](int row, int column, WebCellLook& look) {
        if (column == 0)
            look.align = WebCellLook::Right;
        if (row == 0 && column == 1)
            look.align = WebCellLook::Center;
        if (row == 0)
            look.bold = false;  // the titles are bold whatever the rule says
        if (row == 1 && column == 1) {
            look.background = QColor(223, 223, 223);
            look.text = QColor(255, 0, 10);
            look.bold = true;
            look.italic = true;
        }
    };
    const QStringList lines = reports::WebPageLines(g, rule);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[2], "<td nowrap align=\"right\" BGCOLOR=\"#C0C0C0\"><B>Size</B></td>");
    EXPECT_EQ(lines[3], "<td nowrap align=\"center\" BGCOLOR=\"#C0C0C0\"><B>FileName</B></td>");
    EXPECT_EQ(lines[6], "<td nowrap align=\"right\">1,234</td>");
    EXPECT_EQ(lines[7],
              "<td nowrap BGCOLOR=\"#DFDFDF\"><font color=\"#FF000A\"><B><I>C:\\a.txt</I></B></font></td>");
}

TEST_F(ListingsTest, WebPageOnDiskHasCrLfLinesAndReplacesTheOldFile)
{
    const QString posix = drives.writeFile('C', "page.htm", QByteArray(5000, 'z'));
    ASSERT_TRUE(reports::SaveGridAsWebPage(hogGrid(), "C:\\page.htm"));
    QFile f(posix);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray expected = reports::WebPageLines(hogGrid()).join("\r\n").toUtf8() + "\r\n";
    EXPECT_EQ(f.readAll(), expected);
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(ListingsTest, WebPageThatCannotBeWrittenIsReported)
{
    for (const char* where : {"C:\\missing\\page.htm", "Q:\\page.htm"}) {
        prompter.clear();
        EXPECT_FALSE(reports::SaveGridAsWebPage(hogGrid(), where)) << where;
        ASSERT_EQ(errors().size(), 1) << where;
        EXPECT_TRUE(errors()[0].startsWith(QString("Cannot write the web page ") + where)) << where;
    }
}

TEST_F(ListingsTest, WebPageOverAFileThatCannotBeReplacedKeepsIt)
{
    const QString posix = drives.writeFile('C', "keep/page.htm", "old contents");
    const QString folder = QFileInfo(posix).absolutePath();
    if (!testing_support::immutableSupported(folder))
        GTEST_SKIP() << "cannot make a folder that refuses writes here";
    ASSERT_TRUE(testing_support::setImmutable(folder, true));
    const bool saved = reports::SaveGridAsWebPage(hogGrid(), "C:\\keep\\page.htm");
    testing_support::setImmutable(folder, false);
    EXPECT_FALSE(saved);
    EXPECT_EQ(errors().size(), 1);
    QFile f(posix);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old contents"));
}

TEST(WebPageSaveRequestTest, TheMainWindowsSaveDialog)
{
    const core::SaveRequest r = reports::WebPageSaveRequest();
    EXPECT_EQ(r.caption, "Save file listing as web page");
    EXPECT_EQ(r.defaultSuffix, ".htm");
    EXPECT_EQ(r.initialName, "save.htm");
    EXPECT_EQ(r.filter, "HTM files|*.htm|HTML files|*.html|All files|*.*");
}

TEST(ClipboardTextTest, FileNamesNeverCopyTheTitles)
{
    comp::ResultGrid g(2, 4);
    g.setTitles({"Size", "FileName"});
    g.setRow(1, {"5", "C:\\shown.txt"}, "C:\\Real Case\\a.TXT");
    g.setRow(3, {"7", "C:\\b.txt"}, "C:\\b.txt");  // row 2 stays empty
    EXPECT_EQ(reports::FileNamesText(g), "C:\\Real Case\\a.TXT\r\nC:\\b.txt\r\n");
}

TEST(ClipboardTextTest, WholeGridStartsWithTheTitles)
{
    comp::ResultGrid g(2, 3);
    g.setTitles({"Size", "FileName"});
    g.setRow(1, {"5", "C:\\a.txt"}, "C:\\a.txt");
    g.setRow(2, {"7", ""}, "C:\\b.txt");
    EXPECT_EQ(reports::TabbedGridText(g), "Size\tFileName\r\n5\tC:\\a.txt\r\n7\t\r\n");
    // A grid of one column drops its empty rows.
    comp::ResultGrid one(1, 3);
    one.setTitles({"Name"});
    one.setRow(2, {"x"}, "C:\\x");
    EXPECT_EQ(reports::TabbedGridText(one), "Name\r\nx\r\n");
}
