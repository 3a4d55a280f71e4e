#include "components/fileviewer.h"

#include "components/eventthrottle.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace comp {

namespace {

constexpr int kMargin = 4;
constexpr int kWheelLines = 3;

}  // namespace

// Work that lets events run: Esc aborts it, and the owner hears when it
// starts and ends.
struct FileViewer::Busy {
    FileViewer& v;
    EventThrottle throttle;
    explicit Busy(FileViewer& viewer) : v(viewer)
    {
        if (v.busy_++ == 0) {
            v.abort_ = false;
            emit v.busyChanged(true);
        }
    }
    ~Busy()
    {
        if (--v.busy_ == 0)
            emit v.busyChanged(false);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
};

FileViewer::FileViewer(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    counter_ = new QTimer(this);
    counter_->setInterval(0);
    connect(counter_, &QTimer::timeout, this, &FileViewer::countSlice);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, &FileViewer::onScrollAction);
    updateScrollBars();
}

FileViewer::~FileViewer() = default;

bool FileViewer::openFile(const QString& drivePath)
{
    return afterOpen(doc_.open(drivePath));
}

bool FileViewer::openPosixFile(const QByteArray& posixPath)
{
    return afterOpen(doc_.openPosix(posixPath));
}

void FileViewer::closeFile()
{
    doc_.close();
    afterOpen(false);
}

bool FileViewer::afterOpen(bool opened)
{
    top_ = 0;
    caret_ = 0;
    anchor_ = -1;
    preferredColumn_ = -1;
    seenGeneration_ = doc_.generation();
    horizontalScrollBar()->setValue(0);
    startCounting();
    changed();
    return opened;
}

// ---- Modes -------------------------------------------------------------------

void FileViewer::setHexMode(bool on)
{
    if (on == doc_.hexMode())
        return;
    doc_.setHexMode(on);
    seenGeneration_ = doc_.generation();
    top_ = clampTop(doc_.lineAt(top_).start);
    preferredColumn_ = -1;
    startCounting();
    changed();
}

void FileViewer::setTabExpansion(bool on)
{
    options_.expandTabs = on;
    preferredColumn_ = -1;
    changed();
}

bool FileViewer::setTabSize(int size)
{
    if (size < 1 || size > 255)
        return false;
    options_.tabSize = size;
    preferredColumn_ = -1;
    changed();
    return true;
}

void FileViewer::setViewerFont(const QFont& font)
{
    setFont(font);
    changed();
}

// ---- Counting ----------------------------------------------------------------

void FileViewer::startCounting()
{
    if (!doc_.counted())
        counter_->start();
    else
        counter_->stop();
}

void FileViewer::countSlice()
{
    if (busy_)
        return;  // a forced count runs; it takes over
    doc_.countFor(20);
    if (doc_.counted()) {
        counter_->stop();
        lastTop_.generation = ~quint64(0);  // pieces of a long line now start where the count says
        syncWithDocument();
        updateScrollBars();
    }
    syncWithDocument();
    emit showStatus();
}

bool FileViewer::countLines()
{
    if (doc_.counted())
        return true;
    bool done = false;
    {
        Busy busy(*this);
        done = doc_.countAll([&] {
            busy.throttle.pump();
            return !abort_;
        });
    }
    startCounting();
    lastTop_.generation = ~quint64(0);
    changed();
    return done;
}

// ---- Positions ---------------------------------------------------------------

void FileViewer::syncWithDocument()
{
    if (doc_.generation() == seenGeneration_)
        return;
    seenGeneration_ = doc_.generation();
    const qint64 size = doc_.size();
    caret_ = std::min(caret_, size);
    if (anchor_ >= 0)
        anchor_ = std::min(anchor_, size);
    top_ = size > 0 ? doc_.lineAt(std::min(top_, size - 1)).start : 0;
    top_ = clampTop(top_);
    seenGeneration_ = doc_.generation();
    startCounting();
    updateScrollBars();
    viewport()->update();
    emit showStatus();
}

