// Draws the program's icon for the desktop's icon theme from the launcher's
// emblem: one PNG per size, DIR/hicolor/NxN/apps/NAME.png.
//   trovik-makeicons DIR NAME SIZE...
#include "app/artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    app::artwork::drawEmblem(p, QRectF(0, 0, size, size));
    p.end();
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        std::fputs("usage: trovik-makeicons DIR NAME SIZE...\n", stderr);
        return 2;
    }
    const QDir root(args[0]);
    for (const QString& text : args.mid(2)) {
        bool ok = false;
        const int size = text.toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "bad icon size: %s\n", qPrintable(text));
            return 2;
        }
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        const QString file = root.filePath(folder + QLatin1Char('/') + args[1] + QStringLiteral(".png"));
        if (!root.mkpath(folder) || !drawIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
