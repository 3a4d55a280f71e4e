// The program's standby window as the deletion panel's progress.
#include "app/frmstandby.h"
#include "app/launcher.h"
#include "gui/panel_fixture.h"

#include <QProgressBar>

using namespace panel_test;

namespace {

TEST_F(PanelTest, TheStandbyWindowIsTheProgramsStandbyProgress)
{
    {
        app::TfrmStandBy standby;
        ASSERT_EQ(comp::standbyProgress(), &standby);
        app::Launcher::program().LastTestedFolder = "C:\\X\\";
        standby.begin(7);
        EXPECT_TRUE(standby.isVisible());
        EXPECT_EQ(standby.bar->maximum(), 7);
        EXPECT_TRUE(app::Launcher::program().LastTestedFolder.isEmpty());
        standby.step(3);
        EXPECT_EQ(standby.bar->value(), 3);
        standby.end();
        EXPECT_FALSE(standby.isVisible());

        // The panel's sorting shows it and hides it again.
        bool shown = false;
        QObject::connect(&standby, &app::TfrmStandBy::shownOrHidden, [&](bool visible) { shown = shown || visible; });
        auto w = makePanel({file("free\\a"), file("BIN\\b")});
        w->show();
        EXPECT_TRUE(shown);
        EXPECT_FALSE(standby.isVisible());
        EXPECT_EQ(standby.bar->maximum(), 1);
        EXPECT_EQ(w->harborList(), QStringList({"C:\\BIN\\b"}));
        w->reject();
    }
    EXPECT_EQ(comp::standbyProgress(), nullptr);
}

}  // namespace
