#include "components/viewersearch.h"

#include "components/viewerdoc.h"
#include "components/viewertext.h"

#include <algorithm>
#include <cstring>

namespace comp {

namespace {

constexpr qint64 kChunk = 4 * ViewerDocument::kPageSize;

void foldCase(QByteArray& b)
{
    for (char& c : b) {
        if (c >= 'A' && c <= 'Z')
            c = char(c + ('a' - 'A'));
    }
}

qint64 firstIn(const QByteArray& hay, const QByteArray& needle, qint64 limit)
{
    const void* hit = ::memmem(hay.constData(), size_t(hay.size()), needle.constData(), size_t(needle.size()));
    if (!hit)
        return -1;
    const qint64 at = static_cast<const char*>(hit) - hay.constData();
    return at < limit ? at : -1;
}

// The last find that starts before limit.
qint64 lastIn(const QByteArray& hay, const QByteArray& needle, qint64 limit)
{
    qint64 last = -1;
    qint64 from = 0;
    for (;;) {
        const void* hit = ::memmem(hay.constData() + from, size_t(hay.size() - from), needle.constData(),
                                   size_t(needle.size()));
        if (!hit)
            break;
        const qint64 at = static_cast<const char*>(hit) - hay.constData();
        if (at >= limit)
            break;
        last = at;
        from = at + 1;
    }
    return last;
}

}  // namespace

QList<QByteArray> SearchNeedles(const QString& text)
{
    QList<QByteArray> out;
    if (text.isEmpty())
        return out;
    out << text.toUtf8();
    QByteArray other;
    for (const char32_t cp : text.toUcs4()) {
        const int b = Cp1252Byte(cp);
        if (b < 0)
            return out;
        other += char(b);
    }
    if (other != out.first())
        out << other;
    return out;
}

SearchOutcome SearchViewerDocument(ViewerDocument& doc, const ViewerSearch& search, qint64 from, ViewerMatch& match,
                                   const std::function<bool()>& keepGoing)
{
    QList<QByteArray> needles = SearchNeedles(search.text);
    if (needles.isEmpty())
        return SearchOutcome::NotFound;
    qint64 longest = 0;
    for (QByteArray& n : needles) {
        if (!search.matchCase)
            foldCase(n);
        longest = std::max<qint64>(longest, n.size());
    }
    const auto load = [&](qint64 a, qint64 b) {
        QByteArray chunk = doc.bytes(a, b);
        if (!search.matchCase)
            foldCase(chunk);
        return chunk;
    };

    if (!search.backward) {
        for (qint64 pos = std::max<qint64>(from, 0); pos < doc.size(); pos += kChunk) {
            const QByteArray chunk = load(pos, pos + kChunk + longest - 1);
            qint64 best = -1, bestLen = 0;
            for (const QByteArray& n : needles) {
                const qint64 at = firstIn(chunk, n, kChunk);
                if (at >= 0 && (best < 0 || at < best)) {
                    best = at;
                    bestLen = n.size();
                }
            }
            if (best >= 0) {
                match = {pos + best, pos + best + bestLen};
                return SearchOutcome::Found;
            }
            if (keepGoing && !keepGoing())
                return SearchOutcome::Aborted;
        }
        return SearchOutcome::NotFound;
    }

    for (qint64 hi = std::min(from, doc.size()); hi > 0;) {
        const qint64 lo = std::max<qint64>(0, hi - kChunk);
        const QByteArray chunk = load(lo, hi + longest - 1);
        qint64 best = -1, bestLen = 0;
        for (const QByteArray& n : needles) {
            const qint64 at = lastIn(chunk, n, hi - lo);
            if (at > best) {
                best = at;
                bestLen = n.size();
            }
        }
        if (best >= 0) {
            match = {lo + best, lo + best + bestLen};
            return SearchOutcome::Found;
        }
        hi = lo;
        if (hi > 0 && keepGoing && !keepGoing())
            return SearchOutcome::Aborted;
    }
    return SearchOutcome::NotFound;
}

}  // namespace comp
