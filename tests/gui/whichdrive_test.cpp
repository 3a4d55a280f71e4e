// The scope window: drives page, mode page and type page, their enabling
// rules, the results the caller reads, and the two editors it opens.
#include "finders_testutil.h"

#include "components/drivechecklist.h"
#include "components/picklist.h"
#include "components/shadowlabel.h"
#include "core/settings.h"
#include "finders/frmaddnewfolder.h"
#include "finders/frmwhichdrive.h"
#include "components/frmstatlist.h"
#include "components/statfilelists.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using finders::TfrmWhichDrive;
using finders::TypeMode;

namespace {

class WhichDriveTest : public finders_test::WindowTest {
protected:
    template <class T>
    T* find(TfrmWhichDrive& w, const char* name)
    {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QPushButton* button(TfrmWhichDrive& w, const char* name) { return find<QPushButton>(w, name); }
    comp::DriveCheckList* drives(TfrmWhichDrive& w) { return find<comp::DriveCheckList>(w, "pckDrive"); }
    comp::PickList* types(TfrmWhichDrive& w) { return find<comp::PickList>(w, "PickList1"); }
    QString lblOf(TfrmWhichDrive& w) { return find<QLabel>(w, "lblOf")->text(); }
    QAction* menuItem(comp::PickList* list, const char* name)
    {
        for (QAction* a : list->menu()->actions())
            if (a->objectName() == QLatin1String(name))
                return a;
        ADD_FAILURE() << name;
        return nullptr;
    }
    // Pages: which of the three panels shows.
    int visiblePage(TfrmWhichDrive& w)
    {
        const bool p1 = find<QFrame>(w, "pnlDrives")->isVisible();
        const bool p2 = find<QFrame>(w, "pnlFileTypes")->isVisible();
        const bool p3 = find<QFrame>(w, "pnlTypeList")->isVisible();
        if (int(p1) + int(p2) + int(p3) != 1)
            return 0;
        return p1 ? 1 : p2 ? 2 : 3;
    }
    void toTypePage(TfrmWhichDrive& w, const char* radio)
    {
        button(w, "btNext1")->click();
        find<QRadioButton>(w, radio)->click();
        button(w, "btNext2")->click();
    }
};

const QStringList kDefaultTypes = {"*.doc\tWord document", "*.exe\tProgram", "*.dll\tLibrary"};

}  // namespace

TEST_F(WhichDriveTest, ShowFillsDrivesAndFoldersAndTicksTheCurrentDrive)
{
    core::SettingsStore::writeList("NewFolders", {"C:\\Projects", "", "D:\\Music"});
    plat::setCurrentFolder("D:\\");
    TfrmWhichDrive w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "Which drives and file types?");
    EXPECT_EQ(w.size(), find<QFrame>(w, "pnlDrives")->size() + QSize(2, 2));
    EXPECT_EQ(drives(w)->lines(), QStringList({"c: Drive_c", "d: Drive_d", "C:\\Projects", "D:\\Music"}));
    EXPECT_EQ(w.roots(), QStringList({"d: Drive_d"}));
    for (int i = 0; i < drives(w)->count(); ++i)
        EXPECT_FALSE(drives(w)->item(i)->icon().isNull()) << i;
    EXPECT_EQ(visiblePage(w), 1);
    EXPECT_EQ(find<comp::ShadowLabel>(w, "lblTitle1")->text(), "Which drives/folders?");
    EXPECT_TRUE(find<QRadioButton>(w, "rbAll")->isChecked());
    EXPECT_EQ(lblOf(w), "0/3");
    EXPECT_TRUE(button(w, "btNext1")->isEnabled());
    EXPECT_TRUE(button(w, "btNext1")->isDefault());
    EXPECT_FALSE(find<QWidget>(w, "cbDrive")->isVisible());
}

TEST_F(WhichDriveTest, CurrentDriveNotOfferedTicksTheCDrive)
{
    testing_support::TempDrives removable{"CD", {{'D', "removable"}}};
    plat::setCurrentFolder("D:\\");
    TfrmWhichDrive w;
    w.show();
    EXPECT_EQ(drives(w)->lines(), QStringList({"c: Drive_c"}));
    EXPECT_EQ(w.roots(), QStringList({"c: Drive_c"}));
}

