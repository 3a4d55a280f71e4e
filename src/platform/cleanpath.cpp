#include "platform/cleanpath.h"

#include <QStringList>

namespace plat {

QString cleanDrivePath(const QString& drivePath)
{
    if (drivePath.size() < 2 || drivePath[1] != u':' || (drivePath.size() > 2 && drivePath[2] != u'\\'))
        return drivePath;
    QStringList parts;
    for (QStringView part : QStringView(drivePath).mid(2).split(u'\\', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts << part.toString();
    }
    return drivePath.left(2) + u'\\' + parts.join(u'\\');
}

}  // namespace plat