void FileViewer::changed()
{
    syncWithDocument();
    updateScrollBars();
    viewport()->update();
    emit showStatus();
}

int FileViewer::visibleRows() const
{
    const int spacing = std::max(1, QFontMetrics(font()).lineSpacing());
    return std::max(1, viewport()->height() / spacing);
}

qint64 FileViewer::lastTop()
{
    const int rows = visibleRows();
    if (lastTop_.generation != doc_.generation() || lastTop_.rows != rows) {
        const qint64 top = doc_.lastScreenTop(rows);
        lastTop_.generation = doc_.generation();
        lastTop_.rows = rows;
        lastTop_.top = top;
    }
    return lastTop_.top;
}

qint64 FileViewer::clampTop(qint64 top)
{
    return std::max<qint64>(0, std::min(top, lastTop()));
}

qint64 FileViewer::lineStartBelow(qint64 start, qint64 lines)
{
    for (qint64 i = 0; i < lines; ++i) {
        const ViewerDocument::Line l = doc_.lineFrom(start);
        if (l.next <= start || l.next >= doc_.size())
            break;
        start = l.next;
    }
    return start;
}

qint64 FileViewer::lineStartAbove(qint64 start, qint64 lines)
{
    for (qint64 i = 0; i < lines && start > 0; ++i)
        start = doc_.previousLineStart(start);
    return start;
}

qint64 FileViewer::caretLineStart()
{
    if (doc_.size() <= 0)
        return 0;
    return doc_.lineAt(caret_).start;
}

qint64 FileViewer::caretLimit()
{
    if (doc_.size() <= 0)
        return 0;
    if (doc_.hexMode())
        return doc_.size();
    return doc_.lineAt(doc_.size() - 1).end;
}

std::optional<qint64> FileViewer::caretLine()
{
    if (doc_.size() <= 0)
        return std::nullopt;
    return doc_.lineNumberOf(caret_);
}

int FileViewer::columnOf(const ViewerDocument::Line& line, qint64 offset)
{
    if (doc_.hexMode())
        return int(std::clamp<qint64>(offset - line.start, 0, ViewerDocument::kHexLineBytes));
    std::vector<int> map;
    const QString text = doc_.lineText(line, options_, &map);
    if (offset >= line.end)
        return int(text.size());
    const auto it = std::lower_bound(map.begin(), map.end(), int(offset - line.start));
    return int(it - map.begin());
}

qint64 FileViewer::offsetAtColumn(const ViewerDocument::Line& line, int column)
{
    if (doc_.hexMode())
        return line.start + std::clamp<qint64>(column, 0, line.end - line.start);
    std::vector<int> map;
    doc_.lineText(line, options_, &map);
    if (column < 0)
        return line.start;
    if (size_t(column) >= map.size())
        return line.end;
    return line.start + map[size_t(column)];
}

int FileViewer::caretColumn()
{
    if (doc_.size() <= 0)
        return 0;
    return columnOf(doc_.lineAt(caret_), caret_);
}

std::optional<qint64> FileViewer::topLine()
{
    if (doc_.size() <= 0)
        return std::nullopt;
    return doc_.lineNumberOf(top_);
}

qint64 FileViewer::selectionStart() const
{
    return hasSelection() ? std::min(anchor_, caret_) : caret_;
}

qint64 FileViewer::selectionEnd() const
{
    return hasSelection() ? std::max(anchor_, caret_) : caret_;
}

void FileViewer::setCaretOffset(qint64 offset, bool extendSelection)
{
    if (extendSelection && anchor_ < 0)
        anchor_ = caret_;
    if (!extendSelection)
        anchor_ = -1;
    caret_ = std::clamp<qint64>(offset, 0, doc_.size());
    preferredColumn_ = -1;
    ensureCaretVisible();
    changed();
}

void FileViewer::select(qint64 from, qint64 to)
{
    anchor_ = std::clamp<qint64>(from, 0, doc_.size());
    caret_ = std::clamp<qint64>(to, 0, doc_.size());
    preferredColumn_ = -1;
    ensureCaretVisible();
    changed();
}

