// The launcher window: caption, buttons by name, enabled states, the Safe
// Harbor guard, errors at the window boundary, the show handler, the splash
// timer, the colour-depth fallback, help and exit.
#include "app/frmhelp.h"
#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "components/backgrounds.h"
#include "components/clicklabel.h"
#include "core/scriptedprompter.h"
#include "core/settings.h"
#include "support/tempdrives.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>
#include <stdexcept>

using app::Launcher;
using app::TfrmMain;
using core::ScriptedPrompter;

namespace {

const QString kMissing =
    "The Safe Harbor list of folders/files not to delete has not been created yet.  "
    "Click on the Build Safe Harbor button to initialize.";

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { core::setPrompter(&prompter); }
    void TearDown() override
    {
        core::setPrompter(nullptr);
        delete app::SplashForm.data();
    }
    void makeSafeHarborList()
    {
        QFile f(drives.programHome() + "/folders.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("C:\\KEEP\\\n");
    }
    QAbstractButton* button(TfrmMain& w, const char* name)
    {
        return w.findChild<QAbstractButton*>(name);
    }
    testing_support::TempDrives drives;
    ScriptedPrompter prompter;
    Launcher state;
};

}  // namespace

TEST_F(MainWindowTest, CaptionSizeAndBorder)
{
    TfrmMain w(state);
    EXPECT_EQ(w.windowTitle(), "Trovik Version 4.1 from Halvane");
    EXPECT_EQ(w.objectName(), "frmMain");
    EXPECT_EQ(w.size(), QSize(602, 427));
    EXPECT_EQ(w.minimumSize(), QSize(602, 427));
    EXPECT_EQ(w.maximumSize(), QSize(602, 427));
    const Qt::WindowFlags f = w.windowFlags();
    EXPECT_TRUE(f & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f & Qt::WindowSystemMenuHint);
    EXPECT_EQ(TfrmMain::instance(), &w);
    EXPECT_FALSE(w.bmpFolder().isNull());
}

TEST_F(MainWindowTest, EveryButtonByNameWithCaptionAndHint)
{
    TfrmMain w(state);
    for (const app::LauncherFunction& f : app::launcherFunctions()) {
        QAbstractButton* b = w.findChild<QAbstractButton*>(f.name);
        ASSERT_NE(b, nullptr) << f.name.toStdString();
        EXPECT_EQ(b->text(), f.caption);
        EXPECT_EQ(b->toolTip(), f.hint);
        EXPECT_EQ(w.button(f.name), b);
        EXPECT_TRUE(b->parentWidget()->inherits("QFrame")) << "on its own framed panel";
    }
    EXPECT_EQ(button(w, "btDuplicate")->toolTip(), "Locate duplicate files");
    EXPECT_EQ(button(w, "btClose")->toolTip(), "Quit and close ");
    EXPECT_TRUE(button(w, "btReach")->toolTip().isEmpty());
    EXPECT_TRUE(button(w, "btHelp")->toolTip().isEmpty());
    // The accelerator of the caption.
    EXPECT_EQ(button(w, "btFiles")->shortcut(), QKeySequence::mnemonic("Files &accessed"));
    for (const char* name : {"EsTile1", "EsGradient1", "tmSplash", "lblMaker", "lblMakerWeb", "lblTitle"})
        EXPECT_NE(w.findChild<QObject*>(name), nullptr) << name;
    EXPECT_EQ(w.findChild<QLabel*>("lblMaker")->text(), "Halvane");
}

TEST_F(MainWindowTest, OnlyHelpAndExitWorkUntilWindowsAreRegistered)
{
    TfrmMain w(state);
    for (const app::LauncherFunction& f : app::launcherFunctions()) {
        const bool expected = f.name == "btHelp" || f.name == "btClose";
        EXPECT_EQ(w.button(f.name)->isEnabled(), expected) << f.name.toStdString();
    }
    EXPECT_FALSE(w.findChild<QLabel*>("lblMaker")->isEnabled());
    EXPECT_FALSE(w.findChild<QLabel*>("lblMakerWeb")->isEnabled());
}

