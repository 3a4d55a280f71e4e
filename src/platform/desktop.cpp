// Hands targets to the desktop's own handlers.
#include "platform/desktop.h"
#include "platform/drives.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace plat {

bool openWithDesktop(const QString& target)
{
    const QString t = target.trimmed();
    static const QLatin1String passThrough[] = {QLatin1String("http://"), QLatin1String("https://"),
                                                QLatin1String("mailto:")};
    for (const QLatin1String& scheme : passThrough) {
        if (t.startsWith(scheme, Qt::CaseInsensitive))
            return QDesktopServices::openUrl(QUrl(t));
    }
    // Anything else must be a drive path; other schemes are not ours to open.
    const auto posix = toPosix(t);
    if (!posix)
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(*posix)));
}

}  // namespace plat
