// The small dialogs of the restore: the password dialog and the new
// sub-folder of the destination dialog.
#include "restore_fixture.h"

#include "delete/frmgetfoldername.h"
#include "delete/frmpassword.h"

#include <QFileInfo>
#include <QLineEdit>

namespace restoretest {
namespace {

using del::TfrmGetFolderName;
using del::TfrmPassword;

TEST_F(RestoreWindowTest, PasswordOkOnlyWhileBothFieldsAgree)
{
    TfrmPassword d;
    EXPECT_EQ(d.windowTitle(), "Enter Password");
    EXPECT_EQ(d.edPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(d.edConfirm->echoMode(), QLineEdit::Password);
    const struct {
        const char* first;
        const char* second;
        bool ok;
    } table[] = {{"abc", "", false}, {"abc", "ab", false}, {"abc", "abc", true},
                 {"abc", "abC", false}, {"", "x", false},   {"pässwörd", "pässwörd", true}};
    for (const auto& row : table) {
        d.edPassword->setText(row.first);
        d.edConfirm->setText(row.second);
        EXPECT_EQ(d.btOK->isEnabled(), row.ok) << row.first << "/" << row.second;
    }
}

TEST_F(RestoreWindowTest, PasswordDialogHandsThePasswordOnOrNothing)
{
    finders_test::whenModal<TfrmPassword>([](TfrmPassword& d) {
        EXPECT_EQ(d.lblEntry->text(), "DOS/OLD.TXT");
        d.edPassword->setText("pässwörd");
        d.edConfirm->setText("pässwörd");
        d.btOK->click();
    });
    EXPECT_EQ(TfrmPassword::ask(nullptr, "DOS/OLD.TXT"), std::optional<QByteArray>(QString("pässwörd").toUtf8()));

    finders_test::whenModal<TfrmPassword>([](TfrmPassword& d) {
        d.edPassword->setText("a");
        d.edConfirm->setText("b");
        d.btOK->click();  // disabled: nothing happens
        EXPECT_TRUE(d.isVisible());
        d.btCancel->click();
    });
    EXPECT_EQ(TfrmPassword::ask(nullptr, "x"), std::nullopt);
}

TEST_F(RestoreWindowTest, CreateSubFolderMakesTheFolderBelowTheChosenOne)
{
    zipAway("Drive-C-x.zip");
    drives.makeFolder('C', "RESTORE");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, "Drive-C-x.zip");
    QString caption, initial;
    QStringList listed;
    extract(w, [&](TfrmZipDirectory& d) {
        d.DLB->setDirectory("C:\\RESTORE");
        finders_test::whenModal<TfrmGetFolderName>([&](TfrmGetFolderName& f) {
            caption = f.windowTitle();
            initial = f.Edit1->text();
            f.Edit1->setText("Old files\\1999");
            f.btOK->click();
        });
        d.btNewFolder->click();
        for (int i = 0; i < d.DLB->count(); ++i)
            listed << del::FolderListBox::pathOf(d.DLB->item(i));
        // Cancel and a blank name make nothing.
        finders_test::whenModal<TfrmGetFolderName>([](TfrmGetFolderName& f) {
            f.Edit1->setText("never");
            f.btCancel->click();
        });
        d.btNewFolder->click();
        finders_test::whenModal<TfrmGetFolderName>([](TfrmGetFolderName& f) {
            f.Edit1->setText("   ");
            f.btOK->click();
        });
        d.btNewFolder->click();
        // A name that climbs out is refused.
        finders_test::whenModal<TfrmGetFolderName>([](TfrmGetFolderName& f) {
            f.Edit1->setText("..\\escaped");
            f.btOK->click();
        });
        d.btNewFolder->click();
        d.btCancel->click();
    });
    EXPECT_EQ(caption, "Create Sub-folder");
    EXPECT_TRUE(initial.isEmpty());
    EXPECT_TRUE(QFileInfo(c("RESTORE/Old files/1999")).isDir());
    EXPECT_TRUE(listed.contains("C:\\RESTORE\\Old files")) << qPrintable(listed.join('|'));
    EXPECT_FALSE(QFileInfo::exists(c("RESTORE/never")));
    EXPECT_FALSE(QFileInfo::exists(c("escaped")));
    EXPECT_EQ(prompter.texts(Kind::Error).size(), 1);
    EXPECT_EQ(restore_test::TreeOf(c("RESTORE")).size(), 2);
}

TEST_F(RestoreWindowTest, DestinationDialogTexts)
{
    TfrmZipDirectory d;
    d.setArchivePath("C:\\zips\\Drive-C-x.zip");
    EXPECT_EQ(d.windowTitle(), "Destination folder");
    EXPECT_EQ(d.btNewFolder->text(), "&Create sub-folder...");
    EXPECT_TRUE(d.btOK->isDefault());
    QStringList texts;
    for (QLabel* l : d.findChildren<QLabel*>())
        texts << l->text();
    for (const char* t :
         {"All files within the selected archive zip file ", "Will be restored into the following folder:",
          "All files contained in the selected zip file will be extracted into the folder that you pick on the "
          "left. ",
          "It is recommended that you select the ROOT folder of the drive that matches the name of the archive to "
          "restore the files into their original places.",
          "C:\\zips\\Drive-C-x.zip"})
        EXPECT_TRUE(texts.contains(t)) << t;
}

}  // namespace
}  // namespace restoretest