TEST_F(MainWindowTest, FinderButtonRefusesWithoutSafeHarbor)
{
    TfrmMain w(state);
    int opened = 0;
    w.registerAction("btDuplicate", [&](TfrmMain&) { ++opened; });
    EXPECT_TRUE(button(w, "btDuplicate")->isEnabled());
    w.show();  // loads the Safe Harbor state
    EXPECT_TRUE(state.SafeHarborMissing);
    button(w, "btDuplicate")->click();
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Error), QStringList{kMissing});
}

TEST_F(MainWindowTest, FinderButtonsOpenAndSetDuplicateMode)
{
    makeSafeHarborList();
    TfrmMain w(state);
    QList<int> modes;
    w.registerAction("btDuplicate", [&](TfrmMain& m) { modes << m.launcher().DuplicateMode; });
    w.registerAction("btFileHog", [&](TfrmMain& m) { modes << m.launcher().DuplicateMode; });
    w.show();
    EXPECT_FALSE(state.SafeHarborMissing);
    button(w, "btFileHog")->click();
    button(w, "btDuplicate")->click();
    button(w, "btFileHog")->click();
    EXPECT_EQ(modes, (QList<int>{0, 1, 0}));
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(MainWindowTest, StatisticsAndUnzipNeedNoSafeHarbor)
{
    TfrmMain w(state);
    QStringList ran;
    for (const char* name : {"btStatistic", "btZip", "btBuild", "btReach"})
        w.registerAction(name, [&ran, name](TfrmMain&) { ran << name; });
    w.show();
    for (const char* name : {"btStatistic", "btZip", "btBuild", "btReach"})
        button(w, name)->click();
    EXPECT_EQ(ran, (QStringList{"btStatistic", "btZip", "btBuild", "btReach"}));
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(MainWindowTest, AnErrorInAWindowEndsInTheErrorBox)
{
    makeSafeHarborList();
    TfrmMain w(state);
    w.registerAction("btClean", [](TfrmMain&) { throw std::runtime_error("The drive is not ready."); });
    w.show();
    EXPECT_NO_THROW(button(w, "btClean")->click());
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Error), QStringList{"The drive is not ready."});
}

TEST_F(MainWindowTest, MakerLabelsOpenAbout)
{
    TfrmMain w(state);
    int about = 0;
    w.registerAction("btReach", [&](TfrmMain&) { ++about; });
    w.show();
    auto* maker = w.findChild<comp::ClickLabel*>("lblMaker");
    auto* web = w.findChild<comp::ClickLabel*>("lblMakerWeb");
    ASSERT_TRUE(maker && web);
    EXPECT_TRUE(maker->isEnabled());
    EXPECT_TRUE(web->isEnabled());
    QTest::mouseClick(maker, Qt::LeftButton);
    QTest::mouseClick(web, Qt::LeftButton);
    button(w, "btReach")->click();
    EXPECT_EQ(about, 3);
}

TEST_F(MainWindowTest, ShowLoadsStateHintsAndStartsTheSplashTimer)
{
    core::SettingsStore::writeString("ZipFile", "Path", "D:\\Zips");
    TfrmMain w(state);
    state.LastTestedFolder = "C:\\CACHED\\";
    auto* timer = w.findChild<QTimer*>("tmSplash");
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    w.show();
    EXPECT_TRUE(state.LastTestedFolder.isEmpty());
    EXPECT_EQ(state.ZipFolder, "D:\\Zips");
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 3000);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(245, 249, 136));
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1000);
}

TEST_F(MainWindowTest, SplashClosesWhenTheTimerFires)
{
    app::SplashForm = new app::TfrmSplash;
    app::SplashForm->show();
    TfrmMain w(state);
    w.show();
    auto* timer = w.findChild<QTimer*>("tmSplash");
    ASSERT_TRUE(timer->isActive());
    ASSERT_FALSE(app::SplashForm.isNull());
    // The same timer, run short.
    timer->start(20);
    QTRY_VERIFY_WITH_TIMEOUT(app::SplashForm.isNull(), 2000);
    EXPECT_FALSE(timer->isActive());
    // A second firing with no splash does nothing.
    EXPECT_NO_THROW(w.tmSplashTimer());
}

