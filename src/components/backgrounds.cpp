#include "components/backgrounds.h"

#include "components/look.h"

#include <QLinearGradient>
#include <QPainter>

namespace comp {

TileBackground::TileBackground(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TileBackground::setTile(const QPixmap& tile)
{
    tile_ = tile;
    update();
}

void TileBackground::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (tile_.isNull() || !classicLook())
        p.fillRect(rect(), palette().color(QPalette::Window));
    else
        p.drawTiledPixmap(rect(), tile_);
}

GradientBackground::GradientBackground(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientBackground::setColors(const QColor& top, const QColor& bottom)
{
    top_ = top;
    bottom_ = bottom;
    update();
}

void GradientBackground::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!classicLook()) {
        p.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, top_);
    g.setColorAt(1, bottom_);
    p.fillRect(rect(), g);
}

}  // namespace comp
