#include "components/windowplacement.h"
#include "support/tempdrives.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const comp::PlacementKey kKey{core::PlacementStore::Key::Shared, "trovik", "frmBrowse"};

TEST(WindowPlacement, AbsentValueOnlyCentres)
{
    testing_support::TempDrives drives("C");
    QWidget w;
    w.resize(300, 200);
    EXPECT_FALSE(comp::restorePlacement(w, kKey));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(w.geometry().center().x() - area.center().x()), 1);
}

TEST(WindowPlacement, RoundTripAndTenZerosIgnored)
{
    testing_support::TempDrives drives("C");
    QWidget a;
    a.setGeometry(40, 50, 320, 240);
    comp::savePlacement(a, kKey);
    const core::WindowPlacement stored = core::PlacementStore::read(kKey.key, kKey.section, kKey.id);
    EXPECT_EQ(stored.showCommand, 1);
    EXPECT_EQ(QRect(stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top),
              QRect(40, 50, 320, 240));
    QWidget b;
    ASSERT_TRUE(comp::restorePlacement(b, kKey));
    EXPECT_EQ(b.geometry(), QRect(40, 50, 320, 240));

    core::PlacementStore::write(kKey.key, kKey.section, kKey.id, core::WindowPlacement::fromText("0 0 0 0 0 0 0 0 0 0 "));
    QWidget c;
    EXPECT_FALSE(comp::restorePlacement(c, kKey));
}

TEST(WindowPlacement, OffScreenPlacementIsBroughtBack)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Row {
        QRect stored;
    };
    const QList<Row> rows = {
        {QRect(area.right() + 500, area.bottom() + 500, 200, 100)},
        {QRect(-5000, -5000, 200, 100)},
        {QRect(area.left(), area.top(), area.width() * 3, area.height() * 3)},
    };
    for (const Row& r : rows) {
        const QRect clamped = comp::clampToScreens(r.stored);
        EXPECT_TRUE(area.contains(clamped)) << r.stored.x() << "," << r.stored.y();
    }
}

}  // namespace
