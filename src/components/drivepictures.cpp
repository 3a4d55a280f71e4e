#include "components/drivepictures.h"

#include <QPainter>
#include <QPainterPath>

namespace comp {

namespace {

QPixmap& sharedFolder()
{
    static QPixmap picture;
    return picture;
}

QPixmap blank()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    return pm;
}

// A flat box with a light top edge: the body of a hard disk or a drive bay.
void drawBox(QPainter& p, const QRectF& r, const QColor& face)
{
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(face);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setPen(QPen(face.lighter(140), 1));
    p.drawLine(r.topLeft() + QPointF(1.5, 1), r.topRight() + QPointF(-1.5, 1));
}

void drawFixed(QPainter& p)
{
    drawBox(p, QRectF(0.5, 5.5, 15, 7), QColor(170, 170, 170));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 200, 0));
    p.drawRect(QRectF(11, 9, 2, 2));
}

void drawFloppy(QPainter& p)
{
    drawBox(p, QRectF(1.5, 1.5, 13, 13), QColor(40, 40, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(4, 2, 8, 5));     // shutter
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 9, 8, 5));     // label
}

void drawCdRom(QPainter& p)
{
    p.setPen(QPen(QColor(80, 80, 80), 1));
    p.setBrush(QColor(210, 215, 235));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(255, 255, 255), 1.2));
    p.drawArc(QRectF(3.5, 3.5, 9, 9), 30 * 16, 60 * 16);
    p.setPen(QPen(QColor(80, 80, 80), 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 6, 4, 4));
}

void drawNetwork(QPainter& p)
{
    drawBox(p, QRectF(0.5, 2.5, 15, 6), QColor(170, 170, 170));
    p.setPen(QPen(QColor(40, 40, 40), 1.4));
    p.drawLine(QPointF(8, 9), QPointF(8, 13));
    p.drawLine(QPointF(2, 14), QPointF(14, 14));
}

void drawRamDisk(QPainter& p)
{
    drawBox(p, QRectF(2.5, 3.5, 11, 9), QColor(40, 110, 60));
    p.setPen(QPen(QColor(200, 170, 60), 1));
    for (int x = 4; x <= 12; x += 2) {
        p.drawLine(QPointF(x, 1), QPointF(x, 3));
        p.drawLine(QPointF(x, 13), QPointF(x, 15));
    }
}

QPixmap paintedFolder()
{
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tab;
    tab.moveTo(1.5, 4.5);
    tab.lineTo(1.5, 2.5);
    tab.lineTo(6.5, 2.5);
    tab.lineTo(7.5, 4.5);
    p.setPen(QPen(QColor(130, 100, 20), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawPath(tab);
    p.drawRect(QRectF(0.5, 4.5, 15, 10));
    return pm;
}

}  // namespace

QPixmap drivePicture(plat::DriveKind kind)
{
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case plat::DriveKind::Removable: drawFloppy(p); break;
    case plat::DriveKind::CdRom: drawCdRom(p); break;
    case plat::DriveKind::Network: drawNetwork(p); break;
    case plat::DriveKind::RamDisk: drawRamDisk(p); break;
    case plat::DriveKind::Fixed: drawFixed(p); break;
    }
    return pm;
}

QPixmap folderPicture()
{
    const QPixmap& shared = sharedFolder();
    return shared.isNull() ? paintedFolder() : shared;
}

void setFolderPicture(const QPixmap& picture)
{
    sharedFolder() = picture;
}

}  // namespace comp
