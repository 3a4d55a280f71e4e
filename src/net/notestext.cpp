#include "net/notestext.h"

#include "net/rtftext.h"

#include <QStringDecoder>

namespace net {

namespace {

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
}

// Line ends (CRLF, LF, CR) as LF.
QString unifyLineEnds(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

}  // namespace

QString DecodeBody(const QByteArray& body)
{
    QByteArray bytes = body;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(bytes.size());
    for (const char c : std::as_const(bytes)) {
        const QChar ch = Cp1252Char(uchar(c));
        text.append(ch.isNull() ? QChar(QChar::ReplacementCharacter) : ch);
    }
    return text;
}

QStringList SplitLines(const QByteArray& body)
{
    QStringList lines = unifyLineEnds(DecodeBody(body)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        for (QChar& c : line) {
            if (isControl(c))
                c = QLatin1Char(' ');
        }
    }
    return lines;
}

QString NotesText(const QByteArray& body)
{
    if (LooksLikeRtf(body))
        return RtfToText(body);
    const QString text = unifyLineEnds(DecodeBody(body));
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\t') || !isControl(c))
            clean.append(c);
    }
    return clean;
}

QList<TextLink> FindWebLinks(const QString& text)
{
    QList<TextLink> links;
    auto ends = [](QChar c) {
        return c.isSpace() || isControl(c) || c == QLatin1Char('"') || c == QLatin1Char('<')
               || c == QLatin1Char('>') || c == QChar(0x00A0);
    };
    auto trailing = [](QChar c) {
        return QStringLiteral(".,;:!?)]}'").contains(c);
    };
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype http = text.indexOf(QLatin1String("http://"), from, Qt::CaseInsensitive);
        const qsizetype https = text.indexOf(QLatin1String("https://"), from, Qt::CaseInsensitive);
        qsizetype start = http < 0 ? https : (https < 0 ? http : qMin(http, https));
        if (start < 0)
            break;
        const qsizetype prefix = text.mid(start, 8).compare(QLatin1String("https://"), Qt::CaseInsensitive) == 0 ? 8 : 7;
        qsizetype end = start + prefix;
        while (end < text.size() && !ends(text.at(end)))
            ++end;
        while (end > start + prefix && trailing(text.at(end - 1)))
            --end;
        if (end > start + prefix)
            links.append(TextLink{int(start), int(end - start), text.mid(start, end - start)});
        from = end;
    }
    return links;
}

}  // namespace net
