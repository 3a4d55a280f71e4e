#pragma once
// Window backgrounds: a picture repeated over the whole area, and a
// two-colour vertical gradient. In the desktop look both are the plain
// window colour of the palette.

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace comp {

class TileBackground : public QWidget {
    Q_OBJECT
public:
    explicit TileBackground(QWidget* parent = nullptr);
    void setTile(const QPixmap& tile);
    QPixmap tile() const { return tile_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap tile_;
};

class GradientBackground : public QWidget {
    Q_OBJECT
public:
    explicit GradientBackground(QWidget* parent = nullptr);
    void setColors(const QColor& top, const QColor& bottom);
    QColor topColor() const { return top_; }
    QColor bottomColor() const { return bottom_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor top_ = Qt::blue;
    QColor bottom_ = Qt::black;
};

}  // namespace comp
