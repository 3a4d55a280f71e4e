#include "delete/archivenames.h"

#include "core/helpers.h"
#include "platform/environment.h"

#include <QLocale>

namespace del {

QString ArchiveTimeText(const QDateTime& time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    auto two = [](int n) { return QStringLiteral("%1").arg(n % 100, 2, 10, QLatin1Char('0')); };
    return two(d.day()) + QLocale().monthName(d.month(), QLocale::ShortFormat) + two(d.year()) + two(t.hour())
           + two(t.minute());
}

QString ArchiveNameFor(const QString& zipFolder, const QString& tag, QChar letter, const QDateTime& time)
{
    // No folder: the default archive folder, never the drive root.
    const QString folder = zipFolder.trimmed().isEmpty() ? plat::homeDrivePath() : zipFolder;
    return core::JoinPath(folder, QStringLiteral("Drive-") + letter.toUpper() + QLatin1Char('-') + tag
                                      + ArchiveTimeText(time) + QStringLiteral(".zip"));
}

QChar ArchiveLetterOf(const QString& drivePath)
{
    return drivePath.isEmpty() ? QChar() : drivePath.at(0).toUpper();
}

QString StoredEntryName(const QString& drivePath)
{
    if (drivePath.size() < 2 || drivePath.at(1) != QLatin1Char(':'))
        return QString();
    QString rest = drivePath.mid(2);
    while (rest.startsWith(QLatin1Char('\\')))
        rest.remove(0, 1);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return rest;
}

}  // namespace del
