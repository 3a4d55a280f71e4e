#include "components/viewertext.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace comp {

namespace {

// Windows-1252 for 0x80..0x9F; 0 where the code page has no character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at data[i] (2..4) and its code
// point, or 0 when the bytes there are not one.
int utf8Sequence(const unsigned char* d, qsizetype n, qsizetype i, char32_t& cp)
{
    const unsigned char c = d[i];
    int len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
        if (c == 0xE0)
            lo = 0xA0;  // no overlong forms
        else if (c == 0xED)
            hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
        if (c == 0xF0)
            lo = 0x90;
        else if (c == 0xF4)
            hi = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (i + len > n)
        return 0;
    if (d[i + 1] < lo || d[i + 1] > hi)
        return 0;
    for (int k = 1; k < len; ++k) {
        if (!isContinuation(d[i + k]))
            return 0;
        cp = (cp << 6) | (d[i + k] & 0x3F);
    }
    return len;
}

// Characters that would not show as themselves, or would turn the rest of
// the line around: the C0 and C1 controls, DEL, and the bidirectional
// embeddings, overrides and isolates.
bool isControl(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || (cp >= 0x202A && cp <= 0x202E)
        || (cp >= 0x2066 && cp <= 0x2069);
}

// The character at d[i] and the number of bytes it takes: a valid UTF-8
// sequence, else the one byte as Windows-1252 (0x01, a control, where that
// has no character).
int nextChar(const unsigned char* d, qsizetype size, qsizetype i, char32_t& cp)
{
    const unsigned char c = d[i];
    cp = c;
    if (c < 0x80)
        return 1;
    if (const int len = utf8Sequence(d, size, i, cp))
        return len;
    cp = c < 0xA0 ? kCp1252High[c - 0x80] : c;
    if (cp == 0)
        cp = 0x01;
    return 1;
}

// Calls visit(codePoint, byteIndex) for every character of the bytes.
template <class Visit>
void forEachChar(const char* data, qsizetype size, Visit&& visit)
{
    const auto* d = reinterpret_cast<const unsigned char*>(data);
    for (qsizetype i = 0; i < size;) {
        char32_t cp;
        const int len = nextChar(d, size, i, cp);
        visit(cp, int(i));
        i += len;
    }
}

}  // namespace

QString DecodeViewerLine(const char* data, qsizetype size, const ViewerTextOptions& options,
                         std::vector<int>* byteOfChar)
{
    const int tab = std::clamp(options.tabSize, 1, 255);
    // One UTF-16 unit a byte at most, except for the blanks of tabs.
    QString out(size, Qt::Uninitialized);
    char16_t* begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* p = begin;
    if (byteOfChar) {
        byteOfChar->clear();
        byteOfChar->reserve(size_t(size));
    }
    const auto note = [&](qsizetype byte, qsizetype count) {
        if (byteOfChar)
            byteOfChar->insert(byteOfChar->end(), size_t(count), int(byte));
    };
    const auto* d = reinterpret_cast<const unsigned char*>(data);

    // One character at i; returns where the next one starts.
    const auto one = [&](qsizetype i) -> qsizetype {
        const unsigned char c = d[i];
        if (c >= 0x20 && c < 0x7F) {
            *p++ = c;
            note(i, 1);
            return i + 1;
        }
        char32_t cp;
        const int len = nextChar(d, size, i, cp);
        if (cp == u'\t' && options.expandTabs) {
            const qsizetype at = p - begin;
            const qsizetype blanks = tab - at % tab;
            if (at + blanks + (size - i - 1) > out.size()) {
                out.resize(at + blanks + (size - i - 1));
                begin = reinterpret_cast<char16_t*>(out.data());
                p = begin + at;
            }
            std::fill(p, p + blanks, u' ');
            p += blanks;
            note(i, blanks);
        } else if (isControl(cp)) {
            *p++ = kViewerPlaceholder;
            note(i, 1);
        } else if (cp > 0xFFFF) {
            *p++ = QChar::highSurrogate(cp);
            *p++ = QChar::lowSurrogate(cp);
            note(i, 2);
        } else {
            *p++ = char16_t(cp);
            note(i, 1);
        }
        return i + len;
    };

    for (qsizetype i = 0; i < size;) {
#if defined(__SSE2__)
        // Sixteen bytes at a time while they are all printable ASCII, or all
        // controls (binary files are full of them).
        if (i + 16 <= size) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            const __m128i from20 = _mm_cmpgt_epi8(v, _mm_set1_epi8(0x1F));  // 0x20..0x7F
            const __m128i del = _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F));
            if (_mm_movemask_epi8(_mm_andnot_si128(del, from20)) == 0xFFFF) {
                const __m128i zero = _mm_setzero_si128();
                _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_unpacklo_epi8(v, zero));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 8), _mm_unpackhi_epi8(v, zero));
                p += 16;
                if (byteOfChar)
                    for (int k = 0; k < 16; ++k)
                        byteOfChar->push_back(int(i + k));
                i += 16;
                continue;
            }
            const __m128i ascii = _mm_cmpgt_epi8(v, _mm_set1_epi8(-1));  // 0x00..0x7F
            __m128i control = _mm_or_si128(_mm_andnot_si128(from20, ascii), del);
            if (options.expandTabs)
                control = _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\t')), control);
            if (_mm_movemask_epi8(control) == 0xFFFF) {
                std::fill(p, p + 16, kViewerPlaceholder);
                p += 16;
                if (byteOfChar)
                    for (int k = 0; k < 16; ++k)
                        byteOfChar->push_back(int(i + k));
                i += 16;
                continue;
            }
            for (const qsizetype stop = i + 16; i < stop && i < size;)
                i = one(i);
            continue;
        }