void FileViewer::selectAll()
{
    anchor_ = 0;
    caret_ = doc_.size();
    preferredColumn_ = -1;
    changed();
}

bool FileViewer::goToLine(qint64 n)
{
    if (!hasLines())
        return true;
    n = std::max<qint64>(n, 0);
    {
        Busy busy(*this);
        const bool done = doc_.countToLine(n, [&] {
            busy.throttle.pump();
            return !abort_;
        });
        if (!done) {
            changed();
            return false;
        }
    }
    std::optional<qint64> start = doc_.lineStartOf(n);
    if (!start)
        start = doc_.lineAt(doc_.size() - 1).start;
    caret_ = *start;
    anchor_ = -1;
    preferredColumn_ = -1;
    top_ = clampTop(*start);
    startCounting();
    changed();
    return true;
}

void FileViewer::ensureCaretVisible()
{
    const qint64 cs = caretLineStart();
    const int rows = visibleRows();
    if (cs < top_) {
        top_ = cs;
    } else {
        bool visible = false;
        qint64 s = top_;
        for (int i = 0; i < rows; ++i) {
            if (s == cs) {
                visible = true;
                break;
            }
            const ViewerDocument::Line l = doc_.lineFrom(s);
            if (l.next <= s || l.next >= doc_.size() || l.next > cs)
                break;
            s = l.next;
        }
        if (!visible)
            top_ = lineStartAbove(cs, rows - 1);
    }
    top_ = clampTop(top_);

    // Across: the caret's column in view.
    const QFontMetrics fm(font());
    const ViewerDocument::Line line = doc_.lineAt(caret_);
    const int column = columnOf(line, caret_);
    const int x = xOfColumn(doc_.lineText(line, options_),
                            doc_.hexMode() ? HexPairColumn(column, HexOffsetDigits(doc_.size())) : column);
    QScrollBar* h = horizontalScrollBar();
    const int width = viewport()->width() - 2 * kMargin;
    if (x < h->value())
        h->setValue(std::max(0, x - width / 4));
    else if (x > h->value() + width - 2)
        h->setValue(x - width + width / 4);
}

// ---- Scrolling ---------------------------------------------------------------

void FileViewer::updateScrollBars()
{
    const qint64 size = doc_.size();
    scrollUnit_ = size > (qint64(1) << 30) ? (size >> 30) + 1 : 1;
    const int rows = visibleRows();
    const qint64 below = lineStartBelow(top_, rows);
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, int(lastTop() / scrollUnit_));
    v->setPageStep(int(std::max<qint64>(1, (below - top_) / scrollUnit_)));
    v->setSingleStep(1);
    v->setValue(int(top_ / scrollUnit_));

    // Across: as wide as the widest line on screen.
    const QFontMetrics fm(font());
    const int cw = std::max(1, fm.horizontalAdvance(QLatin1Char('0')));
    // A glyph's advance need not be a whole number of pixels.
    const double advance = fm.horizontalAdvance(QString(64, QLatin1Char('0'))) / 64.0;
    int widest = 0;
    qint64 s = top_;
    for (int i = 0; i <= rows && s < size; ++i) {
        const ViewerDocument::Line l = doc_.lineFrom(s);
        // Fixed pitch: characters times their width is near enough here,
        // and cheap for lines of thousands of characters.
        widest = std::max(widest, int(std::min<double>(std::ceil(doc_.lineText(l, options_).size() * advance), 1 << 24)));
        if (l.next <= s)
            break;
        s = l.next;
    }
    QScrollBar* h = horizontalScrollBar();
    const int width = viewport()->width() - 2 * kMargin;
    h->setRange(0, std::max(0, widest - width + cw));
    h->setPageStep(std::max(1, width));
    h->setSingleStep(cw);
}

