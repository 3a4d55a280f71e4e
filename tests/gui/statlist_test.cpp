// The statistics type-list editor: sorted list, Add through the extension
// picker, Delete and Clear all with their questions, storing on Close/Esc.
#include "finders_testutil.h"

#include "components/picklist.h"
#include "components/shadowlabel.h"
#include "core/settings.h"
#include "components/frmselectextension.h"
#include "components/frmstatlist.h"
#include "components/statfilelists.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using core::ScriptedPrompter;
using core::SettingsStore;
using comp::TfrmStatList;

namespace {

const QStringList kSorted = {"*.dll\tLibrary", "*.doc\tWord document", "*.exe\tProgram"};

class StatListTest : public finders_test::WindowTest {
protected:
    static comp::PickList* list(TfrmStatList& w) { return w.findChild<comp::PickList*>("PickList1"); }
    static void click(TfrmStatList& w, const char* name) { w.findChild<QPushButton*>(name)->click(); }
    static QString count(TfrmStatList& w) { return w.findChild<QLabel*>("lblCount")->text(); }
    static QStringList storedPatterns(const QString& section)
    {
        return SettingsStore::readList(section).value_or(QStringList{"<never saved>"});
    }
    // Adds through the picker: typed text, or the picker's rows when given.
    static void addThroughPicker(TfrmStatList& w, const QString& typed, const QList<int>& rows = {})
    {
        finders_test::whenModal<comp::TfrmSelectExtension>([typed, rows](comp::TfrmSelectExtension& p) {
            auto* lBox = p.findChild<QListWidget*>("lBox");
            lBox->clearSelection();
            for (int r : rows)
                lBox->item(r)->setSelected(true);
            p.findChild<QLineEdit*>("Edit1")->setText(typed);
            p.findChild<QPushButton*>("btOK")->click();
        });
        click(w, "btAdd");
    }
    std::unique_ptr<TfrmStatList> open(const QString& section)
    {
        auto w = std::make_unique<TfrmStatList>();
        w->Section = section;
        w->show();
        return w;
    }
};

}  // namespace

TEST_F(StatListTest, FirstUseShowsTheDefaultsSortedAndCloseStoresThatOrder)
{
    auto w = open("Include");
    EXPECT_EQ(w->windowTitle(), "File types");
    EXPECT_EQ(w->findChild<comp::ShadowLabel*>("lblTitle")->text(), "File Types");
    EXPECT_EQ(list(*w)->lines(), kSorted);
    EXPECT_EQ(count(*w), "3 available");
    EXPECT_EQ(list(*w)->toolTip(), "List of temporary file extensions and types");
    click(*w, "btClose");
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(SettingsStore::readInt("Include", "Number", -1), 3);
    EXPECT_EQ(storedPatterns("Include"), QStringList({"*.dll", "*.doc", "*.exe"}));
    EXPECT_EQ(storedPatterns("Exclude"), QStringList({"<never saved>"}));
}

TEST_F(StatListTest, ButtonsCarryTheirCaptionsAndHints)
{
    auto w = open("Exclude");
    struct Row {
        const char* name;
        QString caption, hint;
    };
    const QList<Row> rows = {
        {"btAdd", "&Add", "Add a file extension to this list"},
        {"btDelete", "&Delete", "Delete a file extension"},
        {"btClear", "&Clear all", "Clear all extensions"},
        {"btClose", "Close", "Close window"},
    };
    for (const Row& r : rows) {
        auto* b = w->findChild<QPushButton*>(r.name);
        ASSERT_NE(b, nullptr) << r.name;
        EXPECT_EQ(b->text(), r.caption);
        EXPECT_EQ(b->toolTip(), r.hint);
    }
}