TEST_F(WhichDriveTest, NextIsEnabledExactlyWhileAnEntryIsTicked)
{
    TfrmWhichDrive w;
    w.show();
    QPushButton* next = button(w, "btNext1");
    menuItem(drives(w), "DeselectAll1")->trigger();
    EXPECT_FALSE(next->isEnabled());
    drives(w)->setTicked(1, true);
    EXPECT_TRUE(next->isEnabled());
    drives(w)->setTicked(1, false);
    EXPECT_FALSE(next->isEnabled());
    menuItem(drives(w), "SelectAll1")->trigger();
    EXPECT_TRUE(next->isEnabled());
    EXPECT_EQ(w.roots(), QStringList({"c: Drive_c", "d: Drive_d"}));
    const QList<QAction*> items = drives(w)->menu()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(items[3]->text(), "Add a folder to the list of drives");
}

TEST_F(WhichDriveTest, AllFilesAndNextCloseWithOkWithoutTheTypePage)
{
    TfrmWhichDrive w;
    w.show();
    button(w, "btNext1")->click();
    EXPECT_EQ(visiblePage(w), 2);
    EXPECT_EQ(find<comp::ShadowLabel>(w, "lblTitle2")->text(), "Which file types?");
    EXPECT_TRUE(button(w, "btNext2")->isDefault());
    button(w, "btNext2")->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.currentPage(), 2);
    EXPECT_EQ(w.typeMode(), TypeMode::AllFiles);
    EXPECT_TRUE(w.typeEntries().isEmpty());
    EXPECT_EQ(w.scope().roots, QStringList({"c: Drive_c"}));
    EXPECT_EQ(w.scope().wildcard, "*.*");
}

TEST_F(WhichDriveTest, TypePageReadsTheListOfTheModeAndEnablesOkOnASelection)
{
    comp::WriteStatFilesToDisk({"*.txt"}, "Include");
    comp::WriteStatFilesToDisk({"*.exe", "*.dll"}, "Exclude");
    struct Row {
        const char* radio;
        QString title;
        QStringList lines;
        TypeMode mode;
    };
    const QList<Row> rows = {
        {"rbInclude", "Selected file types only", {"*.txt\tText Document"}, TypeMode::Include},
        {"rbExclude", "All file types except ...", {"*.exe\tProgram", "*.dll\tLibrary"}, TypeMode::Exclude},
    };
    for (const Row& r : rows) {
        TfrmWhichDrive w;
        w.show();
        toTypePage(w, r.radio);
        EXPECT_EQ(visiblePage(w), 3) << r.radio;
        EXPECT_EQ(find<comp::ShadowLabel>(w, "lblTitle3")->text(), r.title);
        EXPECT_EQ(types(w)->lines(), r.lines);
        QPushButton* ok = button(w, "btOK");
        EXPECT_FALSE(ok->isEnabled());
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(lblOf(w), "0/" + QString::number(r.lines.size()));

        types(w)->item(0)->setSelected(true);
        EXPECT_TRUE(ok->isEnabled());
        EXPECT_EQ(lblOf(w), "1/" + QString::number(r.lines.size()));
        ok->click();
        EXPECT_EQ(w.result(), QDialog::Accepted);
        EXPECT_EQ(w.typeMode(), r.mode);
        EXPECT_EQ(w.typeEntries(), QStringList({r.lines[0]}));
    }
}

TEST_F(WhichDriveTest, OkNeedsATickedDriveAndASelectedType)
{
    TfrmWhichDrive w;
    w.show();
    toTypePage(w, "rbExclude");
    QPushButton* ok = button(w, "btOK");
    menuItem(types(w), "SelectAll1")->trigger();
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(lblOf(w), "3/3");
    EXPECT_EQ(w.typeEntries(), kDefaultTypes);
    drives(w)->setTicked(0, false);
    EXPECT_FALSE(ok->isEnabled());
    drives(w)->setTicked(0, true);
    EXPECT_TRUE(ok->isEnabled());
    menuItem(types(w), "DeselectAll1")->trigger();
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(lblOf(w), "0/3");
}

