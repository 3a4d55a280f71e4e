#include "browse/fileicon.h"

#include "platform/filereader.h"
#include "platform/findfile.h"

#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace browse {

namespace {

constexpr qint64 kSniffBytes = 4096;

QIcon themeIconOf(const QMimeType& type)
{
    if (!type.isValid() || type.isDefault())
        return QIcon();
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    return icon;
}

QPixmap canvas()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

}  // namespace

IconKind FileIconFor(const QString& drivePath, QIcon& icon)
{
    plat::FindData f;
    if (plat::statPath(drivePath, f) && (f.attributes & plat::faDirectory) && !(f.attributes & plat::faReparse)) {
        icon = DirectoryIcon();
        return IconKind::Directory;
    }
    const QMimeDatabase db;
    const QString name = drivePath.mid(drivePath.lastIndexOf(QLatin1Char('\\')) + 1);
    icon = themeIconOf(db.mimeTypeForFile(name, QMimeDatabase::MatchExtension));
    if (icon.isNull()) {
        plat::RegularFileReader reader;
        if (reader.open(drivePath)) {
            QByteArray head(int(std::min(kSniffBytes, reader.size())), '\0');
            const qint64 got = reader.read(head.data(), head.size());
            if (got > 0) {
                head.truncate(int(got));
                icon = themeIconOf(db.mimeTypeForData(head));
            }
        }
    }
    if (!icon.isNull())
        return IconKind::Theme;
    icon = NoIcon();
    return IconKind::NoIcon;
}

QIcon DirectoryIcon()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 110, 20), 1.2));
    // The tab, then the body of a manila folder.
    QPainterPath tab;
    tab.moveTo(3, 9);
    tab.lineTo(3, 6);
    tab.lineTo(12, 6);
    tab.lineTo(14, 9);
    tab.closeSubpath();
    p.setBrush(QColor(230, 190, 80));
    p.drawPath(tab);
    p.setBrush(QColor(250, 212, 105));
    p.drawRoundedRect(QRectF(2.5, 9, 27, 18), 1.5, 1.5);
    p.setPen(QPen(QColor(255, 236, 170), 1));
    p.drawLine(QPointF(4, 11), QPointF(28, 11));
    p.end();
    return QIcon(pm);
}

QIcon NoIcon()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // A blank sheet with a folded corner.
    QPainterPath sheet;
    sheet.moveTo(7, 3);
    sheet.lineTo(20, 3);
    sheet.lineTo(26, 9);
    sheet.lineTo(26, 29);
    sheet.lineTo(7, 29);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(110, 110, 110), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setBrush(QColor(215, 215, 215));
    p.drawPolygon(QPolygonF({QPointF(20, 3), QPointF(20, 9), QPointF(26, 9)}));
    p.setPen(QPen(QColor(170, 170, 170), 1));
    for (int y = 14; y <= 24; y += 5)
        p.drawLine(QPointF(10, y), QPointF(23, y));
    p.end();
    return QIcon(pm);
}

}  // namespace browse
