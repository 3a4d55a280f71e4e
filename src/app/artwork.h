#pragma once
// The program's pictures, painted in code: the splash picture and its
// outline, the background tile, the launcher emblem, the button glyphs and
// the small folder bitmap of the drive check lists.

#include <QPixmap>
#include <QPolygon>
#include <QRectF>
#include <QString>

class QPainter;

namespace app::artwork {

// Size of the splash picture.
constexpr int kSplashWidth = 577;
constexpr int kSplashHeight = 409;

// The outline of the splash picture: 108 vertices in picture coordinates,
// X within 69..548 and Y within 30..364, starting at (93, 52).
QPolygon splashOutline();
QPixmap splashPicture();

// A seamless tile for the main window's background.
QPixmap backgroundTile();

// A magnifying glass over a hard disk, painted into rect.
void drawEmblem(QPainter& p, const QRectF& rect);
QPixmap emblem(int width, int height);

// The 32 x 32 glyph of a launcher button (by the button's name); a null
// pixmap for an unknown name.
QPixmap glyph(const QString& buttonName);

// The 16 x 16 folder picture drawn beside user-added folders.
QPixmap folderBitmap();

}  // namespace app::artwork
