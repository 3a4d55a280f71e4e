// The zip options window: its controls, the settings it reads when shown
// and writes when closed (also on Cancel), the folder picker, the 80
// character comment, and the step that shows it before a zip.
#include "components/shadowlabel.h"
#include "core/scriptedprompter.h"
#include "core/settings.h"
#include "delete/frmzipoptions.h"
#include "delete/zipoptionsstep.h"
#include "delete/zipsettings.h"
#include "gui/finders_testutil.h"
#include "platform/environment.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using del::TfrmZipOptions;

namespace {

class ZipOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { core::setPrompter(&prompter); }
    void TearDown() override
    {
        core::setPrompter(nullptr);
        del::setZipFolderObserver({});
    }
    static QString setting(const char* name) { return core::SettingsStore::readString("ZipFile", name, "<absent>"); }
    static void store(const QString& folder, const QString& comment)
    {
        core::SettingsStore::writeString("ZipFile", "Path", folder);
        core::SettingsStore::writeString("ZipFile", "Comment", comment);
    }

    testing_support::TempDrives drives{"CD"};
    core::ScriptedPrompter prompter;
};

TEST_F(ZipOptionsTest, ControlsAndTexts)
{
    TfrmZipOptions w;
    EXPECT_EQ(w.windowTitle(), "Archive Zip File Options");
    EXPECT_EQ(w.lblTitle->text(), "Archive Zip File options");
    QStringList labels;
    for (const QLabel* l : w.findChildren<QLabel*>())
        labels << l->text();
    for (const char* text : {"Store Zip Archive Files in this folder:",
                             "Note: the zip folder can be on the network on a different machine!",
                             "Comment to be inserted into Archive Zip file:",
                             "Note: Comments make it much easier to identify archive zip files later."})
        EXPECT_TRUE(labels.contains(text)) << text;
    EXPECT_TRUE(w.Edit1->isReadOnly());
    EXPECT_EQ(w.Edit1->toolTip(), "Click on the button on the right to change");
    EXPECT_FALSE(w.Edit2->isReadOnly());
    EXPECT_EQ(w.Edit2->maxLength(), 80);
    EXPECT_EQ(w.btOK->text(), "OK");
    EXPECT_TRUE(w.btOK->isDefault());
    EXPECT_EQ(w.btCancel->text(), "Cancel");
    for (const char* name : {"Edit1", "SpeedButton1", "Edit2", "btOK", "btCancel"})
        EXPECT_NE(w.findChild<QWidget*>(name), nullptr) << name;
}

TEST_F(ZipOptionsTest, ShowReadsTheSettingsAndFocusesTheComment)
{
    store("D:\\zips", "last time's comment");
    TfrmZipOptions w;
    w.show();
    EXPECT_EQ(w.Edit1->text(), "D:\\zips");
    EXPECT_EQ(w.Edit2->text(), "last time's comment");
    EXPECT_EQ(w.ZipFolder, "D:\\zips");
    EXPECT_EQ(w.ZipComment, "last time's comment");
    EXPECT_EQ(w.focusWidget(), w.Edit2);
    w.reject();
}

TEST_F(ZipOptionsTest, WithoutSettingsTheHomeFolderAndNoComment)
{
    TfrmZipOptions w;
    w.show();
    EXPECT_EQ(w.Edit1->text(), plat::homeDrivePath());
    EXPECT_EQ(w.Edit2->text(), "");
    w.reject();
}

TEST_F(ZipOptionsTest, TheFolderPickerReplacesTheFolderOnlyWhenOneIsChosen)
{
    store("C:\\zips", "");
    TfrmZipOptions w;
    w.show();
    prompter.queue(QString("D:\\elsewhere"));
    w.SpeedButton1->click();
    EXPECT_EQ(w.Edit1->text(), "D:\\elsewhere");
    w.SpeedButton1->click();  // cancelled: unchanged
    EXPECT_EQ(w.Edit1->text(), "D:\\elsewhere");
    ASSERT_EQ(prompter.records().size(), 2);
    EXPECT_EQ(prompter.records()[0].caption, "Location of archive zip files");
    EXPECT_EQ(prompter.records()[0].text, "C:\\zips");  // preset to the folder shown
    EXPECT_EQ(prompter.records()[1].text, "D:\\elsewhere");
    w.accept();
    EXPECT_EQ(setting("Path"), "D:\\elsewhere");
}

TEST_F(ZipOptionsTest, TheCommentTakesAtMostEightyCharacters)
{
    TfrmZipOptions w;
    w.show();
    w.Edit2->clear();
    QTest::keyClicks(w.Edit2, QString(100, 'c'));
    EXPECT_EQ(w.Edit2->text(), QString(80, 'c'));
    w.accept();
    EXPECT_EQ(setting("Comment"), QString(80, 'c'));
}

TEST_F(ZipOptionsTest, CancelStoresTheSettingsAllTheSame)
{
    store("C:\\zips", "old");
    QString observed;
    del::setZipFolderObserver([&](const QString& f) { observed = f; });
    TfrmZipOptions w;
    w.show();
    prompter.queue(QString("D:\\new"));
    w.SpeedButton1->click();
    w.Edit2->setText("new comment");
    w.btCancel->click();
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(setting("Path"), "D:\\new");
    EXPECT_EQ(setting("Comment"), "new comment");
    EXPECT_EQ(observed, "D:\\new");
}

TEST_F(ZipOptionsTest, TheStepAnswersTheFolderAndCommentOrNothingOnCancel)
{
    store("D:\\zips", "kept");
    finders_test::whenModal<TfrmZipOptions>([](TfrmZipOptions& w) {
        w.Edit2->setText("for the folder");
        w.btOK->click();
    });
    const auto target = del::showZipOptions(nullptr);
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->zipFolder, "D:\\zips");
    EXPECT_EQ(target->comment, "for the folder");
    EXPECT_TRUE(target->time.isValid());

    finders_test::whenModal<TfrmZipOptions>([](TfrmZipOptions& w) {
        w.Edit2->setText("cancelled");
        w.btCancel->click();
    });
    EXPECT_FALSE(del::showZipOptions(nullptr).has_value());
    EXPECT_EQ(setting("Comment"), "cancelled");
}

}  // namespace
