#pragma once
// Saving and restoring a window's position and size through the placement
// store: ten integers as a WINDOWPLACEMENT record holds them.

#include "core/settings.h"

#include <QRect>
#include <QString>

class QWidget;

namespace comp {

struct PlacementKey {
    core::PlacementStore::Key key = core::PlacementStore::Key::Shared;
    QString section;  // the executable's name, or "frmDups"/"frmMods"
    QString id;       // "frmBrowse", "frmView", "frmMods"
};

// The section most windows use: the executable's file name.
QString executableSection();

// The record of a window as it stands now (show command 1 normal,
// 2 minimized, 3 maximized; normal rectangle from its normal geometry).
core::WindowPlacement capturePlacement(const QWidget& w);
// Moves a rectangle so that it lies on one of the screens (the one holding
// its centre, else the primary one), shrinking it when it is larger.
QRect clampToScreens(const QRect& r);

// Centres the window on its screen, then applies a stored placement when
// there is one (left < right). True when a stored placement was applied.
bool restorePlacement(QWidget& w, const PlacementKey& key);
// Stores the window's placement; never throws.
void savePlacement(const QWidget& w, const PlacementKey& key) noexcept;

}  // namespace comp
