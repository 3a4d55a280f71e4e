#pragma once
// A push button drawn the classic way: a two-pixel bevel that sinks when
// pressed, a glyph at the left and the caption with its underlined
// accelerator beside it. Disabled, the glyph and the caption look etched.
// In the desktop look the style draws the button's face and the palette
// colours its caption; the glyph and caption keep their places.

#include <QPixmap>
#include <QPushButton>

namespace comp {

class BevelButton : public QPushButton {
    Q_OBJECT
public:
    explicit BevelButton(const QString& caption = QString(), QWidget* parent = nullptr);

    void setGlyph(const QPixmap& glyph);
    QPixmap glyph() const { return glyph_; }
    void setFaceColor(const QColor& c);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    void paintDesktop();

    QPixmap glyph_;
    QPixmap etched_;
    QColor face_ = QColor(192, 192, 192);
    bool hover_ = false;
};

// The etched (disabled) look of a glyph: white highlight below right, dark
// grey shape on top, both following the glyph's opaque pixels.
QPixmap etchedGlyph(const QPixmap& glyph);

}  // namespace comp