void FileViewer::onScrollAction(int action)
{
    QScrollBar* v = verticalScrollBar();
    const int rows = visibleRows();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        top_ = clampTop(lineStartBelow(top_, 1));
        break;
    case QAbstractSlider::SliderSingleStepSub:
        top_ = lineStartAbove(top_, 1);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        top_ = clampTop(lineStartBelow(top_, std::max(1, rows - 1)));
        break;
    case QAbstractSlider::SliderPageStepSub:
        top_ = lineStartAbove(top_, std::max(1, rows - 1));
        break;
    case QAbstractSlider::SliderToMinimum:
        top_ = 0;
        break;
    case QAbstractSlider::SliderToMaximum:
        top_ = lastTop();
        break;
    case QAbstractSlider::SliderMove: {
        // Dragged: the line at that byte offset; the thumb stays where the
        // user holds it.
        const qint64 at = qint64(v->sliderPosition()) * scrollUnit_;
        top_ = v->sliderPosition() >= v->maximum() ? lastTop() : clampTop(doc_.lineAt(at).start);
        viewport()->update();
        emit showStatus();
        return;
    }
    default:
        return;
    }
    v->setSliderPosition(int(top_ / scrollUnit_));
    viewport()->update();
    emit showStatus();
}

void FileViewer::scrollLines(qint64 delta)
{
    top_ = delta > 0 ? clampTop(lineStartBelow(top_, delta)) : lineStartAbove(top_, -delta);
    changed();
}

void FileViewer::scrollContentsBy(int, int)
{
    viewport()->update();
}

void FileViewer::wheelEvent(QWheelEvent* e)
{
    const QPoint delta = e->angleDelta();
    if (delta.y() == 0) {
        QAbstractScrollArea::wheelEvent(e);
        return;
    }
    scrollLines(delta.y() > 0 ? -kWheelLines : kWheelLines);
    e->accept();
}

void FileViewer::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    top_ = clampTop(top_);
    updateScrollBars();
}

// ---- Caret moves -------------------------------------------------------------

void FileViewer::moveCaretHorizontally(int direction)
{
    preferredColumn_ = -1;
    if (doc_.hexMode()) {
        caret_ = std::clamp<qint64>(caret_ + direction, 0, doc_.size());
        return;
    }
    if (doc_.size() <= 0)
        return;
    const ViewerDocument::Line line = doc_.lineAt(caret_);
    std::vector<int> map;
    doc_.lineText(line, options_, &map);
    const int k = int(caret_ - line.start);
    if (direction < 0) {
        auto it = std::lower_bound(map.begin(), map.end(), k);
        if (it != map.begin())
            caret_ = line.start + *std::prev(it);
        else if (line.start > 0)
            caret_ = doc_.lineFrom(doc_.previousLineStart(line.start)).end;
        return;
    }
    auto it = std::upper_bound(map.begin(), map.end(), k);
    if (it != map.end())
        caret_ = line.start + *it;
    else if (caret_ < line.end)
        caret_ = line.end;
    else if (line.next < doc_.size())
        caret_ = line.next;
}

void FileViewer::moveCaretVertically(qint64 lines)
{
    const ViewerDocument::Line line = doc_.lineAt(caret_);
    if (preferredColumn_ < 0)
        preferredColumn_ = columnOf(line, caret_);
    const qint64 target = lines > 0 ? lineStartBelow(line.start, lines) : lineStartAbove(line.start, -lines);
    caret_ = offsetAtColumn(doc_.lineFrom(target), preferredColumn_);
}

