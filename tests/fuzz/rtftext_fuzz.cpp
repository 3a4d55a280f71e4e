// libFuzzer target for the release notes' text: the RTF extractor, the
// plain-text path, the version file's lines and the link finder. Aborts when
// the text holds a control other than line feed and tab or a lone surrogate,
// when the extractor returns more characters than it read, or when a link
// lies outside the text or is not an http(s) address. Built only with
// -DTROVIK_FUZZ=ON and clang.
#include "net/notestext.h"
#include "net/rtftext.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

void checkText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            continue;
        check(c.unicode() >= 0x20 && !(c.unicode() >= 0x7F && c.unicode() <= 0x9F));
        if (c.isHighSurrogate()) {
            check(i + 1 < text.size() && text.at(i + 1).isLowSurrogate());
            ++i;
        } else {
            check(!c.isLowSurrogate());
        }
    }
    for (const net::TextLink& l : net::FindWebLinks(text)) {
        check(l.start >= 0 && l.length > 0 && l.start + l.length <= text.size());
        check(text.mid(l.start, l.length) == l.url);
        check(l.url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
              || l.url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray in(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString rtf = net::RtfToText(in);
    check(rtf.size() <= in.size());
    checkText(rtf);
    checkText(net::NotesText(in));
    for (const QString& line : net::SplitLines(in)) {
        for (const QChar c : line)
            check(c.unicode() >= 0x20 && !(c.unicode() >= 0x7F && c.unicode() <= 0x9F));
    }
    return 0;
}
