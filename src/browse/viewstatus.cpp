#include "browse/viewstatus.h"

#include "core/helpers.h"

#include <QRegularExpression>

#include <algorithm>

namespace browse {

QString CaretStatusText(std::optional<qint64> line, int column)
{
    const QString lineText = line ? QString::number(*line + 1) : QStringLiteral("?");
    return (lineText + QLatin1Char(':') + QString::number(column + 1)).rightJustified(8);
}

QString TotalStatusText(qint64 count)
{
    return QStringLiteral("Total: ") + (count < 0 ? QStringLiteral("?") : core::FormatGrouped(count));
}

QString TopStatusText(std::optional<qint64> line)
{
    return QStringLiteral("Top: ") + (line ? QString::number(*line + 1) : QStringLiteral("?")).rightJustified(5);
}

QString BytesStatusText(qint64 size)
{
    return QStringLiteral("Bytes: ") + core::FormatGrouped(size);
}

std::optional<qint64> WholeNumber(const QString& text)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    if (!whole.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 n = t.toLongLong(&ok);
    if (!ok)  // beyond 64 bits: the largest of that sign
        return t.startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min()
                                              : std::numeric_limits<qint64>::max();
    return n;
}

std::optional<qint64> GoToLineAnswer(const QString& text, qint64 count)
{
    const std::optional<qint64> n = WholeNumber(text);
    if (!n || count < 1)
        return std::nullopt;
    return std::clamp<qint64>(*n, 1, count);
}

std::optional<int> TabSizeAnswer(const QString& text)
{
    const std::optional<qint64> n = WholeNumber(text);
    if (!n || *n < 1 || *n > 255)
        return std::nullopt;
    return int(*n);
}

}  // namespace browse
