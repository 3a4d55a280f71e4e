// TfrmEditFolder: the preset entry, the four explanation texts (on show and
// on each click of the box, not on typing) and the folder picker.
#include "harbor/frmeditfolder.h"
#include "harborfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using harbor::TfrmEditFolder;
using harbortest::HarborFixture;
using Kind = core::ScriptedPrompter::Kind;

namespace {

class EditFolderTest : public HarborFixture {};

TEST_F(EditFolderTest, CaptionAndControls)
{
    TfrmEditFolder w;
    EXPECT_EQ(w.windowTitle(), "Edit Folder");
    EXPECT_EQ(w.findChild<QLineEdit*>("Edit1"), w.Edit1);
    EXPECT_EQ(w.findChild<QCheckBox*>("cbAll"), w.cbAll);
    EXPECT_EQ(w.cbAll->text(), "Protect sub-folders - all sub-folders should NOT be deleted");
    EXPECT_EQ(w.findChild<QLabel*>("lblExample"), w.lblExample);
    EXPECT_EQ(w.findChild<QLabel*>("lblFolder")->text(), "Folder");
    EXPECT_EQ(w.findChild<QPushButton*>("btBrowse")->text(), "Browse");
    EXPECT_TRUE(w.findChild<QPushButton*>("btOK")->isDefault());
    EXPECT_EQ(w.findChild<QPushButton*>("btCancel")->text(), "Cancel");
}

TEST_F(EditFolderTest, ExplanationOnShowAndOnEveryClick)
{
    struct Row {
        QString text;
        bool ticked;
        QString shown;         // on show
        QString afterClick;    // after one click of the box
    };
    const QList<Row> rows = {
        {"C:\\DATA\\", true, "All files and sub-folders below \"C:\\DATA\\\" will NOT be deleted.",
         "Only files in this folder \"C:\\DATA\\\" will NOT be deleted."},
        {"", true, "All files and sub-folders below the one you select will NOT be deleted.", ""},
        {"C:\\DATA\\", false, "Only files in this folder \"C:\\DATA\\\" will NOT be deleted.",
         "All files and sub-folders below \"C:\\DATA\\\" will NOT be deleted."},
        {"", false, "", "All files and sub-folders below the one you select will NOT be deleted."},
    };
    for (const Row& r : rows) {
        TfrmEditFolder w;
        w.setEntryText(r.text, r.ticked);
        w.show();
        EXPECT_EQ(w.lblExample->text(), r.shown) << qPrintable(r.text) << r.ticked;
        w.cbAll->click();
        EXPECT_EQ(w.cbAll->isChecked(), !r.ticked);
        EXPECT_EQ(w.lblExample->text(), r.afterClick) << qPrintable(r.text) << r.ticked;
    }
}

TEST_F(EditFolderTest, TypingDoesNotChangeTheExplanation)
{
    TfrmEditFolder w;
    w.setEntryText("C:\\DATA\\", false);
    w.show();
    const QString before = w.lblExample->text();
    w.Edit1->clear();
    QTest::keyClicks(w.Edit1, "C:\\OTHER");
    EXPECT_EQ(w.Edit1->text(), "C:\\OTHER");
    EXPECT_EQ(w.lblExample->text(), before);
    w.cbAll->click();
    EXPECT_EQ(w.lblExample->text(), "All files and sub-folders below \"C:\\OTHER\" will NOT be deleted.");
}

TEST_F(EditFolderTest, BrowseReplacesTheTextWithTheChosenFolder)
{
    TfrmEditFolder w;
    w.setEntryText("C:\\DATA\\", true);
    w.show();
    prompter.queue(QString("D:\\PICKED"));
    harbortest::click(w, "btBrowse");
    EXPECT_EQ(w.folderText(), "D:\\PICKED");
    EXPECT_TRUE(w.protectSubfolders());
    ASSERT_EQ(prompter.records().size(), 1);
    EXPECT_EQ(prompter.records()[0].kind, Kind::Folder);
    EXPECT_EQ(prompter.records()[0].caption, "Select a folder that won't be deleted");
    EXPECT_EQ(prompter.records()[0].text, "C:\\DATA\\") << "preset with the field's text";

    harbortest::click(w, "btBrowse");  // cancelled
    EXPECT_EQ(w.folderText(), "D:\\PICKED");
}

TEST_F(EditFolderTest, OkAndCancelEndTheModalShowing)
{
    for (const char* button : {"btOK", "btCancel"}) {
        TfrmEditFolder w;
        harbortest::onNextModal<TfrmEditFolder>([button](TfrmEditFolder& d) { harbortest::click(d, button); });
        const int result = w.exec();
        EXPECT_EQ(result, QString(button) == "btOK" ? QDialog::Accepted : QDialog::Rejected) << button;
    }
}

}  // namespace
