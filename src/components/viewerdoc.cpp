#include "components/viewerdoc.h"

#include <QElapsedTimer>

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace comp {

namespace {

// A line start is remembered about every 64 KiB, so that finding the line
// of an offset in the counted part reads at most that much.
constexpr qint64 kCheckpointSpacing = 64 * 1024;

// The display line holding y inside a line feed-delimited line that starts
// at logicalStart: its pieces are 4,096 bytes long, and a line feed right
// after a full piece ends that piece.
qint64 pieceStart(qint64 logicalStart, qint64 y, bool yIsLineFeed)
{
    const qint64 max = ViewerDocument::kMaxLineBytes;
    qint64 k = (y - logicalStart) / max;
    if (yIsLineFeed && k > 0 && (y - logicalStart) % max == 0)
        --k;
    return logicalStart + k * max;
}

qint64 piecesOf(qint64 bytes)
{
    const qint64 max = ViewerDocument::kMaxLineBytes;
    return bytes == 0 ? 1 : (bytes + max - 1) / max;
}

// Page buffers outlive the documents that used them, so that opening one
// file after another reuses memory instead of faulting in fresh pages.
thread_local std::vector<QByteArray> spareBuffers;

void keepSpare(QByteArray& buffer)
{
    if (buffer.capacity() >= ViewerDocument::kPageSize && spareBuffers.size() < ViewerDocument::kCachedPages) {
        buffer.resize(0);
        spareBuffers.push_back(std::move(buffer));
    }
    buffer = QByteArray();
}

#if defined(__SSE2__)
// One bit for every line feed among 64 bytes.
inline quint64 lineFeedMask(const char* p)
{
    const __m128i lf = _mm_set1_epi8('\n');
    const auto at = [&](int k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        return quint64(quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf))));
    };
    return at(0) | (at(1) << 16) | (at(2) << 32) | (at(3) << 48);
}
#endif

}  // namespace

ViewerDocument::ViewerDocument()
{
    resetCount();
}

ViewerDocument::~ViewerDocument()
{
    for (Page& p : pages_)
        keepSpare(p.data);
}

void ViewerDocument::forget(Page& p)
{
    p.index = -1;
    p.used = 0;
    p.data.resize(0);
}

bool ViewerDocument::open(const QString& drivePath)
{
    return finishOpen(reader_.open(drivePath));
}

bool ViewerDocument::openPosix(const QByteArray& posixPath)
{
    return finishOpen(reader_.openPosix(posixPath));
}

bool ViewerDocument::finishOpen(bool opened)
{
    for (Page& p : pages_)
        forget(p);
    size_ = opened ? reader_.size() : 0;
    openedSize_ = size_;
    error_ = opened ? QString() : reader_.errorText();
    resetCount();
    ++generation_;
    if (size_ == 0)
        finishCount();
    return opened;
}

void ViewerDocument::close()
{
    reader_.close();
    finishOpen(false);
    error_.clear();
}

void ViewerDocument::setHexMode(bool on)
{
    if (hex_ == on)
        return;
    hex_ = on;
    ++generation_;
}

// ---- Pages -----------------------------------------------------------------

const QByteArray* ViewerDocument::page(qint64 index)
{
    if (index < 0 || index * kPageSize >= size_)
        return nullptr;
    Page* oldest = &pages_[0];
    for (Page& p : pages_) {
        if (p.index == index) {
            p.used = ++useClock_;
            return &p.data;
        }
        if (p.used < oldest->used)
            oldest = &p;
    }
    const qint64 at = index * kPageSize;
    const qint64 want = std::min(kPageSize, size_ - at);
    oldest->index = -1;
    if (oldest->data.capacity() < want && !spareBuffers.empty()) {
        oldest->data = std::move(spareBuffers.back());
        spareBuffers.pop_back();
    }
    oldest->data.resize(want);
    qint64 got = reader_.seek(at) ? reader_.read(oldest->data.data(), want) : -1;
    if (got < want)
        endsAt(at + std::max<qint64>(got, 0), got < 0 ? reader_.errorText() : QString());
    if (got <= 0) {
        oldest->data.resize(0);
        return nullptr;
    }
    oldest->data.truncate(got);
    oldest->index = index;
    oldest->used = ++useClock_;
    return &oldest->data;
}

