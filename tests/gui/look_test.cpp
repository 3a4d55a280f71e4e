// The two looks: the stored setting and the command-line switch, the
// launcher's menu choice, readable shading on a dark theme, and every window
// opening and painting in both looks without a Qt warning.
#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/frmstandby.h"
#include "browse/finddlg.h"
#include "browse/frmbrowse.h"
#include "browse/frmdetails.h"
#include "browse/frmview.h"
#include "components/frmselectextension.h"
#include "components/frmstatlist.h"
#include "components/look.h"
#include "components/resultgridview.h"
#include "core/scriptedprompter.h"
#include "core/settings.h"
#include "delete/frmdeldirectory.h"
#include "delete/frmgetfoldername.h"
#include "delete/frmpassword.h"
#include "delete/frmreallydelete.h"
#include "delete/frmunzipit.h"
#include "delete/frmzipdirectory.h"
#include "delete/frmzipoptions.h"
#include "finders/frmaddnewfolder.h"
#include "finders/frmcache.h"
#include "finders/frmclean.h"
#include "finders/frmdirhog.h"
#include "finders/frmdup.h"
#include "finders/frmdupcompare.h"
#include "finders/frmmods.h"
#include "finders/frmtempfiles.h"
#include "finders/frmwhichdrive.h"
#include "finders/frmwildcard.h"
#include "harbor/frmeditfolder.h"
#include "harbor/frmkeepfiles.h"
#include "harbor/frmnodelete.h"
#include "net/frmabout.h"
#include "net/frmversioncheck.h"
#include "stats/frmstatistics.h"
#include "support/tempdrives.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFrame>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QStyleOption>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using comp::Look;

namespace {

QStringList* capturedWarnings = nullptr;

void captureWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    // The headless platform says so of window masks and size hints, which
    // it cannot carry out; that says nothing about the windows.
    if (text.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (capturedWarnings && type != QtDebugMsg && type != QtInfoMsg)
        capturedWarnings->append(text);
}

// Collects the warnings Qt prints while it lives.
class WarningTrap {
public:
    WarningTrap() : previous_(qInstallMessageHandler(captureWarnings)) { capturedWarnings = &texts; }
    ~WarningTrap()
    {
        capturedWarnings = nullptr;
        qInstallMessageHandler(previous_);
    }
    QStringList texts;

private:
    QtMessageHandler previous_;
};

QPalette darkPalette()
{
    QPalette p(QColor(53, 53, 53));  // button and window
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::Base, QColor(42, 42, 42));
        p.setColor(g, QPalette::Text, Qt::white);
        p.setColor(g, QPalette::WindowText, Qt::white);
        p.setColor(g, QPalette::ButtonText, Qt::white);
    }
    return p;
}

double luminance(const QColor& c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class LookTest : public ::testing::Test {
protected:
    void SetUp() override { core::setPrompter(&prompter); }
    void TearDown() override
    {
        comp::applyLook(Look::Classic);
        core::setPrompter(nullptr);
        delete app::SplashForm.data();
    }
    testing_support::TempDrives drives;
    core::ScriptedPrompter prompter;
    app::Launcher state;
};

}  // namespace

TEST_F(LookTest, StoredValueAndSwitchChooseTheLook)
{
    const struct {
        QString stored;
        Look look;
    } values[] = {
        {"Desktop", Look::Desktop}, {"desktop", Look::Desktop}, {" DESKTOP ", Look::Desktop},
        {"Classic", Look::Classic}, {"", Look::Classic},        {"Dark", Look::Classic},
        {"Desktop2", Look::Classic}, {"1", Look::Classic},
    };
    for (const auto& v : values) {
        core::SettingsStore::writeString("Options", "Look", v.stored);
        EXPECT_EQ(comp::storedLook(), v.look) << v.stored.toStdString();
    }

    const struct {
        QStringList args;
        std::optional<Look> look;
        bool error;
    } switches[] = {
        {{"trovik"}, std::nullopt, false},
        {{"trovik", "--look=desktop"}, Look::Desktop, false},
        {{"trovik", "--look=Classic"}, Look::Classic, false},
        {{"trovik", "--look=desktop", "--look=classic"}, Look::Classic, false},
        {{"trovik", "--look=fancy"}, std::nullopt, true},
        {{"trovik", "--look="}, std::nullopt, true},
        {{"trovik", "--look", "desktop"}, std::nullopt, true},
        {{"trovik", "--look=desktop", "--look=dark"}, Look::Desktop, true},
    };
    for (const auto& s : switches) {
        QString error;
        EXPECT_EQ(comp::lookFromArguments(s.args, &error), s.look) << s.args.join(' ').toStdString();
        EXPECT_EQ(!error.isEmpty(), s.error) << s.args.join(' ').toStdString();
    }
}

TEST_F(LookTest, LauncherMenuStoresTheChoiceAndAppliesItAtOnce)
{
    app::TfrmMain w(state);
    w.show();
    auto* panel = w.findChild<QFrame*>("pnlDuplicate");
    auto* menu = w.findChild<QMenu*>("popMain");
    auto* choice = w.findChild<QAction*>("miDesktopLook");
    ASSERT_TRUE(panel && menu && choice);
    const QColor classicPanel(150, 162, 190);
    EXPECT_EQ(panel->palette().color(QPalette::Window), classicPanel);

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), w.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&w, &event);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(choice->isChecked());
    menu->hide();

    choice->trigger();
    EXPECT_EQ(comp::look(), Look::Desktop);
    EXPECT_EQ(core::SettingsStore::readString("Options", "Look"), "Desktop");
    EXPECT_EQ(panel->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));

    choice->trigger();
    EXPECT_EQ(comp::look(), Look::Classic);
    EXPECT_EQ(core::SettingsStore::readString("Options", "Look"), "Classic");
    EXPECT_EQ(panel->palette().color(QPalette::Window), classicPanel);
}