#endif
        i = one(i);
    }
    out.truncate(p - begin);
    return out;
}

QString ViewerClipText(const char* data, qsizetype size)
{
    QString out;
    out.reserve(size);
    forEachChar(data, size, [&](char32_t cp, int) {
        if (cp == u'\t')
            out.append(QLatin1Char('\t'));
        else if (isControl(cp))
            out.append(QChar(kViewerPlaceholder));
        else if (cp > 0xFFFF)
            out.append(QChar(QChar::highSurrogate(cp))).append(QChar(QChar::lowSurrogate(cp)));
        else
            out.append(QChar(char16_t(cp)));
    });
    return out;
}

int Cp1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == cp)
            return 0x80 + i;
    }
    return -1;
}

int HexOffsetDigits(qint64 fileSize)
{
    int digits = 1;
    for (quint64 last = fileSize > 0 ? quint64(fileSize - 1) : 0; last >= 16; last >>= 4)
        ++digits;
    return std::max(8, digits);
}

QString HexViewerLine(qint64 offset, const char* data, int size, int offsetDigits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    QString out = QString::number(quint64(offset), 16).toUpper().rightJustified(offsetDigits, QLatin1Char('0'));
    out += QLatin1String("  ");
    for (int i = 0; i < 16; ++i) {
        if (i < size) {
            const auto b = static_cast<unsigned char>(data[i]);
            out += QLatin1Char(kDigits[b >> 4]);
            out += QLatin1Char(kDigits[b & 15]);
            out += QLatin1Char(' ');
        } else {
            out += QLatin1String("   ");
        }
    }
    out += QLatin1Char(' ');
    for (int i = 0; i < size && i < 16; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out += (b >= 0x20 && b < 0x7F) ? QLatin1Char(char(b)) : QLatin1Char('.');
    }
    return out;
}

int HexPairColumn(int i, int offsetDigits)
{
    return offsetDigits + 2 + 3 * i;
}

int HexCharColumn(int i, int offsetDigits)
{
    return offsetDigits + 2 + 3 * 16 + 1 + i;
}

int HexByteAtColumn(int column, int offsetDigits)
{
    if (column >= HexCharColumn(0, offsetDigits))
        return std::clamp(column - HexCharColumn(0, offsetDigits), 0, 15);
    return std::clamp((column - HexPairColumn(0, offsetDigits)) / 3, 0, 15);
}

}  // namespace comp