TEST_F(WhichDriveTest, GoingBackKeepsTicksAndModeAndComingBackClearsTheSelection)
{
    TfrmWhichDrive w;
    w.show();
    drives(w)->setTicked(1, true);
    toTypePage(w, "rbInclude");
    types(w)->item(1)->setSelected(true);
    button(w, "btPrev3")->click();
    EXPECT_EQ(visiblePage(w), 2);
    EXPECT_TRUE(find<QRadioButton>(w, "rbInclude")->isChecked());
    button(w, "btPrev2")->click();
    EXPECT_EQ(visiblePage(w), 1);
    EXPECT_EQ(w.roots(), QStringList({"c: Drive_c", "d: Drive_d"}));
    button(w, "btNext1")->click();
    button(w, "btNext2")->click();
    EXPECT_EQ(visiblePage(w), 3);
    EXPECT_EQ(types(w)->selectedCount(), 0);
    EXPECT_FALSE(button(w, "btOK")->isEnabled());
}

TEST_F(WhichDriveTest, CancelAndTheCloseBoxGiveNoScope)
{
    for (int way = 0; way < 2; ++way) {
        TfrmWhichDrive w;
        w.show();
        if (way == 0)
            button(w, "btCancel")->click();
        else
            w.close();
        EXPECT_FALSE(w.isVisible()) << way;
        EXPECT_EQ(w.result(), QDialog::Rejected) << way;
    }
}

TEST_F(WhichDriveTest, AddDeleteShowsTheStoredListWithNothingSelected)
{
    // Both ways of leaving the editor: "Close" stores its change, the close
    // box does not; either way the list shows what is stored.
    struct Row {
        bool closeButton;
        QStringList after;
    };
    const QList<Row> rows = {
        {true, {"*.dll\tLibrary", "*.doc\tWord document"}},
        {false, kDefaultTypes},
    };
    for (const Row& r : rows) {
        comp::WriteStatFilesToDisk({"*.doc", "*.exe", "*.dll"}, "Exclude");
        TfrmWhichDrive w;
        QStringList sections;
        w.EditTypeList = [&sections](QWidget* owner, const QString& section) {
            sections << section;
            comp::EditStatFileList(owner, section);
        };
        w.show();
        toTypePage(w, "rbExclude");
        ASSERT_EQ(types(w)->count(), 3);
        types(w)->item(0)->setSelected(true);
        types(w)->item(2)->setSelected(true);
        ASSERT_TRUE(button(w, "btOK")->isEnabled());

        finders_test::whenModal<comp::TfrmStatList>([&](comp::TfrmStatList& editor) {
            comp::PickList* list = editor.findChild<comp::PickList*>("PickList1");
            list->item(2)->setSelected(true);  // *.exe in the editor's sorted list
            editor.findChild<QPushButton*>("btDelete")->click();
            if (r.closeButton)
                editor.findChild<QPushButton*>("btClose")->click();
            else
                editor.close();
        });
        button(w, "btAddDelete")->click();

        EXPECT_EQ(sections, QStringList({"Exclude"}));
        EXPECT_EQ(types(w)->lines(), r.after) << r.closeButton;
        EXPECT_EQ(types(w)->selectedCount(), 0);
        EXPECT_FALSE(button(w, "btOK")->isEnabled());
        EXPECT_EQ(lblOf(w), "0/" + QString::number(r.after.size()));
        EXPECT_EQ(visiblePage(w), 3);
    }
}

TEST_F(WhichDriveTest, AddDeleteNeedsAnEditor)
{
    TfrmWhichDrive w;
    w.show();
    toTypePage(w, "rbInclude");
    EXPECT_FALSE(button(w, "btAddDelete")->isEnabled());
    EXPECT_EQ(button(w, "btAddDelete")->toolTip(), "Add, delete file types");
    EXPECT_EQ(types(w)->toolTip(), "Right click to select/deselect all");
}

TEST_F(WhichDriveTest, AddingAFolderRefillsTheListAndTicksTheDefaultAgain)
{
    TfrmWhichDrive w;
    w.show();
    drives(w)->setTicked(0, false);
    drives(w)->setTicked(1, true);
    prompter.queue(QString("D:\\Photos"));
    finders_test::whenModal<finders::TfrmAddNewFolder>([](finders::TfrmAddNewFolder& f) {
        f.findChild<QPushButton*>("btAdd")->click();
        f.findChild<QPushButton*>("btClose")->click();
    });
    menuItem(drives(w), "AddFolder1")->trigger();
    EXPECT_EQ(drives(w)->lines(), QStringList({"c: Drive_c", "d: Drive_d", "D:\\Photos"}));
    EXPECT_EQ(w.roots(), QStringList({"c: Drive_c"}));
    EXPECT_FALSE(drives(w)->item(2)->icon().isNull());
    EXPECT_TRUE(button(w, "btNext1")->isEnabled());
}
