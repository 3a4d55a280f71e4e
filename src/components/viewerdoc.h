#pragma once
// The file the viewer shows, as display lines, without widgets. It reads
// through the regular-file reader a few 64 KiB pages at a time and never
// holds the whole file, so that a file of many gigabytes opens at once.
//
// Text: a display line ends at a line feed (a carriage return before it is
// not shown) or after 4,096 bytes. A trailing line feed starts no line of
// its own; an empty file has no lines. Lines are counted in slices while the
// program is idle; until then positions are byte offsets and a line number
// is known only for the part already counted.
// Hex: 16 bytes a line, counted at once.
//
// A file that turns out shorter than it was at open (it shrank while shown)
// ends where the data ended.

#include "components/viewertext.h"
#include "platform/filereader.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace comp {

class ViewerDocument {
public:
    static constexpr qint64 kPageSize = 64 * 1024;
    static constexpr int kCachedPages = 16;
    static constexpr qint64 kMaxLineBytes = 4096;
    static constexpr qint64 kHexLineBytes = 16;
    // How far back a line start is looked for before the line is taken to
    // be part of one longer than that (its pieces then start at multiples of
    // 4,096 until counting reaches it).
    static constexpr qint64 kBackScanBytes = 64 * 1024;

    struct Line {
        qint64 start = 0;  // first byte
        qint64 end = 0;    // end of the bytes shown (the CR before an LF left out)
        qint64 next = 0;   // where the next line starts; size() after the last
    };

    ViewerDocument();
    ~ViewerDocument();
    ViewerDocument(const ViewerDocument&) = delete;
    ViewerDocument& operator=(const ViewerDocument&) = delete;

    // False (and errorText() set) when the file cannot be opened; the
    // document is then empty.
    bool open(const QString& drivePath);
    bool openPosix(const QByteArray& posixPath);
    void close();
    bool isOpen() const { return reader_.isOpen(); }
    // Why the file could not be opened, or why it ends early.
    QString errorText() const { return error_; }
    qint64 size() const { return size_; }
    // True when the file turned out shorter than it was at open.
    bool endedEarly() const { return size_ < openedSize_; }
    // Grows whenever what the lines hold may have changed (open, close,
    // mode, a file found shorter).
    quint64 generation() const { return generation_; }

    void setHexMode(bool on);
    bool hexMode() const { return hex_; }

    // The bytes [from, to), as far as the file has them.
    QByteArray bytes(qint64 from, qint64 to);

    // The line that starts at start (a line start).
    Line lineFrom(qint64 start);
    // The line that holds the byte at offset (clamped into the file).
    Line lineAt(qint64 offset);
    // The start of the line before the one starting at start (0 stays 0).
    qint64 previousLineStart(qint64 start);
    // The top line of the last screen of rows lines (Ctrl+End).
    qint64 lastScreenTop(int rows);

    // The text of a line as shown (see viewertext.h); hex lines in hex mode.
    QString lineText(const Line& line, const ViewerTextOptions& options, std::vector<int>* byteOfChar = nullptr);

    // The number of lines; -1 while the text lines are not counted yet.
    qint64 lineCount() const;
    bool counted() const { return hex_ || counted_; }
    // Counts for at most about ms milliseconds; true when all are counted.
    bool countFor(int ms);
    // Counts to the end, asking keepGoing between slices; false when it
    // said no.
    bool countAll(const std::function<bool()>& keepGoing);
    // Counts until line (from 0) is known or the file ends; false when
    // keepGoing said no.
    bool countToLine(qint64 line, const std::function<bool()>& keepGoing);
    // The line number (from 0) of the line holding offset, when counted.
    std::optional<qint64> lineNumberOf(qint64 offset);
    // The start of line n (from 0), when counted that far and it exists.
    std::optional<qint64> lineStartOf(qint64 n);

private:
    struct Page {
        qint64 index = -1;
        QByteArray data;
        quint64 used = 0;
    };
    struct Checkpoint {
        qint64 offset;  // a line start
        qint64 line;    // its line number
    };
    // What the last look backwards found: no line feed in [clearFrom,
    // clearTo), and the long line running through it starts at logicalStart
    // (exactly, or taken at a multiple of 4,096).
    struct BackScan {
        quint64 generation = ~quint64(0);
        qint64 logicalStart = 0;
        bool exact = false;
        qint64 clearFrom = 0;
        qint64 clearTo = 0;
    };

    bool finishOpen(bool opened);
    static void forget(Page& p);
    const QByteArray* page(qint64 index);
    void endsAt(qint64 newSize, const QString& why);
    int byteAt(qint64 offset);
    qint64 findLineFeed(qint64 from, qint64 limit);
    qint64 findLineFeedBack(qint64 from, qint64 low);
    Line lineAtCounted(qint64 y);
    Line lineAtScanned(qint64 y);
    void resetCount();
    void countBytes(const char* data, qint64 n);
    void onLineFeed(qint64 p);
    void addLongLineCheckpoints(qint64 start, qint64 lines);
    void addCheckpoint(qint64 offset, qint64 line);
    void finishCount();

    plat::RegularFileReader reader_;
    QString error_;
    qint64 size_ = 0;
    qint64 openedSize_ = 0;
    quint64 generation_ = 0;
    bool hex_ = false;

    std::array<Page, kCachedPages> pages_;
    quint64 useClock_ = 0;
    BackScan back_;

    // Counting: every byte before countPos_ is counted. countStart_ is the
    // start of the line feed-delimited line in progress (no line feed in
    // [countStart_, countPos_)), countLines_ the number of display lines
    // before it.
    std::vector<Checkpoint> checkpoints_;
    qint64 countPos_ = 0;
    qint64 countStart_ = 0;
    qint64 countLines_ = 0;
    qint64 nextCheckpoint_ = 0;
    qint64 total_ = 0;
    bool counted_ = false;
    QByteArray countBuffer_;
};

}  // namespace comp