TEST_F(LookTest, ShadedRowsReadOnLightAndDarkThemes)
{
    comp::ResultGridView grid;
    for (const QPalette& theme : {QApplication::style()->standardPalette(), darkPalette()}) {
        grid.setPalette(theme);
        comp::applyLook(Look::Desktop);
        const QColor shade = grid.shownShadeColor(comp::ResultGrid::ShadeA);
        EXPECT_GE(contrast(shade, theme.color(QPalette::Text)), 4.5) << shade.name().toStdString();
        EXPECT_NE(shade, theme.color(QPalette::Base));
        // Listings keep the shade colour of their own.
        EXPECT_EQ(grid.shadeColor(comp::ResultGrid::ShadeA), QColor(223, 223, 223));
        comp::applyLook(Look::Classic);
        EXPECT_EQ(grid.shownShadeColor(comp::ResultGrid::ShadeA), QColor(223, 223, 223));
    }
}

// An empty check box (the drive lists' left-out drives) must be seen on a
// light and on a dark theme: its outline stands out from the list's base.
TEST_F(LookTest, EmptyCheckBoxesShowOnLightAndDarkThemes)
{
    comp::applyLook(Look::Desktop);
    for (const QPalette& theme : {QApplication::style()->standardPalette(), darkPalette()}) {
        QStyleOptionButton box;
        box.rect = QRect(0, 0, 16, 16);
        box.state = QStyle::State_Enabled | QStyle::State_Off;
        box.palette = theme;
        QImage image(16, 16, QImage::Format_RGB32);
        const QColor base = theme.color(QPalette::Base);
        image.fill(base);
        QPainter painter(&image);
        QApplication::style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter);
        painter.end();
        double best = 1;
        for (int x = 0; x < 16; ++x)
            best = std::max(best, contrast(image.pixelColor(x, 8), base));
        EXPECT_GE(best, 1.5) << base.name().toStdString();
    }
}

TEST_F(LookTest, EveryWindowOpensInBothLooksWithoutWarnings)
{
    app::TfrmMain main(state);
    using Make = std::function<QWidget*()>;
    const std::vector<std::pair<const char*, Make>> windows = {
        {"launcher", [&]() -> QWidget* { return new app::TfrmMain(state); }},
        {"splash", [] { return new app::TfrmSplash; }},
        {"standby", [&] { return new app::TfrmStandBy(state); }},
        {"duplicates", [&] { return new finders::TfrmDup(&main, true); }},
        {"file hogs", [&] { return new finders::TfrmDup(&main, false); }},
        {"pair comparison", [] { return new finders::TfrmDupCompare; }},
        {"files by date", [&] { return new finders::TfrmMods(&main); }},
        {"folder hogs", [&] { return new finders::TfrmDirHog(&main); }},
        {"quick clean", [&] { return new finders::TfrmClean(&main); }},
        {"temporary types", [&] { return new finders::TfrmTempFiles(&main); }},
        {"internet cache", [&] { return new finders::TfrmCache(&main); }},
        {"add folder", [&] { return new finders::TfrmAddNewFolder(&main); }},
        {"which drive", [&] { return new finders::TfrmWhichDrive(&main); }},
        {"wildcard", [&] { return new finders::TfrmWildCard(&main); }},
        {"harbor builder", [&] { return new harbor::TfrmNoDelete(&main); }},
        {"harbor types", [&] { return new harbor::TfrmKeepFiles(&main); }},
        {"harbor folder", [&] { return new harbor::TfrmEditFolder(&main); }},
        {"deletion panel", [&] { return new del::TfrmReallyDelete(&main); }},
        {"folder deletion", [&] { return new del::TfrmDelDirectory(&main); }},
        {"zip options", [&] { return new del::TfrmZipOptions(&main); }},
        {"zip folder", [&] { return new del::TfrmZipDirectory(&main); }},
        {"folder name", [&] { return new del::TfrmGetFolderName(&main); }},
        {"password", [&] { return new del::TfrmPassword(&main); }},
        {"restore", [&] { return new del::TfrmUnZipIt(&main); }},
        {"statistics", [] { return new stats::TfrmStatistics; }},
        {"type list", [&] { return new comp::TfrmStatList(&main); }},
        {"extension picker", [&] { return new comp::TfrmSelectExtension(&main); }},
        {"browser", [&] { return new browse::TfrmBrowse(&main); }},
        {"details", [&] { return new browse::TfrmDetails(&main); }},
        {"viewer", [&] { return new browse::TfrmView(&main); }},
        {"find", [&] { return new browse::TFindDlg(&main); }},
        {"about", [&] { return new net::TfrmAbout(&main); }},
        {"version check", [&] { return new net::TfrmVersionCheck(&main); }},
    };
    for (Look look : {Look::Classic, Look::Desktop}) {
        comp::applyLook(look);
        for (const auto& [name, make] : windows) {
            WarningTrap trap;
            std::unique_ptr<QWidget> w(make());
            w->show();
            QApplication::processEvents();
            EXPECT_FALSE(w->grab().isNull());
            w->close();
            w.reset();
            QApplication::processEvents();
            EXPECT_TRUE(trap.texts.isEmpty())
                << name << " in the " << comp::lookName(look).toStdString() << " look: "
                << trap.texts.join(" | ").toStdString();
        }
    }
}
