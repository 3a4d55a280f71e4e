// The added-folders editor: sorted list from "NewFolders", Add, Del with its
// messages, and storing only on "Close".
#include "finders_testutil.h"

#include "components/picklist.h"
#include "components/shadowlabel.h"
#include "core/settings.h"
#include "finders/frmaddnewfolder.h"

#include <QPushButton>
#include <QTest>

using core::ScriptedPrompter;
using finders::TfrmAddNewFolder;

namespace {

const QString kNothingSelected =
    "To delete one or more folder(s), first highlight the selected folders then click delete.";

class AddNewFolderTest : public finders_test::WindowTest {
protected:
    static comp::PickList* list(TfrmAddNewFolder& w) { return w.findChild<comp::PickList*>("ListBox1"); }
    static void click(TfrmAddNewFolder& w, const char* name) { w.findChild<QPushButton*>(name)->click(); }
    static std::optional<QStringList> stored() { return core::SettingsStore::readList("NewFolders"); }
};

}  // namespace

TEST_F(AddNewFolderTest, ShowListsTheStoredFoldersSorted)
{
    core::SettingsStore::writeList("NewFolders", {"D:\\b", "c:\\C", "C:\\a"});
    TfrmAddNewFolder w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "Add new folders");
    EXPECT_EQ(w.findChild<comp::ShadowLabel*>("lblTitle")->text(), "Add new folders to drives");
    EXPECT_EQ(list(w)->lines(), QStringList({"C:\\a", "c:\\C", "D:\\b"}));
    EXPECT_EQ(list(w)->selectionMode(), QAbstractItemView::ExtendedSelection);
    for (const char* name : {"btAdd", "btDel", "btClose"})
        EXPECT_NE(w.findChild<QPushButton*>(name), nullptr) << name;
    EXPECT_EQ(w.findChild<QPushButton*>("btAdd")->text(), "Add");
    EXPECT_EQ(w.findChild<QPushButton*>("btDel")->text(), "Del");
    EXPECT_EQ(w.findChild<QPushButton*>("btClose")->text(), "Close");
}

TEST_F(AddNewFolderTest, AddTakesAPickedFolderOnceAtItsPlace)
{
    core::SettingsStore::writeList("NewFolders", {"C:\\a", "D:\\z"});
    TfrmAddNewFolder w;
    w.show();
    prompter.queue(QString("C:\\Music"));
    prompter.queue(QString("c:\\MUSIC"));  // the same folder in another case
    prompter.queue(std::monostate{});      // cancelled
    for (int i = 0; i < 3; ++i)
        click(w, "btAdd");
    EXPECT_EQ(list(w)->lines(), QStringList({"C:\\a", "C:\\Music", "D:\\z"}));
    const QStringList captions = [&] {
        QStringList out;
        for (const auto& r : prompter.records())
            if (r.kind == ScriptedPrompter::Kind::Folder)
                out << r.caption;
        return out;
    }();
    EXPECT_EQ(captions, QStringList(3, "Add a selected folder to search"));
}

TEST_F(AddNewFolderTest, DelAsksForMoreThanOneAndComplainsAboutNone)
{
    core::SettingsStore::writeList("NewFolders", {"C:\\a", "C:\\b", "C:\\c", "C:\\d"});
    TfrmAddNewFolder w;
    w.show();
    comp::PickList* l = list(w);

    click(w, "btDel");
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Error), QStringList({kNothingSelected}));
    EXPECT_EQ(l->count(), 4);

    l->item(0)->setSelected(true);
    l->item(2)->setSelected(true);
    for (auto answer : {core::Answer::No, core::Answer::Cancel}) {
        prompter.queue(answer);
        click(w, "btDel");
        EXPECT_EQ(l->count(), 4);
    }
    prompter.queue(core::Answer::Yes);
    click(w, "btDel");
    EXPECT_EQ(l->lines(), QStringList({"C:\\b", "C:\\d"}));
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Confirm), QStringList(3, "Really delete 2 folders?"));

    l->item(1)->setSelected(true);
    click(w, "btDel");  // one selected: no question
    EXPECT_EQ(l->lines(), QStringList({"C:\\b"}));
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Confirm).size(), 3);
}

TEST_F(AddNewFolderTest, OnlyCloseStoresTheList)
{
    enum Way { CloseButton, Escape, CloseBox };
    for (Way way : {CloseButton, Escape, CloseBox}) {
        core::SettingsStore::writeList("NewFolders", {"C:\\old"});
        TfrmAddNewFolder w;
        w.show();
        prompter.queue(QString("D:\\new"));
        click(w, "btAdd");
        if (way == CloseButton)
            click(w, "btClose");
        else if (way == Escape)
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            w.close();
        EXPECT_FALSE(w.isVisible()) << way;
        if (way == CloseButton) {
            EXPECT_EQ(w.result(), QDialog::Accepted);
            EXPECT_EQ(stored(), QStringList({"C:\\old", "D:\\new"}));
        } else {
            EXPECT_EQ(w.result(), QDialog::Rejected) << way;
            EXPECT_EQ(stored(), QStringList({"C:\\old"})) << way;
        }
    }
}

TEST_F(AddNewFolderTest, NeverSavedListIsEmpty)
{
    TfrmAddNewFolder w;
    w.show();
    EXPECT_EQ(list(w)->count(), 0);
    click(w, "btClose");
    EXPECT_EQ(stored(), QStringList());
}