void ViewerDocument::endsAt(qint64 newSize, const QString& why)
{
    if (newSize >= size_)
        return;
    size_ = newSize;
    if (!why.isEmpty())
        error_ = why;
    for (Page& p : pages_) {
        if (p.index < 0)
            continue;
        const qint64 at = p.index * kPageSize;
        if (at >= newSize)
            forget(p);
        else if (at + p.data.size() > newSize)
            p.data.truncate(newSize - at);
    }
    if (counted_ || countPos_ > newSize)
        resetCount();
    ++generation_;
}

int ViewerDocument::byteAt(qint64 offset)
{
    const QByteArray* p = page(offset / kPageSize);
    const qint64 i = offset % kPageSize;
    if (!p || i >= p->size())
        return -1;
    return static_cast<unsigned char>(p->at(i));
}

QByteArray ViewerDocument::bytes(qint64 from, qint64 to)
{
    QByteArray out;
    from = std::max<qint64>(from, 0);
    if (to > from)
        out.reserve(std::min(to, size_) - std::min(from, size_));
    while (from < std::min(to, size_)) {
        const qint64 index = from / kPageSize;
        const QByteArray* p = page(index);
        const qint64 off = from - index * kPageSize;
        if (!p || off >= p->size())
            break;
        const qint64 n = std::min<qint64>(p->size() - off, std::min(to, size_) - from);
        out.append(p->constData() + off, n);
        from += n;
    }
    return out;
}

qint64 ViewerDocument::findLineFeed(qint64 from, qint64 limit)
{
    qint64 pos = std::max<qint64>(from, 0);
    while (pos < std::min(limit, size_)) {
        const qint64 index = pos / kPageSize;
        const QByteArray* p = page(index);
        const qint64 off = pos - index * kPageSize;
        if (!p || off >= p->size())
            return -1;
        const qint64 n = std::min<qint64>(p->size(), std::min(limit, size_) - index * kPageSize) - off;
        if (n <= 0)
            return -1;
        if (const void* hit = std::memchr(p->constData() + off, '\n', size_t(n)))
            return index * kPageSize + (static_cast<const char*>(hit) - p->constData());
        pos += n;
    }
    return -1;
}

qint64 ViewerDocument::findLineFeedBack(qint64 from, qint64 low)
{
    qint64 pos = std::min(from, size_);
    low = std::max<qint64>(low, 0);
    while (pos > low) {
        const qint64 index = (pos - 1) / kPageSize;
        const QByteArray* p = page(index);
        if (!p) {
            if (pos <= size_)
                return -1;  // cannot happen: the page below the size is readable or the size shrank
            pos = size_;
            continue;
        }
        const qint64 base = index * kPageSize;
        const qint64 begin = std::max(low, base) - base;
        const qint64 end = std::min<qint64>(pos - base, p->size());
        if (end > begin) {
            if (const void* hit = ::memrchr(p->constData() + begin, '\n', size_t(end - begin)))
                return base + (static_cast<const char*>(hit) - p->constData());
        }
        pos = base + begin;
    }
    return -1;
}

// ---- Lines -------------------------------------------------------------------

ViewerDocument::Line ViewerDocument::lineFrom(qint64 start)
{
    start = std::max<qint64>(start, 0);
    if (start >= size_)
        return {size_, size_, size_};
    if (hex_) {
        const qint64 end = std::min(start + kHexLineBytes, size_);
        return {start, end, end};
    }
    const qint64 lf = findLineFeed(start, std::min(start + kMaxLineBytes + 1, size_));
    if (start >= size_)  // the file was found shorter on the way
        return {size_, size_, size_};
    if (lf >= 0) {
        qint64 end = lf;
        if (end > start && byteAt(end - 1) == '\r')
            --end;
        return {start, end, lf + 1};
    }
    const qint64 end = std::min(start + kMaxLineBytes, size_);
    return {start, end, end};
}

ViewerDocument::Line ViewerDocument::lineAt(qint64 offset)
{
    if (size_ <= 0)
        return {0, 0, 0};
    const qint64 y = std::clamp<qint64>(offset, 0, size_ - 1);
    if (hex_)
        return lineFrom(y - y % kHexLineBytes);
    return y < countPos_ ? lineAtCounted(y) : lineAtScanned(y);
}

ViewerDocument::Line ViewerDocument::lineAtCounted(qint64 y)
{
    // No line feed between countStart_ and countPos_.
    if (y >= countStart_)
        return lineFrom(pieceStart(countStart_, y, false));
    auto it = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), y,
                               [](qint64 v, const Checkpoint& c) { return v < c.offset; });
    qint64 s = std::prev(it)->offset;
    for (;;) {
        const Line l = lineFrom(s);
        if (l.next > y || l.next >= size_ || l.next <= s)
            return l;
        s = l.next;
    }
}

