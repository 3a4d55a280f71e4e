#include "components/bevelbutton.h"

#include "components/look.h"

#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

namespace comp {

QPixmap etchedGlyph(const QPixmap& glyph)
{
    if (glyph.isNull())
        return glyph;
    const QImage src = glyph.toImage().convertToFormat(QImage::Format_ARGB32);
    QImage out(src.width() + 1, src.height() + 1, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    auto shapeOf = [&](const QColor& c) {
        QImage s(src.size(), QImage::Format_ARGB32);
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x) {
                const QRgb px = src.pixel(x, y);
                // Dark, opaque pixels carry the shape; light ones vanish like
                // the face of the button.
                const int a = qAlpha(px) > 128 && qGray(px) < 200 ? 255 : 0;
                s.setPixel(x, y, qRgba(c.red(), c.green(), c.blue(), a));
            }
        return s;
    };
    QPainter p(&out);
    p.drawImage(1, 1, shapeOf(Qt::white));
    p.drawImage(0, 0, shapeOf(QColor(128, 128, 128)));
    p.end();
    return QPixmap::fromImage(out);
}

BevelButton::BevelButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAttribute(Qt::WA_Hover);
}

void BevelButton::setGlyph(const QPixmap& glyph)
{
    glyph_ = glyph;
    etched_ = etchedGlyph(glyph);
    updateGeometry();
    update();
}

void BevelButton::setFaceColor(const QColor& c)
{
    face_ = c;
    update();
}

QSize BevelButton::sizeHint() const
{
    const QFontMetrics fm(font());
    const QSize t = fm.size(Qt::TextShowMnemonic, text());
    const int gw = glyph_.isNull() ? 0 : int(glyph_.width() / glyph_.devicePixelRatio()) + 8;
    const int gh = glyph_.isNull() ? 0 : int(glyph_.height() / glyph_.devicePixelRatio());
    return QSize(t.width() + gw + 20, qMax(t.height(), gh) + 12);
}

void BevelButton::enterEvent(QEnterEvent* e)
{
    hover_ = true;
    update();
    QPushButton::enterEvent(e);
}

void BevelButton::leaveEvent(QEvent* e)
{
    hover_ = false;
    update();
    QPushButton::leaveEvent(e);
}

void BevelButton::paintDesktop()
{
    QPainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    opt.icon = QIcon();
    style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, this);

    // The same content layout as the classic face: glyph, then the caption
    // at the left, in the style's colours.
    const bool sunk = isDown() || isChecked();
    const int dx = sunk ? style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, this) : 0;
    const int dy = sunk ? style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &opt, this) : 0;
    QRect content = rect().adjusted(8 + dx, 4 + dy, -6 + dx, -4 + dy);
    if (!glyph_.isNull()) {
        const QPixmap pm = isEnabled() ? glyph_ : style()->generatedIconPixmap(QIcon::Disabled, glyph_, &opt);
        const QSize gs = pm.size() / pm.devicePixelRatio();
        p.drawPixmap(QPoint(content.left(), content.top() + (content.height() - gs.height()) / 2), pm);
        content.setLeft(content.left() + gs.width() + 8);
    }
    p.setFont(font());
    style()->drawItemText(&p, content, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), text(), QPalette::ButtonText);
}

void BevelButton::paintEvent(QPaintEvent*)
{
    if (!classicLook()) {
        paintDesktop();
        return;
    }
    QPainter p(this);
    const QRect r = rect();
    const bool sunk = isDown() || isChecked();

    // Face with a faint vertical sheen.
    QLinearGradient g(0, 0, 0, r.height());
    g.setColorAt(0, face_.lighter(112));
    g.setColorAt(1, face_.darker(106));
    p.fillRect(r, g);

    // The bevel: outer and inner edges, swapped when pressed.
    const QColor outerLight = sunk ? Qt::black : Qt::white;
    const QColor outerDark = sunk ? Qt::white : Qt::black;
    const QColor innerLight = sunk ? QColor(128, 128, 128) : face_.lighter(118);
    const QColor innerDark = sunk ? face_.lighter(118) : QColor(128, 128, 128);
    auto edge = [&](const QRect& b, const QColor& tl, const QColor& br) {
        p.setPen(tl);
        p.drawLine(b.topLeft(), b.topRight() - QPoint(1, 0));
        p.drawLine(b.topLeft(), b.bottomLeft() - QPoint(0, 1));
        p.setPen(br);
        p.drawLine(b.bottomLeft(), b.bottomRight());
        p.drawLine(b.topRight(), b.bottomRight());
    };
    edge(r.adjusted(0, 0, -1, -1), outerLight, outerDark);
    edge(r.adjusted(1, 1, -2, -2), innerLight, innerDark);

    const int shift = sunk ? 1 : 0;
    QRect content = r.adjusted(8 + shift, 4 + shift, -6 + shift, -4 + shift);

    // Glyph.
    if (!glyph_.isNull()) {
        const QPixmap& pm = isEnabled() ? glyph_ : etched_;
        const QSize gs = pm.size() / pm.devicePixelRatio();
        const QPoint at(content.left(), content.top() + (content.height() - gs.height()) / 2);
        p.drawPixmap(at, pm);
        content.setLeft(content.left() + gs.width() + 8);
    }

    // Caption with its accelerator underlined.
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
    p.setFont(font());
    if (isEnabled()) {
        p.setPen(hover_ ? QColor(0, 0, 160) : Qt::black);
        p.drawText(content, flags, text());
    } else {
        p.setPen(Qt::white);
        p.drawText(content.translated(1, 1), flags, text());
        p.setPen(QColor(128, 128, 128));
        p.drawText(content, flags, text());
    }

    if (hasFocus()) {
        QStyleOptionFocusRect fr;
        fr.initFrom(this);
        fr.rect = r.adjusted(4, 4, -5, -5);
        fr.backgroundColor = face_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fr, &p, this);
    }
}

}  // namespace comp
