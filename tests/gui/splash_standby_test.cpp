// The splash window and its outline, the standby window, and the artwork.
#include "app/artwork.h"
#include "app/frmsplash.h"
#include "app/frmstandby.h"
#include "app/launcher.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <gtest/gtest.h>

using app::TfrmSplash;
using app::TfrmStandBy;

TEST(Splash, OutlineHas108VerticesInsideTheirBounds)
{
    const QPolygon p = app::artwork::splashOutline();
    ASSERT_EQ(p.size(), 108);
    const QPoint head[] = {{93, 52}, {95, 61}, {82, 82}, {76, 94}, {72, 109}, {69, 136}};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(p[i], head[i]) << i;
    for (const QPoint& v : p) {
        EXPECT_GE(v.x(), 69);
        EXPECT_LE(v.x(), 548);
        EXPECT_GE(v.y(), 30);
        EXPECT_LE(v.y(), 364);
    }
    // A smooth outline: no jump between neighbours, closing included.
    for (int i = 0; i < p.size(); ++i) {
        const QPoint d = p[(i + 1) % p.size()] - p[i];
        EXPECT_LT(d.manhattanLength(), 60) << i;
    }
}

TEST(Splash, WindowIsFramelessOnTopAndCutToTheOutline)
{
    TfrmSplash s;
    EXPECT_EQ(s.size(), QSize(585, 410));
    EXPECT_TRUE(s.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(s.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(s.outline(), app::artwork::splashOutline());
    const QRegion mask = s.mask();
    EXPECT_FALSE(mask.isEmpty());
    EXPECT_TRUE(mask.contains(QPoint(300, 200)));
    EXPECT_FALSE(mask.contains(QPoint(5, 5)));
    EXPECT_FALSE(mask.contains(QPoint(580, 400)));
    EXPECT_EQ(mask, QRegion(app::artwork::splashOutline(), Qt::OddEvenFill));
}

TEST(Splash, PictureSize)
{
    const QPixmap pm = app::artwork::splashPicture();
    EXPECT_EQ(pm.size(), QSize(577, 409));
}

TEST(StandBy, CaptionSizeAndBar)
{
    app::Launcher state;
    TfrmStandBy w(state);
    EXPECT_EQ(w.windowTitle(), "Loading Files");
    EXPECT_EQ(w.size(), QSize(427, 94));
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    auto* bar = w.findChild<QProgressBar*>("bar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, w.bar);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(TfrmStandBy::instance(), &w);
}

TEST(StandBy, ShowingAndHidingEmptyTheSafeHarborCache)
{
    app::Launcher state;
    TfrmStandBy w(state);
    QSignalSpy spy(&w, &TfrmStandBy::shownOrHidden);
    state.LastTestedFolder = "C:\\WINDOWS\\";
    w.show();
    EXPECT_TRUE(state.LastTestedFolder.isEmpty());
    state.LastTestedFolder = "C:\\PROGRA~1\\";
    w.hide();
    EXPECT_TRUE(state.LastTestedFolder.isEmpty());
    ASSERT_EQ(spy.count(), 2);
    EXPECT_TRUE(spy[0][0].toBool());
    EXPECT_FALSE(spy[1][0].toBool());
}

TEST(Artwork, GlyphsForEveryButton)
{
    for (const app::LauncherFunction& f : app::launcherFunctions()) {
        const QPixmap g = app::artwork::glyph(f.name);
        EXPECT_EQ(g.size(), QSize(32, 32)) << f.name.toStdString();
    }
    EXPECT_TRUE(app::artwork::glyph("btNothing").isNull());
    EXPECT_EQ(app::artwork::folderBitmap().size(), QSize(16, 16));
    const QPixmap tile = app::artwork::backgroundTile();
    EXPECT_FALSE(tile.isNull());
    // The tile repeats without a seam: its opposite edges are alike.
    const QImage img = tile.toImage();
    int diff = 0;
    for (int y = 0; y < img.height(); ++y)
        diff = qMax(diff, qAbs(qBlue(img.pixel(0, y)) - qBlue(img.pixel(img.width() - 1, y))));
    EXPECT_LT(diff, 24);
}
