#pragma once
// The file viewer control: a read-only, scrolling text or hex view of a
// file of any size, in a fixed-pitch font, with a caret and a selection.
// Positions are byte offsets; line numbers are shown once counting (in idle
// slices of at most 20 ms) has reached them. Scrolling and Ctrl+End work by
// byte offset, so a file of many gigabytes is usable at once.

#include "components/viewerdoc.h"
#include "components/viewersearch.h"

#include <QAbstractScrollArea>
#include <QString>

#include <functional>
#include <optional>

class QTimer;

namespace comp {

class FileViewer : public QAbstractScrollArea {
    Q_OBJECT
public:
    // A copy larger than this is refused: the clipboard is not the place
    // for gigabytes.
    static constexpr qint64 kMaxCopyBytes = 32 * 1024 * 1024;
    static constexpr int kMaxPrintChars = 1024;

    explicit FileViewer(QWidget* parent = nullptr);
    ~FileViewer() override;

    // Opens a file (drive path, or POSIX path for a file of the program's
    // own outside the drives). False when it cannot be opened: the view is
    // then empty and errorText() says why.
    bool openFile(const QString& drivePath);
    bool openPosixFile(const QByteArray& posixPath);
    void closeFile();
    bool isOpen() const { return doc_.isOpen(); }
    QString errorText() const { return doc_.errorText(); }
    ViewerDocument& document() { return doc_; }

    void setHexMode(bool on);
    bool hexMode() const { return doc_.hexMode(); }
    void setTabExpansion(bool on);
    bool tabExpansion() const { return options_.expandTabs; }
    // False (and nothing changed) for a size outside 1..255.
    bool setTabSize(int size);
    int tabSize() const { return options_.tabSize; }
    void setViewerFont(const QFont& font);

    qint64 fileSize() const { return doc_.size(); }
    bool hasLines() const { return doc_.size() > 0; }
    // -1 while the lines are not counted yet.
    qint64 lineCount() const { return doc_.lineCount(); }
    // Counts every line now, letting events run; false when aborted (Esc).
    bool countLines();

    // Caret and view. Lines and columns from 0; a line number is empty
    // while counting has not reached it.
    qint64 caretOffset() const { return caret_; }
    std::optional<qint64> caretLine();
    int caretColumn();
    std::optional<qint64> topLine();
    qint64 topOffset() const { return top_; }
    int visibleRows() const;
    // Moves the caret to column 0 of line n (from 0; clamped into the file)
    // and brings it into view. False when the counting it needs was aborted.
    bool goToLine(qint64 n);
    void setCaretOffset(qint64 offset, bool extendSelection = false);

    bool hasSelection() const { return anchor_ >= 0 && anchor_ != caret_; }
    qint64 selectionStart() const;
    qint64 selectionEnd() const;
    void select(qint64 from, qint64 to);
    void selectAll();
    enum class CopyResult { Copied, NothingSelected, TooLarge };
    CopyResult copyToClipboard();
    // The text a copy of the selection gives.
    QString selectedText();

    // Searches for text from the caret (or the whole file when global) and
    // selects the find.
    SearchOutcome find(const QString& text, bool backward, bool matchCase, bool global);

    // The lines a printout holds, each up to kMaxPrintChars characters:
    // every line, or the lines of the selection (on its first line the
    // characters before its start column are blanks, its last line ends at
    // its end column). emit returns false to stop. False when stopped or
    // aborted.
    bool printLines(bool selectionOnly, const std::function<bool(const QString&)>& emit);

    // True while a search, count or printout runs; Esc then aborts it.
    bool busy() const { return busy_ > 0; }
    void abortWork() { abort_ = true; }

signals:
    // The caret, the selection or the view changed, or counting moved on.
    void showStatus();
    // Work that lets events run started or ended.
    void busyChanged(bool busy);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Busy;
    bool afterOpen(bool opened);
    void startCounting();
    void countSlice();
    void syncWithDocument();
    void changed();
    void updateScrollBars();
    void onScrollAction(int action);
    qint64 lastTop();
    qint64 clampTop(qint64 top);
    void scrollLines(qint64 delta);
    qint64 lineStartBelow(qint64 start, qint64 lines);
    qint64 lineStartAbove(qint64 start, qint64 lines);
    void ensureCaretVisible();
    int columnOf(const ViewerDocument::Line& line, qint64 offset);
    qint64 offsetAtColumn(const ViewerDocument::Line& line, int column);
    qint64 offsetAt(const QPoint& p);
    int xOfColumn(const QString& text, int column) const;
    int columnAtX(const QString& text, int x) const;
    void moveCaretHorizontally(int direction);
    void moveCaretVertically(qint64 lines);
    qint64 caretLineStart();
    qint64 caretLimit();

    ViewerDocument doc_;
    ViewerTextOptions options_;
    qint64 top_ = 0;
    qint64 caret_ = 0;
    qint64 anchor_ = -1;
    int preferredColumn_ = -1;
    quint64 seenGeneration_ = 0;
    qint64 scrollUnit_ = 1;
    struct {
        quint64 generation = ~quint64(0);
        int rows = -1;
        qint64 top = 0;
    } lastTop_;
    QTimer* counter_ = nullptr;
    int busy_ = 0;
    bool abort_ = false;
};

}  // namespace comp
