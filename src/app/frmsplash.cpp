#include "app/frmsplash.h"

#include "app/artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRegion>
#include <QScreen>

namespace app {

QPointer<TfrmSplash> SplashForm;

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Trovik"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_QuitOnClose, false);
    picture_ = artwork::splashPicture();

    // The window is frameless, so the outline needs no offset for a caption
    // or a frame: its vertices are window coordinates as they are.
    outline_ = artwork::splashOutline();
    setMask(QRegion(outline_, Qt::OddEvenFill));

    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }
}

void TfrmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(2, 4, 20));
    p.drawPixmap(0, 0, picture_);
}

}  // namespace app
