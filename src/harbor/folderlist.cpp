#include "harbor/folderlist.h"

#include "core/helpers.h"
#include "core/safeharbor.h"
#include "core/settings.h"
#include "platform/environment.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>

namespace harbor {

QString FoldersFilePath()
{
    return plat::programFile(QStringLiteral("folders.txt"));
}

QStringList LoadFolderList()
{
    return core::ReadFoldersFile(FoldersFilePath()).value_or(QStringList());
}

bool SaveFolderList(QStringList list)
{
    const QString path = FoldersFilePath();
    if (list.isEmpty())
        return !QFile::exists(path) || QFile::remove(path);
    core::SortFolderList(list);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const QString& line : list) {
        f.write(line.toUtf8());
        f.write("\n");
    }
    return f.commit();
}

QString BuildDateText(bool listEmpty, const QDateTime& when)
{
    if (listEmpty)
        return QStringLiteral("Not recorded");
    const QLocale locale;
    return locale.toString(when.date(), QLocale::LongFormat) + ' ' + locale.toString(when.time(), core::LongTimeFormat());
}

QString RecordBuildDate(bool listEmpty)
{
    const QString text = BuildDateText(listEmpty, QDateTime::currentDateTime());
    core::SettingsStore::writeString(QStringLiteral("Folders"), QStringLiteral("When"), text);
    return text;
}

QString LastBuildDate()
{
    return core::SettingsStore::readString(QStringLiteral("Folders"), QStringLiteral("When"), QStringLiteral("Not recorded"));
}

}  // namespace harbor
