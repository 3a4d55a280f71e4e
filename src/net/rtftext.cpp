#include "net/rtftext.h"

#include <QVarLengthArray>
#include <cstring>

namespace net {

namespace {

constexpr int kMaxDepth = 256;       // deeper groups share the deepest \ucN state
constexpr int kMaxWordLength = 32;   // longer control words are consumed, not known
constexpr int kMaxDigits = 10;       // longer parameters are consumed and clamped
constexpr int kMaxUnicodeSkip = 16;  // \ucN beyond this is clamped

// Bytes 0x80..0x9F of Windows-1252; 0 = unassigned.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Control words whose group holds no document text.
constexpr const char* kDestinations[] = {
    "fonttbl",  "colortbl", "stylesheet", "info",     "pict",       "object",      "fldinst",
    "header",   "headerl",  "headerr",    "headerf",  "footer",     "footerl",     "footerr",
    "footerf",  "footnote", "listtable",  "listoverridetable",      "revtbl",      "rsidtbl",
    "generator", "xmlnstbl", "themedata", "colorschememapping",     "datastore",   "latentstyles",
    "filetbl",  "author",   "operator",   "title",    "subject",    "keywords",    "comment",
    "doccomm",  "nonshppict", "shppict",  "bkmkstart", "bkmkend",   "xe",          "tc",
    "private",  "template", "userprops",  "objdata",  "blipuid",    "pgdsctbl",    "listtext",
    "pntext",   "pntxta",   "pntxtb",     "atnid",    "atnauthor",  "annotation",  "buptim",
    "creatim",  "printim",  "revtim",     "company",  "manager",    "category",    "hlinkbase",
    "mmathPr",  "wgrffmtfilter", "passwordhash", "shpinst", "sp",    "sn",          "sv",
};

struct Symbol {
    const char* word;
    char16_t ch;
};
constexpr Symbol kSymbols[] = {
    {"par", u'\n'},      {"line", u'\n'},     {"sect", u'\n'},      {"page", u'\n'},
    {"row", u'\n'},      {"tab", u'\t'},      {"cell", u'\t'},      {"lquote", 0x2018},
    {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022},
    {"endash", 0x2013},  {"emdash", 0x2014},  {"enspace", u' '},    {"emspace", u' '},
    {"qmspace", u' '},
};

struct State {
    int unicodeSkip = 1;  // \ucN: fallback characters after each \uN
};

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class Extractor {
public:
    explicit Extractor(const QByteArray& in) : data_(in.constData()), size_(in.size())
    {
        out_.reserve(qMin<qsizetype>(size_, 1 << 20));
        stack_.append(State{});  // outside every group
    }

    QString run()
    {
        while (pos_ < size_) {
            const char c = data_[pos_++];
            switch (c) {
            case '{':
                openGroup();
                break;
            case '}':
                closeGroup();
                break;
            case '\\':
                control();
                break;
            case '\r':
            case '\n':
                break;  // line ends in the source are not text
            default:
                text(Cp1252Char(uchar(c)));
                break;
            }
        }
        return finish();
    }

private:
    State& state() { return stack_.last(); }
    bool skipping() const { return skipFrom_ > 0; }

    // Skips the rest of the current group and the groups inside it.
    void skipGroup()
    {
        if (!skipping() && depth_ > 0)
            skipFrom_ = depth_;
    }

    void openGroup()
    {
        pendingSkip_ = 0;
        ++depth_;
        if (stack_.size() <= kMaxDepth) {
            const State inherited = state();
            stack_.append(inherited);
        }
    }

    void closeGroup()
    {
        pendingSkip_ = 0;
        if (depth_ == 0)
            return;
        if (stack_.size() - 1 == depth_)
            stack_.removeLast();
        --depth_;
        if (depth_ < skipFrom_)
            skipFrom_ = 0;
    }

    // A character of the document, unless it is a fallback after \uN or
    // lies in a skipped group.
    void text(QChar ch)
    {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (skipping() || depth_ == 0 || ch.isNull())  // nothing outside the document group
            return;
        out_.append(ch);
    }

    void control()
    {
        if (pos_ >= size_)
            return;
        const char c = data_[pos_];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++pos_;
        switch (c) {
        case '\'':
            if (pos_ + 1 < size_ && isHex(data_[pos_]) && isHex(data_[pos_ + 1])) {
                const int byte = hexValue(data_[pos_]) * 16 + hexValue(data_[pos_ + 1]);
                pos_ += 2;
                text(Cp1252Char(uchar(byte)));
            }
            break;
        case '*':
            skipGroup();
            break;
        case '\\':
        case '{':
        case '}':
            text(QLatin1Char(c));
            break;
        case '~':
            text(QChar(0x00A0));
            break;
        case '_':
            text(QChar(0x2011));
            break;
        case '\r':
        case '\n':
            text(QLatin1Char('\n'));  // a backslash before a line end is a paragraph
            break;
        default:
            // "\-" (optional hyphen), "\|", "\:" and unknown symbols add nothing,
            // but count as a fallback character after \uN.
            if (pendingSkip_ > 0)
                --pendingSkip_;
            break;
        }
    }

    void controlWord()
    {
        char word[kMaxWordLength + 1];
        int length = 0;
        while (pos_ < size_ && isLetter(data_[pos_])) {
            if (length < kMaxWordLength)
                word[length] = data_[pos_];
            ++length;
            ++pos_;
        }
        const bool known = length <= kMaxWordLength;
        word[qMin(length, kMaxWordLength)] = '\0';

        bool negative = false;
        bool hasParam = false;
        long long param = 0;
        if (pos_ < size_ && data_[pos_] == '-' && pos_ + 1 < size_ && data_[pos_ + 1] >= '0'
            && data_[pos_ + 1] <= '9') {
            negative = true;
            ++pos_;
        }
        int digits = 0;
        while (pos_ < size_ && data_[pos_] >= '0' && data_[pos_] <= '9') {
            if (digits < kMaxDigits)
                param = param * 10 + (data_[pos_] - '0');
            ++digits;
            ++pos_;
            hasParam = true;
        }
        if (negative)
            param = -param;
        if (pos_ < size_ && data_[pos_] == ' ')
            ++pos_;  // the delimiter belongs to the word
        if (known)
            apply(word, hasParam, param);
    }

    void apply(const char* word, bool hasParam, long long param)
    {
        if (std::strcmp(word, "bin") == 0) {
            // Raw binary data of the given length follows: never text.
            const qsizetype n = hasParam && param > 0 ? qsizetype(qMin<long long>(param, size_ - pos_)) : 0;
            pos_ += n;
            return;
        }
        if (std::strcmp(word, "u") == 0 && hasParam) {
            const long long code = param < 0 ? param + 65536 : param;
            const int skipAfter = state().unicodeSkip;
            pendingSkip_ = 0;
            if (code >= 0 && code <= 0xFFFF)
                text(QChar(char16_t(code)));
            pendingSkip_ = skipAfter;
            return;
        }
        if (std::strcmp(word, "uc") == 0) {
            state().unicodeSkip = int(qBound(0LL, hasParam ? param : 1LL, (long long)kMaxUnicodeSkip));
            return;
        }
        for (const char* d : kDestinations) {
            if (std::strcmp(word, d) == 0) {
                skipGroup();
                return;
            }
        }
        for (const Symbol& s : kSymbols) {
            if (std::strcmp(word, s.word) == 0) {
                text(QChar(s.ch));
                return;
            }
        }
        // Any other control word is formatting; it still stands for one
        // fallback character after \uN.
        if (pendingSkip_ > 0)
            --pendingSkip_;
    }

    // Leaves out controls other than line feed and tab, and pairs up
    // surrogates: a lone one becomes U+FFFD.
    QString finish()
    {
        QString clean;
        clean.reserve(out_.size());
        for (qsizetype i = 0; i < out_.size(); ++i) {
            const QChar ch = out_.at(i);
            if (ch.isHighSurrogate() && i + 1 < out_.size() && out_.at(i + 1).isLowSurrogate()) {
                clean.append(ch);
                clean.append(out_.at(++i));
            } else if (ch.isSurrogate()) {
                clean.append(QChar(QChar::ReplacementCharacter));
            } else if (ch == QLatin1Char('\n') || ch == QLatin1Char('\t') || !(ch.unicode() < 0x20
                                                                                || (ch.unicode() >= 0x7F
                                                                                    && ch.unicode() <= 0x9F))) {
                clean.append(ch);
            }
        }
        return clean;
    }

    const char* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
    QVarLengthArray<State, 64> stack_;  // one per open group, up to kMaxDepth
    qsizetype depth_ = 0;               // open groups
    qsizetype skipFrom_ = 0;            // depth of the skipped group; 0 = none
    int pendingSkip_ = 0;
    QString out_;
};

}  // namespace

QChar Cp1252Char(uchar byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kCp1252High[byte - 0x80] ? QChar(kCp1252High[byte - 0x80]) : QChar();
    return QChar(char16_t(byte));
}

bool LooksLikeRtf(const QByteArray& data)
{
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

QString RtfToText(const QByteArray& rtf)
{
    return Extractor(rtf).run();
}

}  // namespace net
