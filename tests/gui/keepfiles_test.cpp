// TfrmKeepFiles: the protected extensions, their defaults on a fresh
// system, the list operations, and the list stored whenever it closes.
#include "components/frmselectextension.h"
#include "harbor/frmkeepfiles.h"
#include "harborfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using harbor::TfrmKeepFiles;
using harbortest::HarborFixture;
using Kind = core::ScriptedPrompter::Kind;

namespace {

class KeepFilesTest : public HarborFixture {
protected:
    void TearDown() override
    {
        TfrmKeepFiles::setExtensionPicker({});
        HarborFixture::TearDown();
    }
    static QStringList lines(TfrmKeepFiles& w)
    {
        QStringList out;
        for (int i = 0; i < w.PickList1->count(); ++i)
            out << w.PickList1->item(i)->text();
        return out;
    }
    static void select(TfrmKeepFiles& w, const QList<int>& rows)
    {
        w.PickList1->clearSelection();
        for (int r : rows)
            w.PickList1->item(r)->setSelected(true);
    }
    static std::optional<QStringList> stored() { return core::SettingsStore::readList("NoDelExt"); }
    // The picker answers with the choice, or cancels with nullopt.
    void pickerAnswers(std::optional<comp::ExtensionChoice> answer)
    {
        TfrmKeepFiles::setExtensionPicker([this, answer](QWidget*) {
            ++pickerShown;
            return answer;
        });
    }
    static comp::ExtensionChoice single(const QString& pattern, const QString& name)
    {
        comp::ExtensionChoice c;
        c.chosenPattern = pattern;
        c.chosenTypeName = name;
        return c;
    }
    int pickerShown = 0;
};

TEST_F(KeepFilesTest, CaptionControlsAndHints)
{
    TfrmKeepFiles w;
    EXPECT_EQ(w.windowTitle(), "Safe Harbor file extensions");
    EXPECT_EQ(w.findChild<QLabel*>("lblTitle")->text(), "Safe Harbor File Extensions");
    EXPECT_EQ(w.findChild<QListWidget*>("PickList1"), w.PickList1);
    EXPECT_EQ(w.PickList1->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(w.PickList1->toolTip(), "List of temporary file extensions and types");
    struct Row {
        const char* name;
        const char* caption;
        const char* hint;
    };
    for (const Row& r : {Row{"btAdd", "&Add", "Add a file extension to this list"},
                         Row{"btDel", "&Delete", "Delete a file extension"},
                         Row{"btClear", "&Clear all", "Clear all extensions"},
                         Row{"btDefaults", "D&efaults", "Inserts some default temporary file extensions"},
                         Row{"btClose", "Close", "Close window"}}) {
        auto* b = w.findChild<QPushButton*>(r.name);
        ASSERT_NE(b, nullptr) << r.name;
        EXPECT_EQ(b->text(), r.caption);
        EXPECT_EQ(b->toolTip(), r.hint);
    }
    EXPECT_EQ(w.findChild<QLabel*>("lblNote")->text(),
              "Files with these extensions will not be deleted.   To select multiple file extensions, press Shift or "
              "Ctrl while pressing the down arrow or clicking the mouse.");
}

TEST_F(KeepFilesTest, FreshSystemShowsTheDefaultsAndEveryWayOfClosingStoresThem)
{
    const QList<std::function<void(TfrmKeepFiles&)>> closers = {
        [](TfrmKeepFiles& w) { harbortest::click(w, "btClose"); },
        [](TfrmKeepFiles& w) { QTest::keyClick(&w, Qt::Key_Escape); },
        [](TfrmKeepFiles& w) { w.close(); },
    };
    for (int i = 0; i < closers.size(); ++i) {
        testing_support::TempDrives fresh;  // settings never saved
        TfrmKeepFiles w;
        w.show();
        EXPECT_EQ(lines(w), QStringList({"*.drv\tDevice driver", "*.sys\tSystem file"})) << i;
        EXPECT_FALSE(stored().has_value()) << "showing stores nothing";
        closers[i](w);
        EXPECT_FALSE(w.isVisible()) << i;
        EXPECT_EQ(stored(), QStringList({"*.drv", "*.sys"})) << i;
    }
}

TEST_F(KeepFilesTest, StoredListIsShownSortedWithoutRegardToCase)
{
    core::SettingsStore::writeList("NoDelExt", {"*.sys", "KEEP.ME", "*.bak", "*.Abc"});
    TfrmKeepFiles w;
    w.show();
    EXPECT_EQ(lines(w), QStringList({"*.Abc\tABC File", "*.bak\tBackup file", "*.sys\tSystem file", "KEEP.ME\tME File"}));
    w.close();
    EXPECT_EQ(stored(), QStringList({"*.Abc", "*.bak", "*.sys", "KEEP.ME"}));
}

TEST_F(KeepFilesTest, AddTakesWhatThePickerReturns)
{
    comp::ExtensionChoice several;
    several.severalChosen = true;
    several.selectedLines = {"*.sys\tSystem file", "*.tmp\tTMP File", "*.log\tLOG File"};
    struct Row {
        const char* what;
        std::optional<comp::ExtensionChoice> answer;
        QStringList expected;
    };
    const QStringList defaults = {"*.drv\tDevice driver", "*.sys\tSystem file"};
    const QList<Row> rows = {
        {"single", single("*.bak", "Backup file"), {"*.bak\tBackup file", "*.drv\tDevice driver", "*.sys\tSystem file"}},
        {"cancelled", std::nullopt, defaults},
        {"empty", single("", ""), defaults},
        {"all files", single("*.*", ""), defaults},
        {"already there", single("*.SYS", "System file"), defaults},
        {"several", several,
         {"*.drv\tDevice driver", "*.log\tLOG File", "*.sys\tSystem file", "*.tmp\tTMP File"}},
    };
    for (const Row& r : rows) {
        testing_support::TempDrives fresh;
        pickerShown = 0;
        pickerAnswers(r.answer);
        TfrmKeepFiles w;
        w.show();
        harbortest::click(w, "btAdd");
        EXPECT_EQ(pickerShown, 1) << r.what;
        EXPECT_EQ(lines(w), r.expected) << r.what;
    }
}

TEST_F(KeepFilesTest, AddThroughTheRealExtensionPicker)
{
    TfrmKeepFiles w;
    w.show();
    harbortest::onNextModal<comp::TfrmSelectExtension>([](comp::TfrmSelectExtension& p) {
        p.Edit1->setText("*.bak");
        p.btOK->click();
    });
    harbortest::click(w, "btAdd");
    EXPECT_EQ(lines(w), QStringList({"*.bak\tBackup file", "*.drv\tDevice driver", "*.sys\tSystem file"}));

    harbortest::onNextModal<comp::TfrmSelectExtension>([](comp::TfrmSelectExtension& p) {
        p.Edit1->setText("*.log");
        p.btCancel->click();
    });
    harbortest::click(w, "btAdd");
    EXPECT_EQ(lines(w).size(), 3) << "Cancel adds nothing";
}

TEST_F(KeepFilesTest, DeleteAsksOnlyForSeveralLines)
{
    core::SettingsStore::writeList("NoDelExt", {"*.a", "*.b", "*.c", "*.d"});
    struct Row {
        QList<int> selected;
        std::optional<core::Answer> answer;  // nullopt: no question expected
        QStringList remaining;
    };
    const QList<Row> rows = {
        {{}, std::nullopt, {"*.a", "*.b", "*.c", "*.d"}},
        {{1}, std::nullopt, {"*.a", "*.c", "*.d"}},
        {{0, 2}, core::Answer::Yes, {"*.b", "*.d"}},
        {{0, 2}, core::Answer::No, {"*.a", "*.b", "*.c", "*.d"}},
        {{0, 2}, core::Answer::Cancel, {"*.a", "*.b", "*.c", "*.d"}},
    };
    for (const Row& r : rows) {
        prompter.clear();
        TfrmKeepFiles w;
        w.show();
        select(w, r.selected);
        if (r.answer)
            prompter.queue(*r.answer);
        harbortest::click(w, "btDel");
        QStringList patterns;
        for (const QString& l : lines(w))
            patterns << l.section('\t', 0, 0);
        EXPECT_EQ(patterns, r.remaining) << r.selected.size();
        if (r.answer)
            EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList{"Really delete 2 extensions?"});
        else
            EXPECT_TRUE(prompter.records().isEmpty());
        core::SettingsStore::writeList("NoDelExt", {"*.a", "*.b", "*.c", "*.d"});
    }
}

TEST_F(KeepFilesTest, ClearAllAsksAndDefaultsRefill)
{
    TfrmKeepFiles w;
    w.show();
    harbortest::click(w, "btClear");  // No (nothing queued)
    EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList{"Really clear out all extensions?"});
    EXPECT_EQ(lines(w).size(), 2);
    prompter.queue(core::Answer::Yes);
    harbortest::click(w, "btClear");
    EXPECT_TRUE(lines(w).isEmpty());

    harbortest::click(w, "btDefaults");
    harbortest::click(w, "btDefaults");
    EXPECT_EQ(lines(w), QStringList({"*.drv\tDevice driver", "*.sys\tSystem file"}));
    prompter.queue(core::Answer::Yes);
    harbortest::click(w, "btClear");
    harbortest::click(w, "btClose");
    EXPECT_EQ(stored(), QStringList()) << "an empty list is stored as such";

    TfrmKeepFiles again;
    again.show();
    EXPECT_TRUE(lines(again).isEmpty()) << "no defaults once a list was saved";
}

}  // namespace