ViewerDocument::Line ViewerDocument::lineAtScanned(qint64 y)
{
    const quint64 generation = generation_;
    const bool yIsLineFeed = byteAt(y) == '\n';
    BackScan& b = back_;
    const bool reuse = b.generation == generation_ && b.clearFrom <= y && y - b.clearTo <= kBackScanBytes;
    if (reuse) {
        const qint64 lf = y > b.clearTo ? findLineFeedBack(y, b.clearTo) : -1;
        if (lf >= 0) {
            b = {generation_, lf + 1, true, lf + 1, y};
        } else {
            b.clearTo = std::max(b.clearTo, y);
            // The count has reached the stretch: it knows where the line began.
            if (!b.exact && countPos_ >= b.clearFrom) {
                b.logicalStart = countStart_;
                b.exact = true;
                b.clearFrom = countStart_;
            }
        }
    } else {
        const qint64 low = std::max(countPos_, y - kBackScanBytes);
        const qint64 lf = findLineFeedBack(y, low);
        if (lf >= 0)
            b = {generation_, lf + 1, true, lf + 1, y};
        else if (low == countPos_)
            b = {generation_, countStart_, true, countStart_, y};
        else
            b = {generation_, 0, false, low, y};  // pieces taken at multiples of 4,096
    }
    if (generation != generation_) {  // the file was found shorter meanwhile
        back_ = BackScan();
        return lineAt(y);
    }
    return lineFrom(pieceStart(b.logicalStart, y, yIsLineFeed));
}

qint64 ViewerDocument::previousLineStart(qint64 start)
{
    if (start <= 0)
        return 0;
    return lineAt(start - 1).start;
}

qint64 ViewerDocument::lastScreenTop(int rows)
{
    if (size_ <= 0)
        return 0;
    qint64 s = lineAt(size_ - 1).start;
    for (int i = 1; i < rows && s > 0; ++i)
        s = previousLineStart(s);
    return s;
}

QString ViewerDocument::lineText(const Line& line, const ViewerTextOptions& options, std::vector<int>* byteOfChar)
{
    // Straight from the page when the line lies in one, else a copy.
    QByteArray copy;
    const char* data = nullptr;
    qint64 size = line.end - line.start;
    const qint64 index = line.start / kPageSize;
    const QByteArray* p = size > 0 && (line.end - 1) / kPageSize == index ? page(index) : nullptr;
    if (p && line.end - index * kPageSize <= p->size()) {
        data = p->constData() + (line.start - index * kPageSize);
    } else {
        copy = bytes(line.start, line.end);
        data = copy.constData();
        size = copy.size();
    }
    if (hex_) {
        if (byteOfChar)
            byteOfChar->clear();
        return HexViewerLine(line.start, data, int(size), HexOffsetDigits(size_));
    }
    return DecodeViewerLine(data, size, options, byteOfChar);
}

// ---- Counting ----------------------------------------------------------------

qint64 ViewerDocument::lineCount() const
{
    if (hex_)
        return (size_ + kHexLineBytes - 1) / kHexLineBytes;
    return counted_ ? total_ : -1;
}

void ViewerDocument::resetCount()
{
    checkpoints_.assign(1, Checkpoint{0, 0});
    countPos_ = 0;
    countStart_ = 0;
    countLines_ = 0;
    nextCheckpoint_ = kCheckpointSpacing;
    total_ = 0;
    counted_ = false;
}

void ViewerDocument::addCheckpoint(qint64 offset, qint64 line)
{
    if (offset > checkpoints_.back().offset)
        checkpoints_.push_back({offset, line});
    nextCheckpoint_ = offset + kCheckpointSpacing;
}

// A line longer than 4,096 bytes is many display lines: remember some of
// their starts, so that looking one up later need not walk the whole line.
void ViewerDocument::addLongLineCheckpoints(qint64 start, qint64 lines)
{
    const qint64 step = kCheckpointSpacing / kMaxLineBytes;
    for (qint64 k = step; k < lines; k += step)
        addCheckpoint(start + k * kMaxLineBytes, countLines_ + k);
}

void ViewerDocument::onLineFeed(qint64 p)
{
    const qint64 lines = piecesOf(p - countStart_);
    if (lines > 1)
        addLongLineCheckpoints(countStart_, lines);
    countLines_ += lines;
    countStart_ = p + 1;
    if (countStart_ >= nextCheckpoint_)
        addCheckpoint(countStart_, countLines_);
}

