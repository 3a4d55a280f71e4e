#include "app/artwork.h"

#include <QConicalGradient>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <array>
#include <cmath>

namespace app::artwork {

namespace {

constexpr QColor kOutline(0, 0, 0);

// A small deterministic generator, so that every run paints the same tile.
class Lcg {
public:
    explicit Lcg(quint32 seed) : s_(seed) {}
    double next()
    {
        s_ = s_ * 1664525u + 1013904223u;
        return double(s_ >> 8) / double(1u << 24);
    }

private:
    quint32 s_;
};

// Periodic value noise on a lattice of cells x cells over a tile of size.
class TileNoise {
public:
    TileNoise(int cells, quint32 seed) : cells_(cells), v_(size_t(cells * cells))
    {
        Lcg rng(seed);
        for (double& x : v_)
            x = rng.next();
    }
    double at(double u, double v) const  // u, v in [0, 1)
    {
        const double x = u * cells_, y = v * cells_;
        const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
        const double fx = smooth(x - x0), fy = smooth(y - y0);
        auto val = [&](int i, int j) { return v_[size_t(((j % cells_) + cells_) % cells_ * cells_ + ((i % cells_) + cells_) % cells_)]; };
        const double a = val(x0, y0) + (val(x0 + 1, y0) - val(x0, y0)) * fx;
        const double b = val(x0, y0 + 1) + (val(x0 + 1, y0 + 1) - val(x0, y0 + 1)) * fx;
        return a + (b - a) * fy;
    }

private:
    static double smooth(double t) { return t * t * (3 - 2 * t); }
    int cells_;
    std::vector<double> v_;
};

QPixmap canvas(int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

void begin(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QLinearGradient diagonal(const QRectF& r, const QColor& a, const QColor& b)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

// A sheet of paper with a folded corner and a few text lines.
void drawPage(QPainter& p, const QRectF& r, const QColor& paper = QColor(255, 255, 250), bool lines = true)
{
    const double fold = r.width() * 0.32;
    QPainterPath page;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(diagonal(r, paper, paper.darker(112)));
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    corner.closeSubpath();
    p.setBrush(QColor(200, 200, 200));
    p.drawPath(corner);
    if (lines) {
        p.setPen(QPen(QColor(70, 90, 160), 1));
        const double step = qMax(2.5, r.height() / 7);
        for (double y = r.top() + fold + step * 0.6; y < r.bottom() - 2; y += step)
            p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 3, y));
    }
}

// A manila folder; open shows the front flap tilted.
void drawFolder(QPainter& p, const QRectF& r, bool open = false, const QColor& base = QColor(246, 206, 72))
{
    const double tabW = r.width() * 0.4, tabH = r.height() * 0.16;
    QPainterPath back;
    back.moveTo(r.left(), r.top() + tabH);
    back.lineTo(r.left() + 1.5, r.top());
    back.lineTo(r.left() + tabW, r.top());
    back.lineTo(r.left() + tabW + tabH, r.top() + tabH);
    back.lineTo(r.right(), r.top() + tabH);
    back.lineTo(r.right(), r.bottom());
    back.lineTo(r.left(), r.bottom());
    back.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(vertical(r, base.darker(115), base.darker(140)));
    p.drawPath(back);
    QPainterPath front;
    if (open) {
        front.moveTo(r.left() + r.width() * 0.18, r.top() + tabH * 2.6);
        front.lineTo(r.right() + 1, r.top() + tabH * 2.6);
        front.lineTo(r.right() - r.width() * 0.14, r.bottom());
        front.lineTo(r.left(), r.bottom());
    } else {
        front.moveTo(r.left(), r.top() + tabH * 2);
        front.lineTo(r.right(), r.top() + tabH * 2);
        front.lineTo(r.right(), r.bottom());
        front.lineTo(r.left(), r.bottom());
    }
    front.closeSubpath();
    p.setBrush(vertical(r, base.lighter(125), base));
    p.drawPath(front);
}

// A magnifying glass: lens centre, lens radius, handle towards bottom right.
void drawMagnifier(QPainter& p, const QPointF& c, double radius, double handle)
{
    p.save();
    const QPointF dir(std::cos(qDegreesToRadians(45.0)), std::sin(qDegreesToRadians(45.0)));
    const QPointF h0 = c + dir * radius * 1.05, h1 = c + dir * (radius + handle);
    p.setPen(QPen(QColor(20, 20, 20), radius * 0.42, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(h0, h1);
    p.setPen(QPen(QColor(150, 70, 30), radius * 0.30, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(h0 + dir * radius * 0.3, h1);
    // Glass.
    QRadialGradient glass(c - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
    glass.setColorAt(0, QColor(255, 255, 255, 210));
    glass.setColorAt(0.45, QColor(190, 225, 255, 120));
    glass.setColorAt(1, QColor(90, 150, 220, 150));
    p.setBrush(glass);
    // Rim.
    QConicalGradient rim(c, 135);
    rim.setColorAt(0, QColor(250, 250, 250));
    rim.setColorAt(0.5, QColor(90, 90, 100));
    rim.setColorAt(1, QColor(250, 250, 250));
    p.setPen(QPen(QBrush(rim), qMax(1.5, radius * 0.2)));
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, radius + radius * 0.1 + 0.5, radius + radius * 0.1 + 0.5);
    // Highlight.
    p.setPen(QPen(QColor(255, 255, 255, 200), qMax(1.0, radius * 0.12), Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - radius * 0.62, c.y() - radius * 0.62, radius * 1.24, radius * 1.24), 100 * 16, 60 * 16);
    p.restore();
}

void drawClock(QPainter& p, const QPointF& c, double r)
{
    p.setPen(QPen(kOutline, 1));
    QRadialGradient g(c - QPointF(r / 3, r / 3), r * 1.4);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(200, 210, 230));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    for (int i = 0; i < 12; i += 3) {
        const double a = qDegreesToRadians(i * 30.0);
        p.drawLine(c + QPointF(std::sin(a), -std::cos(a)) * r * 0.78, c + QPointF(std::sin(a), -std::cos(a)) * r * 0.95);
    }
    p.setPen(QPen(QColor(0, 0, 0), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -r * 0.62));
    p.setPen(QPen(QColor(190, 0, 0), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(r * 0.5, r * 0.2));
}

}  // namespace

QPolygon splashOutline()
{
    // The head of the outline, then a rounded superellipse around the picture
    // that returns smoothly to the head.
    static const std::array<QPoint, 6> head = {
        QPoint(93, 52), QPoint(95, 61), QPoint(82, 82), QPoint(76, 94), QPoint(72, 109), QPoint(69, 136)};
    constexpr int kVertices = 108;
    const double cx = 308.5, cy = 197.0, a = 239.5, b = 167.0, n = 4.0;
    auto radius = [&](double phi) {
        return std::pow(std::pow(std::abs(std::cos(phi) / a), n) + std::pow(std::abs(std::sin(phi) / b), n),
                        -1.0 / n);
    };
    auto angleOf = [&](QPoint q) { return std::atan2(q.y() - cy, q.x() - cx); };
    auto distOf = [&](QPoint q) { return std::hypot(q.x() - cx, q.y() - cy); };

    const double phiStart = angleOf(head.back()) + 2 * M_PI;  // left side, a little above the middle
    const double phiEnd = angleOf(head.front());              // upper left
    const double sweep = phiStart - phiEnd;
    const double kStart = distOf(head.back()) / radius(phiStart);
    const double kEnd = distOf(head.front()) / radius(phiEnd);

    QPolygon poly;
    for (const QPoint& q : head)
        poly << q;
    const int rest = kVertices - int(head.size());
    for (int i = 1; i <= rest; ++i) {
        const double u = double(i) / (rest + 1);
        const double phi = phiStart - sweep * u;
        // Blend the radius into the head at both ends.
        const double s0 = u < 0.1 ? std::pow(1 - u / 0.1, 2) : 0.0;
        const double s1 = u > 0.8 ? std::pow((u - 0.8) / 0.2, 2) : 0.0;
        const double k = 1 + (kStart - 1) * s0 + (kEnd - 1) * s1;
        const double r = radius(phi) * k;
        const int x = qBound(69, int(std::lround(cx + r * std::cos(phi))), 548);
        const int y = qBound(30, int(std::lround(cy + r * std::sin(phi))), 364);
        poly << QPoint(x, y);
    }
    return poly;
}

void drawEmblem(QPainter& p, const QRectF& rect)
{
    p.save();
    p.translate(rect.topLeft());
    const double s = qMin(rect.width(), rect.height()) / 100.0;
    p.scale(s, s);

    // The hard disk: a box with a platter seen at an angle.
    const QRectF box(6, 40, 74, 46);
    QPainterPath body;
    body.addRoundedRect(box, 6, 6);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(vertical(box, QColor(110, 115, 130), QColor(40, 42, 52)));
    p.drawPath(body);
    // Front plate with its activity light.
    const QRectF plate(10, 72, 66, 10);
    p.setBrush(vertical(plate, QColor(70, 72, 84), QColor(25, 26, 32)));
    p.drawRoundedRect(plate, 2, 2);
    p.setPen(Qt::NoPen);
    QRadialGradient led(QPointF(68, 77), 4);
    led.setColorAt(0, QColor(180, 255, 160));
    led.setColorAt(1, QColor(20, 150, 20));
    p.setBrush(led);
    p.drawEllipse(QPointF(68, 77), 2.6, 2.6);
    // Platter.
    const QRectF platter(12, 43, 62, 28);
    QConicalGradient metal(platter.center(), 30);
    metal.setColorAt(0.00, QColor(235, 238, 245));
    metal.setColorAt(0.20, QColor(150, 155, 170));
    metal.setColorAt(0.45, QColor(245, 247, 252));
    metal.setColorAt(0.70, QColor(135, 140, 155));
    metal.setColorAt(1.00, QColor(235, 238, 245));
    p.setPen(QPen(Qt::black, 0.8));
    p.setBrush(metal);
    p.drawEllipse(platter);
    p.setPen(QPen(QColor(255, 255, 255, 90), 0.6));
    p.setBrush(Qt::NoBrush);
    for (double k = 0.25; k < 0.95; k += 0.17)
        p.drawEllipse(platter.center(), platter.width() / 2 * k, platter.height() / 2 * k);
    p.setPen(QPen(Qt::black, 0.6));
    p.setBrush(QColor(60, 60, 70));
    p.drawEllipse(platter.center(), 4.5, 2.2);
    // Read arm.
    p.setPen(QPen(QColor(30, 30, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(70, 50), QPointF(50, 60));
    p.setPen(QPen(QColor(210, 180, 90), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(70, 50), QPointF(51, 59.5));
    p.setPen(QPen(Qt::black, 0.8));
    p.setBrush(QColor(180, 180, 190));
    p.drawEllipse(QPointF(70, 50), 3, 2);

    // A few files flying off the disk.
    p.save();
    p.translate(58, 6);
    p.rotate(-12);
    drawPage(p, QRectF(0, 0, 16, 20));
    p.restore();
    p.save();
    p.translate(78, 18);
    p.rotate(14);
    drawPage(p, QRectF(0, 0, 12, 15), QColor(255, 250, 220));
    p.restore();

    // The magnifying glass over the platter.
    drawMagnifier(p, QPointF(38, 40), 20, 32);
    p.restore();
}

QPixmap emblem(int width, int height)
{
    QPixmap pm = canvas(width, height);
    QPainter p(&pm);
    begin(p);
    const double side = qMin(width, height);
    drawEmblem(p, QRectF((width - side) / 2, (height - side) / 2, side, side));
    return pm;
}

QPixmap splashPicture()
{
    QPixmap pm = canvas(kSplashWidth, kSplashHeight);
    QPainter p(&pm);
    begin(p);
    const QPolygon outline = splashOutline();
    QPainterPath shape;
    shape.addPolygon(QPolygonF(outline));
    shape.closeSubpath();
    const QRectF bounds = shape.boundingRect();

    // Deep blue body with a glow at the upper left.
    QLinearGradient body(bounds.topLeft(), bounds.bottomLeft());
    body.setColorAt(0, QColor(24, 48, 128));
    body.setColorAt(0.55, QColor(10, 20, 70));
    body.setColorAt(1, QColor(2, 4, 20));
    p.fillPath(shape, body);
    p.save();
    p.setClipPath(shape);
    QRadialGradient glow(QPointF(190, 150), 230);
    glow.setColorAt(0, QColor(120, 170, 255, 120));
    glow.setColorAt(1, QColor(120, 170, 255, 0));
    p.fillRect(bounds, glow);
    // Faint rings like the tracks of a platter.
    p.setPen(QPen(QColor(255, 255, 255, 18), 1));
    for (int r = 40; r < 420; r += 14)
        p.drawEllipse(QPointF(190, 210), r, r * 0.55);
    // A few stars.
    Lcg rng(1998);
    for (int i = 0; i < 70; ++i) {
        const QPointF at(bounds.left() + rng.next() * bounds.width(), bounds.top() + rng.next() * bounds.height());
        const int alpha = 60 + int(rng.next() * 150);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, alpha));
        const double size = 0.6 + rng.next() * 1.2;
        p.drawEllipse(at, size, size);
    }
    p.restore();

    // The frame: a gold rim with a dark inner line.
    QLinearGradient gold(bounds.topLeft(), bounds.bottomRight());
    gold.setColorAt(0, QColor(255, 240, 160));
    gold.setColorAt(0.5, QColor(200, 150, 30));
    gold.setColorAt(1, QColor(120, 80, 10));
    p.setPen(QPen(QBrush(gold), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.setPen(QPen(QColor(0, 0, 0, 180), 1.2));
    const QTransform inset = QTransform()
                                 .translate(bounds.center().x(), bounds.center().y())
                                 .scale(0.975, 0.965)
                                 .translate(-bounds.center().x(), -bounds.center().y());
    p.drawPath(inset.map(shape));

    // The emblem at the left.
    drawEmblem(p, QRectF(96, 92, 200, 200));

    // Title and texts at the right.
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(66);
    title.setBold(true);
    title.setItalic(true);
    QPainterPath titlePath;
    titlePath.addText(QPointF(292, 168), title, QStringLiteral("Trovik"));
    p.fillPath(titlePath.translated(5, 5), QColor(0, 0, 0, 170));
    QLinearGradient ink(0, 110, 0, 175);
    ink.setColorAt(0, QColor(255, 250, 190));
    ink.setColorAt(0.5, QColor(255, 210, 40));
    ink.setColorAt(1, QColor(200, 120, 0));
    p.setPen(QPen(QColor(60, 30, 0), 1.5));
    p.setBrush(ink);
    p.drawPath(titlePath);

    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(19);
    sub.setBold(true);
    p.setFont(sub);
    auto shadowText = [&](const QRectF& r, int flags, const QString& text, const QColor& c) {
        p.setPen(QColor(0, 0, 0, 200));
        p.drawText(r.translated(2, 2), flags, text);
        p.setPen(c);
        p.drawText(r, flags, text);
    };
    shadowText(QRectF(296, 186, 250, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Disk clean-up utility"),
               QColor(235, 240, 255));
    sub.setPixelSize(15);
    sub.setBold(false);
    p.setFont(sub);
    shadowText(QRectF(298, 214, 250, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Version 4.1"),
               QColor(190, 205, 240));

    // A bevelled rule.
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.drawLine(QPointF(110, 300), QPointF(505, 300));
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(QPointF(110, 301), QPointF(505, 301));

    sub.setPixelSize(13);
    p.setFont(sub);
    shadowText(QRectF(100, 308, 410, 20), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Duplicates \u2022 File hogs \u2022 Old files \u2022 Folder hogs \u2022 Quick clean"),
               QColor(200, 215, 245));
    sub.setPixelSize(14);
    sub.setBold(true);
    p.setFont(sub);
    shadowText(QRectF(100, 328, 410, 20), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("from Halvane  \u2022  www.halvane.example"), QColor(255, 225, 120));
    return pm;
}

QPixmap backgroundTile()
{
    constexpr int kSize = 96;
    QImage img(kSize, kSize, QImage::Format_RGB32);
    const TileNoise coarse(6, 7), fine(16, 11), grain(48, 13);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double u = double(x) / kSize, v = double(y) / kSize;
            const double n = 0.55 * coarse.at(u, v) + 0.3 * fine.at(u, v) + 0.15 * grain.at(u, v);
            // A marbled slate blue.
            const double vein = std::abs(std::sin((u + v + n * 0.9) * 2 * M_PI * 2));
            const double t = qBound(0.0, n * 0.85 + (1 - vein) * 0.25, 1.0);
            const int r = int(18 + 30 * t), g = int(32 + 44 * t), b = int(70 + 70 * t);
            img.setPixel(x, y, qRgb(r, g, b));
        }
    return QPixmap::fromImage(img);
}

QPixmap folderBitmap()
{
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    begin(p);
    drawFolder(p, QRectF(0.5, 2.5, 15, 11.5));
    return pm;
}

QPixmap glyph(const QString& name)
{
    QPixmap pm = canvas(32, 32);
    QPainter p(&pm);
    begin(p);
    if (name == QLatin1String("btDuplicate")) {
        drawPage(p, QRectF(3.5, 2.5, 17, 22));
        drawPage(p, QRectF(11.5, 8.5, 17, 22), QColor(255, 250, 215));
        p.setPen(QPen(QColor(190, 0, 0), 2.2));
        p.drawLine(QPointF(15, 22), QPointF(25, 22));
        p.drawLine(QPointF(15, 26), QPointF(25, 26));
    } else if (name == QLatin1String("btFileHog")) {
        // A bloated stack of pages with a size arrow.
        for (int i = 3; i >= 0; --i)
            drawPage(p, QRectF(4.5 + i * 2, 3.5 + i * 2, 19, 22), QColor(255, 255, 250).darker(100 + i * 6), i == 0);
        p.setPen(QPen(QColor(200, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(27, 29), QPointF(27, 10));
        p.setBrush(QColor(200, 0, 0));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(23, 12), QPointF(27, 5), QPointF(31, 12)}));
    } else if (name == QLatin1String("btFiles")) {
        drawPage(p, QRectF(3.5, 2.5, 18, 24));
        drawClock(p, QPointF(21.5, 21.5), 9);
    } else if (name == QLatin1String("btDirHogs")) {
        drawPage(p, QRectF(8.5, 2.5, 15, 16), QColor(255, 255, 250), false);
        drawPage(p, QRectF(13.5, 4.5, 14, 14), QColor(230, 240, 255), false);
        drawFolder(p, QRectF(1.5, 9.5, 29, 20));
    } else if (name == QLatin1String("btClean")) {
        // A broom sweeping with a few sparkles.
        p.setPen(QPen(QColor(40, 20, 0), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(27, 3), QPointF(15, 19));
        p.setPen(QPen(QColor(170, 100, 40), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(27, 3), QPointF(15, 19));
        QPainterPath bristles;
        bristles.moveTo(13, 16);
        bristles.lineTo(19, 21);
        bristles.lineTo(12, 30);
        bristles.lineTo(3, 25);
        bristles.closeSubpath();
        p.setPen(QPen(kOutline, 1));
        p.setBrush(diagonal(QRectF(3, 16, 16, 14), QColor(255, 230, 110), QColor(200, 150, 20)));
        p.drawPath(bristles);
        p.setPen(QPen(QColor(150, 100, 10), 0.8));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(14 + i * 1.5 - 1, 18 + i * 1.2), QPointF(5 + i * 2.2, 26 + i * 1.2));
        p.setPen(QPen(QColor(30, 110, 230), 1.4));
        for (const QPointF c : {QPointF(6, 8), QPointF(24, 24), QPointF(11, 4)}) {
            p.drawLine(c - QPointF(3, 0), c + QPointF(3, 0));
            p.drawLine(c - QPointF(0, 3), c + QPointF(0, 3));
        }
    } else if (name == QLatin1String("btStatistic")) {
        const QRectF pie(2.5, 5.5, 24, 24);
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(50, 90, 200));
        p.drawPie(pie, 90 * 16, 150 * 16);
        p.setBrush(QColor(240, 200, 40));
        p.drawPie(pie, 240 * 16, 80 * 16);
        p.setBrush(QColor(60, 170, 70));
        p.drawPie(pie, 320 * 16, 40 * 16);
        p.setBrush(QColor(210, 40, 40));
        p.drawPie(pie.translated(4, -3), 0, 90 * 16);
    } else if (name == QLatin1String("btBrowse")) {
        drawFolder(p, QRectF(1.5, 5.5, 24, 20), true);
        drawMagnifier(p, QPointF(20, 17), 6.5, 8);
    } else if (name == QLatin1String("btClearCache")) {
        // A globe with an eraser over it.
        const QPointF c(14, 15);
        QRadialGradient sea(c - QPointF(4, 4), 16);
        sea.setColorAt(0, QColor(140, 200, 255));
        sea.setColorAt(1, QColor(20, 70, 170));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(sea);
        p.drawEllipse(c, 12, 12);
        p.setPen(QPen(QColor(40, 160, 60), 2.4));
        p.drawArc(QRectF(5, 6, 10, 9), 30 * 16, 200 * 16);
        p.drawArc(QRectF(14, 15, 8, 8), 200 * 16, 150 * 16);
        p.setPen(QPen(QColor(255, 255, 255, 150), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 5, 12);
        p.drawLine(QPointF(2, 15), QPointF(26, 15));
        p.save();
        p.translate(22, 24);
        p.rotate(-35);
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(240, 120, 140));
        p.drawRect(QRectF(-8, -4, 9, 8));
        p.setBrush(QColor(70, 110, 220));
        p.drawRect(QRectF(1, -4, 7, 8));
        p.restore();
    } else if (name == QLatin1String("btZip")) {
        // A parcel held by a vice, with its zipper.
        const QRectF box(5.5, 6.5, 21, 21);
        p.setPen(QPen(kOutline, 1));
        p.setBrush(diagonal(box, QColor(225, 180, 110), QColor(160, 110, 50)));
        p.drawRect(box);
        p.setPen(QPen(QColor(90, 90, 100), 1));
        for (double y = 8; y < 27; y += 2.2) {
            p.drawLine(QPointF(14, y), QPointF(16, y));
            p.drawLine(QPointF(16, y + 1.1), QPointF(18, y + 1.1));
        }
        p.setPen(QPen(kOutline, 1));
        p.setBrush(vertical(QRectF(0, 0, 32, 32), QColor(200, 205, 215), QColor(110, 115, 130)));
        p.drawRect(QRectF(1.5, 12.5, 4, 9));
        p.drawRect(QRectF(26.5, 12.5, 4, 9));
        p.drawRect(QRectF(12.5, 3.5, 7, 4));
        p.setBrush(QColor(180, 30, 30));
        p.drawEllipse(QPointF(16, 3.5), 2.2, 2.2);
    } else if (name == QLatin1String("btBuild")) {
        // A lighthouse over the sea: the safe harbour.
        p.setPen(Qt::NoPen);
        QRadialGradient beam(QPointF(16, 8), 16);
        beam.setColorAt(0, QColor(255, 250, 150, 200));
        beam.setColorAt(1, QColor(255, 250, 150, 0));
        p.setBrush(beam);
        p.drawPolygon(QPolygonF({QPointF(16, 8), QPointF(0, 2), QPointF(0, 11)}));
        p.drawPolygon(QPolygonF({QPointF(16, 8), QPointF(32, 2), QPointF(32, 11)}));
        QPainterPath tower;
        tower.moveTo(12, 12);
        tower.lineTo(20, 12);
        tower.lineTo(22.5, 28);
        tower.lineTo(9.5, 28);
        tower.closeSubpath();
        p.setPen(QPen(kOutline, 1));
        p.setBrush(Qt::white);
        p.drawPath(tower);
        p.setBrush(QColor(210, 30, 30));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(11.4, 16), QPointF(20.6, 16), QPointF(21.2, 20), QPointF(10.8, 20)}));
        p.drawPolygon(QPolygonF({QPointF(10.2, 24), QPointF(21.8, 24), QPointF(22.4, 28), QPointF(9.6, 28)}));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(255, 230, 60));
        p.drawRect(QRectF(12.5, 7.5, 7, 4.5));
        p.setBrush(QColor(180, 30, 30));
        p.drawPolygon(QPolygonF({QPointF(11.5, 7.5), QPointF(16, 3), QPointF(20.5, 7.5)}));
        QPainterPath sea;
        sea.moveTo(0, 28);
        for (int x = 0; x <= 32; x += 4)
            sea.quadTo(x + 2, 26, x + 4, 28);
        sea.lineTo(32, 32);
        sea.lineTo(0, 32);
        sea.closeSubpath();
        p.setPen(QPen(QColor(10, 40, 120), 1));
        p.setBrush(vertical(QRectF(0, 26, 32, 6), QColor(60, 130, 230), QColor(20, 60, 160)));
        p.drawPath(sea);
    } else if (name == QLatin1String("btReach")) {
        const QPointF c(16, 16);
        QRadialGradient g(c - QPointF(5, 5), 18);
        g.setColorAt(0, QColor(150, 190, 255));
        g.setColorAt(1, QColor(20, 50, 170));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(g);
        p.drawEllipse(c, 13, 13);
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(20);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 1, 32, 32), Qt::AlignCenter, QStringLiteral("i"));
    } else if (name == QLatin1String("btHelp")) {
        // A help book with a question mark.
        const QRectF book(5.5, 3.5, 21, 25);
        p.setPen(QPen(kOutline, 1));
        p.setBrush(Qt::white);
        p.drawRect(book.translated(1.5, 1.5));
        p.setBrush(diagonal(book, QColor(60, 160, 90), QColor(10, 90, 40)));
        p.drawRect(book);
        p.setBrush(QColor(0, 60, 20));
        p.drawRect(QRectF(5.5, 3.5, 3, 25));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(19);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0, 0, 0, 150));
        p.drawText(QRectF(10, 2, 18, 28), Qt::AlignCenter, QStringLiteral("?"));
        p.setPen(QColor(255, 235, 80));
        p.drawText(QRectF(9, 1, 18, 28), Qt::AlignCenter, QStringLiteral("?"));
    } else if (name == QLatin1String("btClose")) {
        // An open door and an arrow leaving through it.
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(40, 40, 50));
        p.drawRect(QRectF(5.5, 3.5, 16, 25));
        QPainterPath door;
        door.moveTo(5.5, 3.5);
        door.lineTo(14.5, 6.5);
        door.lineTo(14.5, 31);
        door.lineTo(5.5, 28.5);
        door.closeSubpath();
        p.setBrush(diagonal(QRectF(5, 3, 10, 28), QColor(200, 130, 60), QColor(120, 60, 20)));
        p.drawPath(door);
        p.setBrush(QColor(250, 220, 80));
        p.drawEllipse(QPointF(12.5, 18), 1.2, 1.2);
        p.setPen(QPen(QColor(20, 150, 40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17, 16), QPointF(27, 16));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 150, 40));
        p.drawPolygon(QPolygonF({QPointF(24, 10.5), QPointF(31, 16), QPointF(24, 21.5)}));
    } else {
        return QPixmap();
    }
    return pm;
}

}  // namespace app::artwork