TEST_F(MainWindowTest, TileOnTrueColourScreens)
{
    TfrmMain w(state);
    w.setDepthProbe([] { return 24; });
    w.show();
    auto* tile = w.findChild<comp::TileBackground*>("EsTile1");
    auto* gradient = w.findChild<comp::GradientBackground*>("EsGradient1");
    EXPECT_TRUE(tile->isVisible());
    EXPECT_EQ(tile->geometry(), w.rect());
    EXPECT_FALSE(gradient->isVisible());
}

TEST_F(MainWindowTest, GradientBelowFifteenBitsPerPixel)
{
    TfrmMain w(state);
    w.setDepthProbe([] { return 8; });
    w.show();
    auto* tile = w.findChild<comp::TileBackground*>("EsTile1");
    auto* gradient = w.findChild<comp::GradientBackground*>("EsGradient1");
    EXPECT_TRUE(gradient->isVisible());
    EXPECT_EQ(gradient->geometry(), w.rect());
    EXPECT_EQ(gradient->topColor(), QColor(0, 0, 255));
    EXPECT_EQ(gradient->bottomColor(), QColor(0, 0, 0));
    EXPECT_FALSE(tile->isVisible());
    EXPECT_EQ(tile->y(), 1000);
}

TEST_F(MainWindowTest, HelpOpensTheContentsTopic)
{
    QTemporaryDir dir;
    QFile f(dir.path() + "/" + Launcher::helpFileName());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><a id=\"contents\"></a></html>");
    f.close();
    TfrmMain w(state);
    QList<QUrl> opened;
    w.setHelpSearchDirs({dir.path()});
    w.setHelpOpener([&](const QUrl& u) {
        opened << u;
        return true;
    });
    w.show();
    button(w, "btHelp")->click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_EQ(QFileInfo(opened[0].toLocalFile()).canonicalFilePath(), QFileInfo(f).canonicalFilePath());
    EXPECT_EQ(opened[0].fragment(), "contents");
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(MainWindowTest, HelpWithoutABrowserOpensInItsOwnWindowAndFollowsLinks)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& html) {
        QFile f(dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(html);
    };
    write(Launcher::helpFileName(), "<html><h2 id=\"contents\">Contents</h2><a href=\"other.html\">Other</a></html>");
    write("other.html", "<html><p>The second page</p></html>");
    TfrmMain w(state);
    w.setHelpSearchDirs({dir.path()});
    int tries = 0;
    w.setHelpOpener([&](const QUrl&) { return ++tries, false; });
    w.show();
    button(w, "btHelp")->click();
    EXPECT_EQ(tries, 1);
    EXPECT_TRUE(prompter.records().isEmpty());
    auto* help = w.findChild<app::TfrmHelp*>("frmHelp");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    auto* text = help->findChild<QTextBrowser*>("txtHelp");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->source().fileName(), Launcher::helpFileName());
    EXPECT_EQ(text->source().fragment(), "contents");

    // The link is followed in the same window, and Back returns.
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Tab);
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(text->source().fileName(), "other.html");
    EXPECT_TRUE(text->toPlainText().contains("The second page"));
    auto* back = help->findChild<QAbstractButton*>("btBack");
    ASSERT_TRUE(back->isEnabled());
    back->click();
    EXPECT_EQ(text->source().fileName(), Launcher::helpFileName());

    // A second Help reuses the window.
    button(w, "btHelp")->click();
    EXPECT_EQ(w.findChildren<app::TfrmHelp*>().size(), 1);
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(MainWindowTest, MissingHelpFileIsReported)
{
    QTemporaryDir empty;
    TfrmMain w(state);
    int opened = 0;
    w.setHelpSearchDirs({empty.path()});
    w.setHelpOpener([&](const QUrl&) { return ++opened, true; });
    w.show();
    button(w, "btHelp")->click();
    EXPECT_EQ(opened, 0);
    const QStringList errors = prompter.texts(ScriptedPrompter::Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("help file")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(Launcher::helpFileName()));
}

TEST_F(MainWindowTest, ExitClosesTheMainWindow)
{
    TfrmMain w(state);
    QSignalSpy closed(&w, &TfrmMain::closed);
    w.show();
    ASSERT_TRUE(w.isVisible());
    button(w, "btClose")->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(closed.count(), 1);
}
