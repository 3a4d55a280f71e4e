#include "components/windowplacement.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace comp {

namespace {
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

QRect availableArea(const QPoint& centre)
{
    if (QScreen* s = QGuiApplication::screenAt(centre))
        return s->availableGeometry();
    if (QScreen* s = QGuiApplication::primaryScreen())
        return s->availableGeometry();
    return QRect();
}
}  // namespace

QString executableSection()
{
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return exe.isEmpty() ? QStringLiteral("trovik") : exe;
}

core::WindowPlacement capturePlacement(const QWidget& w)
{
    core::WindowPlacement p;
    p.minX = p.minY = p.maxX = p.maxY = -1;
    p.showCommand = w.isMaximized() ? kShowMaximized : w.isMinimized() ? kShowMinimized : kShowNormal;
    // The main window of a minimized application is remembered as minimized.
    if (p.showCommand == kShowNormal && &w == QApplication::activeWindow() && w.isWindow()
        && QGuiApplication::applicationState() == Qt::ApplicationHidden)
        p.showCommand = kShowMinimized;
    const QRect r = w.isMaximized() || w.isMinimized() ? w.normalGeometry() : w.geometry();
    p.left = r.left();
    p.top = r.top();
    p.right = r.left() + r.width();
    p.bottom = r.top() + r.height();
    return p;
}

QRect clampToScreens(const QRect& r)
{
    const QRect area = availableArea(r.center());
    if (area.isEmpty())
        return r;
    QRect out = r;
    out.setWidth(std::min(r.width(), area.width()));
    out.setHeight(std::min(r.height(), area.height()));
    out.moveLeft(std::clamp(out.left(), area.left(), area.left() + area.width() - out.width()));
    out.moveTop(std::clamp(out.top(), area.top(), area.top() + area.height() - out.height()));
    return out;
}

bool restorePlacement(QWidget& w, const PlacementKey& key)
{
    const QRect area = availableArea(w.geometry().center());
    if (!area.isEmpty())
        w.move(area.center() - QPoint(w.width() / 2, w.height() / 2));
    const core::WindowPlacement p = core::PlacementStore::read(key.key, key.section, key.id);
    if (!p.applicable())
        return false;
    const QRect stored(p.left, p.top, p.right - p.left, std::max(1, p.bottom - p.top));
    w.setGeometry(clampToScreens(stored));
    if (p.showCommand == kShowMaximized)
        w.setWindowState(w.windowState() | Qt::WindowMaximized);
    return true;
}

void savePlacement(const QWidget& w, const PlacementKey& key) noexcept
{
    try {
        core::PlacementStore::write(key.key, key.section, key.id, capturePlacement(w));
    } catch (...) {
        // A placement that cannot be stored is simply not remembered.
    }
}

}  // namespace comp
