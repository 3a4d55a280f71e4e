// The viewer's document: display lines, counting, lookups by offset and by
// line, hex lines, search, and files that cannot be opened or shrink.
#include "browse/viewstatus.h"
#include "components/viewerdoc.h"
#include "components/viewersearch.h"
#include "components/viewertext.h"
#include "core/helpers.h"
#include "platform/fileops.h"
#include "support/tempdrives.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using comp::ViewerDocument;
using testing_support::TempDrives;

namespace {

const QString kDot = QString(QChar(comp::kViewerPlaceholder));

QString U8(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QStringList shownLines(ViewerDocument& doc, const comp::ViewerTextOptions& options = {})
{
    QStringList out;
    for (qint64 s = 0; s < doc.size();) {
        const ViewerDocument::Line l = doc.lineFrom(s);
        out << doc.lineText(l, options);
        s = l.next;
    }
    return out;
}

QList<qint64> lineStarts(ViewerDocument& doc)
{
    QList<qint64> out;
    for (qint64 s = 0; s < doc.size(); s = doc.lineFrom(s).next)
        out << s;
    return out;
}

}  // namespace

TEST(ViewerText, DecodesBytesAsShown)
{
    struct Row {
        QByteArray bytes;
        bool expand;
        int tab;
        QString shown;
    };
    const QList<Row> rows = {
        {"plain", true, 8, "plain"},
        {"h\xC3\xA9llo \xE2\x82\xAC", true, 8, U8("héllo €")},       // valid UTF-8
        {"\xE9t\xE9", true, 8, U8("été")},                             // Windows-1252 bytes
        {"\x80\x99", true, 8, U8("€™")},                               // the 0x80..0x9F range
        {"a\x81z", true, 8, "a" + kDot + "z"},                         // no character there
        {"\xC3", true, 8, U8("Ã")},                                    // a sequence cut short
        {"\xED\xA0\x80", true, 8, U8("í\u00A0€")},  // no surrogates
        {QByteArray("\x00\x07\x1B\x7F", 4), true, 8, kDot + kDot + kDot + kDot},
        {"a\rb", true, 8, "a" + kDot + "b"},
        {"\xE2\x80\xAE" "evil", true, 8, kDot + "evil"},                  // no turning the line around
        {"a\tb", true, 8, "a       b"},
        {"ab\tc", true, 4, "ab  c"},
        {"\t", true, 1, " "},
        {"a\tb", false, 8, "a" + kDot + "b"},
        // Sixteen bytes at a time, and where that stops.
        {"0123456789abcdefXYZ", true, 8, "0123456789abcdefXYZ"},
        {QByteArray(20, '\0'), true, 8, kDot.repeated(20)},
        {"abcdefghijklmno\tp", true, 8, "abcdefghijklmno p"},
        {QByteArray(16, '\x01') + "\xC3\xA9", true, 8, kDot.repeated(16) + U8("é")},
        {QByteArray(8, '\0') + "\t" + QByteArray(7, '\0'), false, 8, kDot.repeated(16)},
        {QByteArray(8, '\0') + "\t" + QByteArray(7, '\0'), true, 4, kDot.repeated(8) + "    " + kDot.repeated(7)},
    };
    for (const Row& r : rows) {
        std::vector<int> map;
        const QString shown = comp::DecodeViewerLine(r.bytes.constData(), r.bytes.size(), {r.expand, r.tab}, &map);
        EXPECT_EQ(shown, r.shown) << r.bytes.toHex().constData();
        EXPECT_EQ(qsizetype(map.size()), shown.size()) << r.bytes.toHex().constData();
        EXPECT_TRUE(std::is_sorted(map.begin(), map.end()));
        EXPECT_TRUE(map.empty() || map.back() < r.bytes.size());
    }
}

TEST(ViewerDocument, SplitsLinesAtLineFeedsAnd4096Bytes)
{
    TempDrives drives("C");
    const QByteArray x4096(4096, 'x');
    struct Row {
        QByteArray contents;
        QStringList lines;
    };
    const QList<Row> rows = {
        {"", {}},
        {"a\nb\nc", {"a", "b", "c"}},
        {"a\nb\nc\n", {"a", "b", "c"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"\n\n", {"", ""}},
        {"\r\n", {""}},
        {x4096 + "\ny", {x4096, "y"}},
        {x4096 + "x", {x4096, "x"}},
        {x4096 + x4096, {x4096, x4096}},
        {x4096.left(4095) + "\r\n", {x4096.left(4095)}},
        {x4096 + "\r\n", {x4096, ""}},
        {x4096 + "xy\nz", {x4096, "xy", "z"}},
        {QByteArray(100, 'a') + "\n" + x4096 + x4096 + "\n", {QByteArray(100, 'a'), x4096, x4096}},
    };
    for (const Row& r : rows) {
        drives.writeFile('C', "f.txt", r.contents);
        ViewerDocument doc;
        ASSERT_TRUE(doc.open("C:\\f.txt"));
        EXPECT_EQ(shownLines(doc), r.lines) << r.contents.left(20).constData();
        const QList<qint64> starts = lineStarts(doc);
        // Every byte belongs to the line the walk gave it, looked up before
        // counting (from the bytes around it) and after.
        for (bool counted : {false, true}) {
            if (counted) {
                ASSERT_TRUE(doc.countAll({}));
                EXPECT_EQ(doc.lineCount(), r.lines.size()) << r.contents.left(20).constData();
            }
            for (int i = 0; i < starts.size(); ++i) {
                const qint64 next = i + 1 < starts.size() ? starts[i + 1] : doc.size();
                for (qint64 o = starts[i]; o < next; ++o) {
                    ASSERT_EQ(doc.lineAt(o).start, starts[i]) << o << (counted ? " counted" : "");
                    ASSERT_EQ(doc.lineNumberOf(o), counted || i == 0 ? std::optional<qint64>(i) : std::nullopt) << o;
                }
                EXPECT_EQ(doc.lineStartOf(i), counted || i == 0 ? std::optional<qint64>(starts[i]) : std::nullopt);
            }
        }
        EXPECT_EQ(doc.lineStartOf(starts.size()), std::nullopt);
    }
}

TEST(ViewerDocument, LookupsAgreeWithAWalkBeforeAndAfterCounting)
{
    TempDrives drives("C");
    QRandomGenerator random(1234);
    QByteArray data;
    while (data.size() < 700 * 1024) {
        const int length = random.bounded(0, 10) == 0 ? random.bounded(4000, 12000) : random.bounded(0, 120);
        data += QByteArray(length, 'a' + char(random.bounded(26)));
        data += random.bounded(5) == 0 ? "\r\n" : "\n";
    }
    while (data.size() % 4096 != 999)
        data += 'q';
    data += '\n';
    const qint64 longStart = data.size();  // 1,000 bytes off the 4,096 grid
    data += QByteArray(300 * 1024, 'L') + "\n";
    while (data.size() % ViewerDocument::kPageSize != ViewerDocument::kPageSize - 1)
        data += 'e';
    data += "\nlast line";
    drives.writeFile('C', "big.txt", data);

    ViewerDocument walk;
    ASSERT_TRUE(walk.open("C:\\big.txt"));
    const QList<qint64> starts = lineStarts(walk);
    const auto expectedStart = [&](qint64 o) { return *std::prev(std::upper_bound(starts.begin(), starts.end(), o)); };
    QList<qint64> probes;
    for (int i = 0; i < 400; ++i)
        probes << random.bounded(qint64(data.size()));
    probes << 0 << data.size() - 1 << longStart << longStart + 4096 * 70 - 1 << data.size() - 11;

    ViewerDocument doc;
    ASSERT_TRUE(doc.open("C:\\big.txt"));
    EXPECT_EQ(doc.lineCount(), -1);
    // Not counted: exact except far inside the over-long line, where the
    // pieces are taken on the 4,096 grid until the count gets there.
    for (qint64 o : probes) {
        const bool farInLongLine = o >= longStart + ViewerDocument::kBackScanBytes && o < longStart + 300 * 1024;
        if (!farInLongLine) {
            EXPECT_EQ(doc.lineAt(o).start, expectedStart(o)) << o;
        }
        EXPECT_EQ(doc.lineNumberOf(o), o < starts[1] ? std::optional<qint64>(0) : std::nullopt) << o;
    }
    doc.countFor(0);  // one chunk
    EXPECT_FALSE(doc.counted());
    for (qint64 o : probes) {
        if (const auto n = doc.lineNumberOf(o)) {
            EXPECT_EQ(starts[*n], expectedStart(o)) << o;
        }
    }
    ASSERT_TRUE(doc.countAll({}));
    EXPECT_EQ(doc.lineCount(), starts.size());
    for (qint64 o : probes) {
        EXPECT_EQ(doc.lineAt(o).start, expectedStart(o)) << o;
        const auto n = doc.lineNumberOf(o);
        ASSERT_TRUE(n);
        EXPECT_EQ(starts[*n], expectedStart(o)) << o;
        EXPECT_EQ(doc.lineStartOf(*n), starts[*n]);
    }
    for (int rows : {1, 5, 40})
        EXPECT_EQ(doc.lastScreenTop(rows), starts[starts.size() - rows]);
    EXPECT_EQ(doc.previousLineStart(starts[10]), starts[9]);
    EXPECT_EQ(doc.previousLineStart(0), 0);
}

TEST(ViewerDocument, HexLinesAreCountedAtOnce)
{
    TempDrives drives("C");
    drives.writeFile('C', "h.bin", QByteArray("ABC\x01\xFF", 5) + QByteArray(30, 'z'));
    ViewerDocument doc;
    doc.setHexMode(true);
    ASSERT_TRUE(doc.open("C:\\h.bin"));
    EXPECT_EQ(doc.lineCount(), 3);
    EXPECT_EQ(doc.lineNumberOf(33), 2);
    EXPECT_EQ(doc.lineStartOf(2), 32);
    EXPECT_EQ(doc.lineStartOf(3), std::nullopt);
    EXPECT_EQ(doc.lineText(doc.lineAt(0), {}),
              "00000000  41 42 43 01 FF 7A 7A 7A 7A 7A 7A 7A 7A 7A 7A 7A  ABC..zzzzzzzzzzz");
    EXPECT_EQ(doc.lineText(doc.lineAt(34), {}), "00000020  7A 7A 7A" + QString(41, ' ') + "zzz");
    EXPECT_EQ(comp::HexOffsetDigits(5LL << 30), 9);
    EXPECT_EQ(comp::HexByteAtColumn(comp::HexPairColumn(7, 8) + 1, 8), 7);
    EXPECT_EQ(comp::HexByteAtColumn(comp::HexCharColumn(12, 8), 8), 12);
}

TEST(ViewerSearch, FindsAcrossPagesAndLineBreaks)
{
    TempDrives drives("C");
    QByteArray data(600 * 1024, '.');
    const auto put = [&](qint64 at, const QByteArray& s) { data.replace(at, s.size(), s); };
    put(100, "Needle");
    put(ViewerDocument::kPageSize - 3, "needle");          // across a page edge
    put(4 * ViewerDocument::kPageSize - 2, "NEEDLE");      // across a search chunk
    put(300000, "\xE9t\xE9");                              // shown as "été"
    put(400000, "na\xC3\xAFve");                           // UTF-8 "naïve"
    put(600 * 1024 - 4 * ViewerDocument::kPageSize - 2, "Behind");  // across a backward chunk
    data[8000] = '\n';
    put(8001 + 4094, "neeDLe");                            // across a 4,096 cut
    drives.writeFile('C', "s.txt", data);
    ViewerDocument doc;
    ASSERT_TRUE(doc.open("C:\\s.txt"));

    struct Row {
        QString text;
        bool backward;
        bool matchCase;
        qint64 from;
        qint64 found;  // -1: not found
        int length;
    };
    const qint64 page = ViewerDocument::kPageSize;
    const QList<Row> rows = {
        {"needle", false, false, 0, 100, 6},
        {"needle", false, false, 101, 8001 + 4094, 6},
        {"needle", false, false, 8001 + 4095, page - 3, 6},
        {"needle", false, false, page - 2, 4 * page - 2, 6},
        {"needle", false, true, 0, page - 3, 6},
        {"NEEDLE", false, true, 0, 4 * page - 2, 6},
        {"Behind", true, true, qint64(data.size()), 600 * 1024 - 4 * page - 2, 6},
        {"needle", true, false, qint64(data.size()), 4 * page - 2, 6},
        {"needle", true, false, 4 * page - 2, page - 3, 6},
        {"needle", true, false, 100, -1, 0},
        {"needle", true, false, 101, 100, 6},
        {U8("été"), false, false, 0, 300000, 3},
        {U8("naïve"), false, false, 0, 400000, 6},
        {"absent", false, false, 0, -1, 0},
        {"", false, false, 0, -1, 0},
    };
    for (const Row& r : rows) {
        comp::ViewerMatch m;
        const comp::SearchOutcome outcome = comp::SearchViewerDocument(doc, {r.text, r.backward, r.matchCase}, r.from, m);
        if (r.found < 0) {
            EXPECT_EQ(outcome, comp::SearchOutcome::NotFound) << r.text.toStdString() << " " << r.from;
        } else {
            EXPECT_EQ(outcome, comp::SearchOutcome::Found) << r.text.toStdString() << " " << r.from;
            EXPECT_EQ(m.start, r.found) << r.text.toStdString() << " " << r.from;
            EXPECT_EQ(m.end - m.start, r.length);
        }
    }
    comp::ViewerMatch m;
    int asked = 0;
    EXPECT_EQ(comp::SearchViewerDocument(doc, {"absent", false, false}, 0, m, [&] { return ++asked < 2; }),
              comp::SearchOutcome::Aborted);
    EXPECT_EQ(asked, 2);
}

TEST(ViewerDocument, FilesThatCannotBeOpenedOrShrink)
{
    TempDrives drives("C");
    drives.makeFolder('C', "folder");
    ASSERT_EQ(::mkfifo(QFile::encodeName(drives.posix('C') + "/pipe").constData(), 0600), 0);
    struct Row {
        QString path;
        QString error;
    };
    for (const Row& r : QList<Row>{{"C:\\missing.txt", "No such file"},
                                   {"C:\\folder", "Not a regular file"},
                                   {"C:\\pipe", "Not a regular file"},
                                   {"Q:\\x.txt", "Not a file path"}}) {
        ViewerDocument doc;
        EXPECT_FALSE(doc.open(r.path));
        EXPECT_TRUE(doc.errorText().contains(r.error)) << doc.errorText().toStdString();
        EXPECT_EQ(doc.size(), 0);
        EXPECT_FALSE(doc.isOpen());
    }

    QByteArray data;
    for (int i = 0; data.size() < 200000; ++i)
        data += "line " + QByteArray::number(i) + "\n";
    const QString posix = drives.writeFile('C', "shrinks.txt", data);
    ViewerDocument doc;
    ASSERT_TRUE(doc.open("C:\\shrinks.txt"));
    EXPECT_EQ(doc.lineFrom(0).end, 6);
    ASSERT_EQ(::truncate(QFile::encodeName(posix).constData(), 70000), 0);
    ASSERT_TRUE(doc.countAll({}));
    EXPECT_EQ(doc.size(), 70000);
    EXPECT_TRUE(doc.endedEarly());
    EXPECT_EQ(doc.lineCount(), data.left(70000).count('\n') + (data.at(69999) == '\n' ? 0 : 1));
    const ViewerDocument::Line last = doc.lineAt(199999);
    EXPECT_EQ(last.next, 70000);
    EXPECT_EQ(doc.bytes(69990, 200000).size(), 10);
}

TEST(ViewerStrings, WriteErrorsOnTheDeviceAreRaised)
{
    TempDrives drives("C");
    drives.writeFile('C', "in.bin", QByteArray("hello world\x01", 12).repeated(1000));
    QFile full("/dev/full");
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    EXPECT_THROW(core::ExtractTextRuns("C:\\in.bin", full, "/dev/full", 5, 100), plat::IoError);
}

TEST(ViewerStatus, TextsAndAnswers)
{
    EXPECT_EQ(browse::CaretStatusText(2, 0), "     3:1");
    EXPECT_EQ(browse::CaretStatusText(std::nullopt, 4), "     ?:5");
    EXPECT_EQ(browse::CaretStatusText(123455, 99), "123456:100");
    EXPECT_EQ(browse::TotalStatusText(-1), "Total: ?");
    EXPECT_EQ(browse::TotalStatusText(1234567), "Total: 1,234,567");
    EXPECT_EQ(browse::TopStatusText(0), "Top:     1");
    EXPECT_EQ(browse::TopStatusText(std::nullopt), "Top:     ?");
    EXPECT_EQ(browse::BytesStatusText(4294967296LL), "Bytes: 4,294,967,296");

    struct Row {
        QString typed;
        std::optional<qint64> line;  // of 3 lines
        std::optional<int> tab;
    };
    const QList<Row> rows = {
        {"2", 2, 2},       {" 3 ", 3, 3},   {"7", 3, 7},      {"0", 1, std::nullopt},
        {"-5", 1, std::nullopt}, {"256", 3, std::nullopt}, {"255", 3, 255},
        {"abc", std::nullopt, std::nullopt}, {"2.5", std::nullopt, std::nullopt}, {"", std::nullopt, std::nullopt},
        {"99999999999999999999", 3, std::nullopt},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(browse::GoToLineAnswer(r.typed, 3), r.line) << r.typed.toStdString();
        EXPECT_EQ(browse::TabSizeAnswer(r.typed), r.tab) << r.typed.toStdString();
    }
    EXPECT_EQ(browse::GoToLineAnswer("1", 0), std::nullopt);
}