TEST_F(StatListTest, DeletingEverythingStoresAnEmptyList)
{
    auto w = open("Exclude");
    list(*w)->selectAll();
    prompter.queue(core::Answer::Yes);
    click(*w, "btDelete");
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Confirm), QStringList({"Really delete 3 extensions?"}));
    EXPECT_EQ(list(*w)->count(), 0);
    EXPECT_EQ(count(*w), "0 available");
    click(*w, "btClose");
    EXPECT_EQ(SettingsStore::readInt("Exclude", "Number", -1), 0);
    EXPECT_TRUE(comp::ReadStatFiles("Exclude").isEmpty());
}

TEST_F(StatListTest, DeleteAsksOnlyForMoreThanOne)
{
    auto w = open("Include");
    list(*w)->item(0)->setSelected(true);
    list(*w)->item(1)->setSelected(true);
    for (auto answer : {core::Answer::No, core::Answer::Cancel}) {
        prompter.queue(answer);
        click(*w, "btDelete");
        EXPECT_EQ(list(*w)->count(), 3);
    }
    list(*w)->clearSelection();
    click(*w, "btDelete");  // none selected: nothing goes
    EXPECT_EQ(list(*w)->count(), 3);
    list(*w)->item(1)->setSelected(true);
    click(*w, "btDelete");
    EXPECT_EQ(list(*w)->lines(), QStringList({kSorted[0], kSorted[2]}));
    EXPECT_EQ(count(*w), "2 available");
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Confirm).size(), 2);
}

TEST_F(StatListTest, ClearAllOnlyOnYes)
{
    for (auto answer : {core::Answer::No, core::Answer::Cancel, core::Answer::Yes}) {
        auto w = open("Include");
        prompter.clear();
        prompter.queue(answer);
        click(*w, "btClear");
        EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Confirm), QStringList({"Really clear out all extensions?"}));
        EXPECT_EQ(list(*w)->count(), answer == core::Answer::Yes ? 0 : 3);
    }
}

TEST_F(StatListTest, AddTakesThePickersChoiceOnce)
{
    auto w = open("Include");
    addThroughPicker(*w, "doc");   // already listed
    addThroughPicker(*w, "*.*");   // nothing to add
    EXPECT_EQ(list(*w)->lines(), kSorted);
    addThroughPicker(*w, "txt");
    EXPECT_EQ(list(*w)->lines(),
              QStringList({kSorted[0], kSorted[1], kSorted[2], "*.txt\tText Document"}));
    EXPECT_EQ(count(*w), "4 available");
    addThroughPicker(*w, "", {0, 1});  // *.dll is listed, *.doc too: nothing new
    EXPECT_EQ(list(*w)->count(), 4);
    addThroughPicker(*w, "", {3});     // one row: the edit text is used
    EXPECT_EQ(list(*w)->count(), 4);
    click(*w, "btClose");
    EXPECT_EQ(storedPatterns("Include"), QStringList({"*.dll", "*.doc", "*.exe", "*.txt"}));
}

TEST_F(StatListTest, EscapeStoresAndTheCloseBoxDoesNot)
{
    for (int way = 0; way < 2; ++way) {
        const QString section = way == 0 ? "Include" : "Exclude";
        auto w = open(section);
        list(*w)->item(0)->setSelected(true);
        click(*w, "btDelete");
        if (way == 0)
            QTest::keyClick(w.get(), Qt::Key_Escape);
        else
            w->close();
        EXPECT_FALSE(w->isVisible()) << way;
        if (way == 0) {
            EXPECT_EQ(w->result(), QDialog::Accepted);
            EXPECT_EQ(storedPatterns(section), QStringList({"*.doc", "*.exe"}));
        } else {
            EXPECT_EQ(w->result(), QDialog::Rejected);
            EXPECT_EQ(storedPatterns(section), QStringList({"<never saved>"}));
        }
    }
}

TEST_F(StatListTest, ShowReadsTheStoredList)
{
    comp::WriteStatFilesToDisk({"*.txt", "*.exe"}, "Exclude");
    auto w = open("Exclude");
    EXPECT_EQ(list(*w)->lines(), QStringList({"*.exe\tProgram", "*.txt\tText Document"}));
    EXPECT_EQ(count(*w), "2 available");
}