void ViewerDocument::countBytes(const char* data, qint64 n)
{
    const qint64 base = countPos_;
    qint64 i = 0;
#if defined(__SSE2__)
    // 64 bytes at a time: a block's line feeds after its first are less than
    // 64 bytes apart, so each of them ends exactly one display line.
    for (; i + 64 <= n; i += 64) {
        quint64 mask = lineFeedMask(data + i);
        if (!mask)
            continue;
        const qint64 first = base + i + std::countr_zero(mask);
        if (first - countStart_ > kMaxLineBytes) {
            onLineFeed(first);
            mask &= mask - 1;
            if (!mask)
                continue;
        }
        countLines_ += std::popcount(mask);
        countStart_ = base + i + (63 - std::countl_zero(mask)) + 1;
        if (countStart_ >= nextCheckpoint_)
            addCheckpoint(countStart_, countLines_);
    }
#endif
    for (; i < n; ++i) {
        if (data[i] == '\n')
            onLineFeed(base + i);
    }
    countPos_ = base + n;
}

void ViewerDocument::finishCount()
{
    const qint64 tail = size_ - countStart_;
    total_ = countLines_ + (tail > 0 ? piecesOf(tail) : 0);
    counted_ = true;
}

bool ViewerDocument::countFor(int ms)
{
    if (hex_ || counted_)
        return true;
    QElapsedTimer timer;
    timer.start();
    const qint64 chunk = 4 * kPageSize;
    if (countBuffer_.size() != chunk)
        countBuffer_.resize(chunk);
    while (countPos_ < size_) {
        const qint64 want = std::min(chunk, size_ - countPos_);
        const qint64 got = reader_.seek(countPos_) ? reader_.read(countBuffer_.data(), want) : -1;
        if (got < want)
            endsAt(countPos_ + std::max<qint64>(got, 0), got < 0 ? reader_.errorText() : QString());
        if (got <= 0)
            break;
        countBytes(countBuffer_.constData(), got);
        if (timer.elapsed() >= ms)
            break;
    }
    if (countPos_ >= size_)
        finishCount();
    return counted_;
}

bool ViewerDocument::countAll(const std::function<bool()>& keepGoing)
{
    while (!countFor(20)) {
        if (keepGoing && !keepGoing())
            return false;
    }
    return true;
}

bool ViewerDocument::countToLine(qint64 line, const std::function<bool()>& keepGoing)
{
    while (!counted() && !lineStartOf(line)) {
        countFor(20);
        if (keepGoing && !keepGoing())
            return false;
    }
    return true;
}

std::optional<qint64> ViewerDocument::lineNumberOf(qint64 offset)
{
    if (size_ <= 0)
        return std::nullopt;
    const qint64 y = std::clamp<qint64>(offset, 0, size_ - 1);
    if (hex_)
        return y / kHexLineBytes;
    if (y >= countPos_)  // not counted yet: only the first line is known
        return y < lineFrom(0).next ? std::optional<qint64>(0) : std::nullopt;
    if (y >= countStart_)
        return countLines_ + (y - countStart_) / kMaxLineBytes;
    auto it = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), y,
                               [](qint64 v, const Checkpoint& c) { return v < c.offset; });
    --it;
    qint64 n = it->line;
    qint64 s = it->offset;
    for (;;) {
        const Line l = lineFrom(s);
        if (l.next > y || l.next <= s)
            return n;
        ++n;
        s = l.next;
    }
}

std::optional<qint64> ViewerDocument::lineStartOf(qint64 n)
{
    if (n < 0)
        return std::nullopt;
    if (hex_) {
        if (n >= (size_ + kHexLineBytes - 1) / kHexLineBytes)
            return std::nullopt;
        return n * kHexLineBytes;
    }
    if (counted_ && n >= total_)
        return std::nullopt;
    if (n == 0)
        return size_ > 0 ? std::optional<qint64>(0) : std::nullopt;
    if (n >= countLines_) {
        const qint64 start = countStart_ + (n - countLines_) * kMaxLineBytes;
        if (start < countPos_ && start < size_)
            return start;
        return std::nullopt;
    }
    auto it = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), n,
                               [](qint64 v, const Checkpoint& c) { return v < c.line; });
    --it;
    qint64 s = it->offset;
    for (qint64 k = it->line; k < n; ++k) {
        const Line l = lineFrom(s);
        if (l.next <= s)
            return std::nullopt;
        s = l.next;
    }
    return s;
}

}  // namespace comp