void FileViewer::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        if (busy_) {
            abort_ = true;
            e->accept();
        } else {
            e->ignore();  // the window's Close
        }
        return;
    }
    if (busy_)
        return;
    if (e->matches(QKeySequence::Copy)) {
        copyToClipboard();
        return;
    }
    if (e->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    const bool extend = e->modifiers() & Qt::ShiftModifier;
    const bool control = e->modifiers() & Qt::ControlModifier;
    const int rows = visibleRows();
    const qint64 anchorBefore = anchor_;
    if (extend && anchor_ < 0)
        anchor_ = caret_;
    switch (e->key()) {
    case Qt::Key_Left:
        moveCaretHorizontally(-1);
        break;
    case Qt::Key_Right:
        moveCaretHorizontally(1);
        break;
    case Qt::Key_Up:
        moveCaretVertically(-1);
        break;
    case Qt::Key_Down:
        moveCaretVertically(1);
        break;
    case Qt::Key_PageUp:
        top_ = lineStartAbove(top_, std::max(1, rows - 1));
        moveCaretVertically(-std::max(1, rows - 1));
        break;
    case Qt::Key_PageDown:
        top_ = clampTop(lineStartBelow(top_, std::max(1, rows - 1)));
        moveCaretVertically(std::max(1, rows - 1));
        break;
    case Qt::Key_Home:
        preferredColumn_ = -1;
        caret_ = control ? 0 : caretLineStart();
        break;
    case Qt::Key_End:
        preferredColumn_ = -1;
        if (control) {
            caret_ = caretLimit();
            top_ = lastTop();
        } else if (doc_.size() > 0) {
            const ViewerDocument::Line l = doc_.lineAt(caret_);
            caret_ = doc_.hexMode() ? std::max(l.start, l.end - 1) : l.end;
        }
        break;
    default:
        anchor_ = anchorBefore;
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    if (!extend)
        anchor_ = -1;
    ensureCaretVisible();
    changed();
}

// ---- Mouse -------------------------------------------------------------------

int FileViewer::xOfColumn(const QString& text, int column) const
{
    return QFontMetrics(font()).horizontalAdvance(text.left(column));
}

int FileViewer::columnAtX(const QString& text, int x) const
{
    const QFontMetrics fm(font());
    int left = 0;
    for (int i = 0; i < text.size(); ++i) {
        const int w = fm.horizontalAdvance(text.at(i));
        if (x < left + w / 2)
            return i;
        left += w;
    }
    return int(text.size());
}

qint64 FileViewer::offsetAt(const QPoint& p)
{
    if (doc_.size() <= 0)
        return 0;
    const QFontMetrics fm(font());
    const int spacing = std::max(1, fm.lineSpacing());
    const int row = p.y() < 0 ? -1 - (-p.y() - 1) / spacing : p.y() / spacing;
    const qint64 start = row >= 0 ? lineStartBelow(top_, row) : lineStartAbove(top_, -row);
    const ViewerDocument::Line line = doc_.lineFrom(start);
    const int x = p.x() - kMargin + horizontalScrollBar()->value();
    const int column = columnAtX(doc_.lineText(line, options_), x);
    if (doc_.hexMode())
        return offsetAtColumn(line, HexByteAtColumn(column, HexOffsetDigits(doc_.size())));
    return offsetAtColumn(line, column);
}

void FileViewer::mousePressEvent(QMouseEvent* e)
{
    if (busy_ || e->button() != Qt::LeftButton)
        return;
    setCaretOffset(offsetAt(e->position().toPoint()), e->modifiers() & Qt::ShiftModifier);
    if (anchor_ < 0)
        anchor_ = caret_;
}

void FileViewer::mouseMoveEvent(QMouseEvent* e)
{
    if (busy_ || !(e->buttons() & Qt::LeftButton))
        return;
    const QPoint p = e->position().toPoint();
    if (p.y() < 0)
        scrollLines(-1);
    else if (p.y() > viewport()->height())
        scrollLines(1);
    caret_ = offsetAt(p);
    preferredColumn_ = -1;
    ensureCaretVisible();
    changed();
}

// ---- Clipboard ---------------------------------------------------------------

QString FileViewer::selectedText()
{
    if (!hasSelection())
        return QString();
    const qint64 a = selectionStart();
    const qint64 b = selectionEnd();
    QStringList hexLines;
    QString out;
    qint64 s = doc_.lineAt(a).start;
    while (s < doc_.size()) {
        const ViewerDocument::Line line = doc_.lineFrom(s);
        if (doc_.hexMode()) {
            hexLines << doc_.lineText(line, options_);
        } else {
            const qint64 from = std::max(a, line.start);
            const qint64 to = std::min(b, line.end);
            if (to > from) {
                const QByteArray data = doc_.bytes(from, to);
                out += ViewerClipText(data.constData(), data.size());
            }
            if (line.next > line.end && b > line.end)
                out += QLatin1Char('\n');
        }
        if (line.next <= s || line.next >= b)
            break;
        s = line.next;
    }
    return doc_.hexMode() ? hexLines.join(QLatin1Char('\n')) : out;
}

FileViewer::CopyResult FileViewer::copyToClipboard()
{
    if (!hasSelection())
        return CopyResult::NothingSelected;
    if (selectionEnd() - selectionStart() > kMaxCopyBytes)
        return CopyResult::TooLarge;
    QGuiApplication::clipboard()->setText(selectedText());
    return CopyResult::Copied;
}

// ---- Search and print --------------------------------------------------------

SearchOutcome FileViewer::find(const QString& text, bool backward, bool matchCase, bool global)
{
    if (busy_)
        return SearchOutcome::Aborted;
    qint64 from;
    if (global)
        from = backward ? doc_.size() : 0;
    else if (backward)
        from = selectionStart();
    else
        from = hasSelection() ? selectionStart() + 1 : caret_;
    ViewerMatch match;
    SearchOutcome outcome;
    {
        Busy busy(*this);
        outcome = SearchViewerDocument(doc_, {text, backward, matchCase}, from, match, [&] {
            busy.throttle.pump();
            return !abort_;
        });
    }
    if (outcome == SearchOutcome::Found) {
        anchor_ = match.start;
        caret_ = match.end;
        preferredColumn_ = -1;
        ensureCaretVisible();
        const qint64 startLine = doc_.lineAt(match.start).start;
        if (startLine < top_)
            top_ = startLine;
    }
    changed();
    return outcome;
}

bool FileViewer::printLines(bool selectionOnly, const std::function<bool(const QString&)>& emitLine)
{
    if (busy_)
        return false;
    Busy busy(*this);
    const auto going = [&] {
        busy.throttle.pump();
        return !abort_;
    };
    const qint64 size = doc_.size();
    if (!selectionOnly) {
        if (!doc_.counted() && !doc_.countAll(going))
            return false;
        for (qint64 s = 0; s < size;) {
            const ViewerDocument::Line line = doc_.lineFrom(s);
            if (!emitLine(doc_.lineText(line, options_).left(kMaxPrintChars)) || !going())
                return false;
            if (line.next <= s)
                break;
            s = line.next;
        }
        return true;
    }
    if (!hasSelection() || size <= 0)
        return true;
    const ViewerDocument::Line first = doc_.lineAt(selectionStart());
    const ViewerDocument::Line last = doc_.lineAt(selectionEnd());
    const bool hex = doc_.hexMode();
    const int startColumn = hex ? 0 : columnOf(first, selectionStart());
    const int endColumn = hex ? -1 : columnOf(last, selectionEnd());
    for (qint64 s = first.start; s < size;) {
        const ViewerDocument::Line line = doc_.lineFrom(s);
        QString text = doc_.lineText(line, options_);
        if (line.start == last.start && endColumn >= 0)
            text.truncate(endColumn);
        if (line.start == first.start)
            text.replace(0, std::min<qsizetype>(startColumn, text.size()),
                         QString(std::min<qsizetype>(startColumn, text.size()), QLatin1Char(' ')));
        if (!emitLine(text.left(kMaxPrintChars)) || !going())
            return false;
        if (line.start >= last.start || line.next <= s)
            break;
        s = line.next;
    }
    return true;
}

// ---- Painting ----------------------------------------------------------------

void FileViewer::paintEvent(QPaintEvent*)
{
    syncWithDocument();
    QPainter p(viewport());
    const QPalette& pal = palette();
    const QFontMetrics fm(font());
    const int spacing = std::max(1, fm.lineSpacing());
    const int ascent = fm.ascent();
    const int cw = std::max(1, fm.horizontalAdvance(QLatin1Char('0')));
    const int x0 = kMargin - horizontalScrollBar()->value();
    const qint64 size = doc_.size();
    const bool hex = doc_.hexMode();
    const int digits = HexOffsetDigits(size);
    const bool selection = hasSelection();
    const qint64 a = selectionStart();
    const qint64 b = selectionEnd();
    const qint64 caretStart = caretLineStart();
    const int rows = visibleRows() + 1;
    // What lies right of the window need not be drawn; no character of a
    // fixed-pitch font is narrower than half a digit.
    const int drawChars = (horizontalScrollBar()->value() + viewport()->width()) / std::max(1, cw / 2) + 2;

    qint64 s = top_;
    for (int r = 0; r < rows && s < size; ++r) {
        const ViewerDocument::Line line = doc_.lineFrom(s);
        const bool inSelection = selection && a < std::max(line.next, line.end + 1) && b > line.start;
        // Columns are needed only where the caret or the selection is.
        std::vector<int> map;
        const bool columns = !hex && (inSelection || line.start == caretStart);
        const QString text = doc_.lineText(line, options_, columns ? &map : nullptr);
        const int y = r * spacing;
        const auto columnIn = [&](qint64 offset) {
            if (offset >= line.end)
                return int(text.size());
            return int(std::lower_bound(map.begin(), map.end(), int(offset - line.start)) - map.begin());
        };

        QList<QRect> marked;
        if (inSelection) {
            if (hex) {
                // Glyph advances need not be whole pixels: positions come
                // from the text itself.
                const auto span = [&](int fromColumn, int toColumn) {
                    const int left = x0 + xOfColumn(text, fromColumn);
                    return QRect(left, y, x0 + xOfColumn(text, toColumn) - left, spacing);
                };
                const int i1 = int(std::max(a, line.start) - line.start);
                const int i2 = int(std::min(b, line.end) - line.start);  // one past the last
                if (i2 > i1) {
                    marked << span(HexPairColumn(i1, digits), HexPairColumn(i2 - 1, digits) + 2)
                           << span(HexCharColumn(i1, digits), HexCharColumn(i2 - 1, digits) + 1);
                }
            } else {
                const int c1 = a <= line.start ? 0 : columnIn(a);
                const int c2 = b >= line.next ? int(text.size()) : columnIn(b);
                const int x1 = x0 + xOfColumn(text, c1);
                int x2 = x0 + xOfColumn(text, c2);
                if (b > line.end && line.next > line.end)
                    x2 += cw / 2;  // the line break is selected too
                marked << QRect(x1, y, std::max(0, x2 - x1), spacing);
            }
        }
        for (const QRect& m : std::as_const(marked))
            p.fillRect(m, pal.brush(QPalette::Highlight));
        const QString drawn = text.size() > drawChars ? text.left(drawChars) : text;
        p.setPen(pal.color(QPalette::Text));
        p.drawText(x0, y + ascent, drawn);
        if (!marked.isEmpty()) {
            p.save();
            QRegion clip;
            for (const QRect& m : std::as_const(marked))
                clip += m;
            p.setClipRegion(clip);
            p.setPen(pal.color(QPalette::HighlightedText));
            p.drawText(x0, y + ascent, drawn);
            p.restore();
        }
        if (line.start == caretStart) {
            const int column = hex ? int(std::min<qint64>(caret_ - line.start, ViewerDocument::kHexLineBytes))
                                   : columnIn(caret_);
            const int x = x0 + xOfColumn(text, hex ? HexPairColumn(column, digits) : column);
            p.fillRect(QRect(x, y, hasFocus() ? 2 : 1, spacing), pal.brush(QPalette::Text));
        }
        if (line.next <= s)
            break;
        s = line.next;
    }
}

}  // namespace comp
