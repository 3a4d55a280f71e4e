#include "components/shadowlabel.h"

#include "components/look.h"

#include <QPainter>
#include <QPainterPath>

namespace comp {

ShadowLabel::ShadowLabel(const QString& text, QWidget* parent) : QWidget(parent), text_(text)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void ShadowLabel::setText(const QString& text)
{
    text_ = text;
    updateGeometry();
    update();
}

void ShadowLabel::setTextColor(const QColor& c)
{
    textColor_ = c;
    update();
}

void ShadowLabel::setShadowColor(const QColor& c)
{
    shadowColor_ = c;
    update();
}

void ShadowLabel::setShadowOffset(int pixels)
{
    offset_ = pixels;
    updateGeometry();
    update();
}

void ShadowLabel::setAlignment(Qt::Alignment a)
{
    alignment_ = a;
    update();
}

void ShadowLabel::setOutline(bool on)
{
    outline_ = on;
    update();
}

QSize ShadowLabel::sizeHint() const
{
    const QFontMetrics fm(font());
    return fm.size(Qt::TextSingleLine, text_) + QSize(offset_ + 2, offset_ + 2);
}

void ShadowLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font());
    const QRect area = rect().adjusted(1, 1, -offset_ - 1, -offset_ - 1);
    if (!classicLook()) {
        // The palette's text, without shadow or outline: readable on any theme.
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        p.drawText(area, int(alignment_), text_);
        return;
    }
    const QColor ink = isEnabled() ? textColor_ : palette().color(QPalette::Disabled, QPalette::WindowText);

    if (outline_) {
        // Outlined text: build the glyph path once and stroke it.
        const QFontMetrics fm(font());
        const QRect box = fm.boundingRect(area, int(alignment_), text_);
        QPainterPath path;
        path.addText(box.left(), box.top() + fm.ascent(), font(), text_);
        p.fillPath(path.translated(offset_, offset_), shadowColor_);
        p.strokePath(path, QPen(shadowColor_, 2.0));
        p.fillPath(path, ink);
        return;
    }
    p.setPen(shadowColor_);
    p.drawText(area.translated(offset_, offset_), int(alignment_), text_);
    p.setPen(ink);
    p.drawText(area, int(alignment_), text_);
}

}  // namespace comp
