#pragma once
// A label whose text carries a drop shadow: the text is drawn once in the
// shadow colour, offset down and right, then in its own colour on top. In
// the desktop look the text is drawn once in the palette's text colour.

#include <QColor>
#include <QWidget>

namespace comp {

class ShadowLabel : public QWidget {
    Q_OBJECT
public:
    explicit ShadowLabel(const QString& text = QString(), QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    QColor textColor() const { return textColor_; }
    void setTextColor(const QColor& c);
    QColor shadowColor() const { return shadowColor_; }
    void setShadowColor(const QColor& c);
    int shadowOffset() const { return offset_; }
    void setShadowOffset(int pixels);
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment a);
    // An optional outline in the shadow colour around the text.
    void setOutline(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
    QColor textColor_ = Qt::black;
    QColor shadowColor_ = Qt::gray;
    int offset_ = 2;
    bool outline_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace comp
