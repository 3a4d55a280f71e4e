// The extension picker: its list and edit box, one typed or picked pattern,
// several selected lines, the double click, Cancel.
#include "finders_testutil.h"

#include "components/frmselectextension.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using comp::TfrmSelectExtension;

namespace {

const QStringList kLines = {"*.dll\tLibrary", "*.doc\tWord document", "*.exe\tProgram", "*.txt\tText Document"};

class SelectExtensionTest : public finders_test::WindowTest {
protected:
    static QStringList lines(const QListWidget* l)
    {
        QStringList out;
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
        return out;
    }
    static QStringList labelTexts(const QWidget& w)
    {
        QStringList out;
        for (const QLabel* l : w.findChildren<QLabel*>())
            out << l->text();
        return out;
    }
    static void click(QListWidget* l, int row, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(l->viewport(), Qt::LeftButton, mods, l->visualItemRect(l->item(row)).center());
    }
};

}  // namespace

TEST_F(SelectExtensionTest, ShowListsTheRegisteredTypesAndTheFirstPattern)
{
    TfrmSelectExtension w;
    w.show();
    auto* lBox = w.findChild<QListWidget*>("lBox");
    ASSERT_NE(lBox, nullptr);
    EXPECT_EQ(w.windowTitle(), "Select a file extension");
    EXPECT_EQ(lines(lBox), kLines);
    EXPECT_EQ(w.findChild<QLineEdit*>("Edit1")->text(), "*.dll");
    EXPECT_EQ(lBox->toolTip(), "Double click to select, Ctrl-click to select more than one");
    EXPECT_TRUE(labelTexts(w).contains("Type in a new file extension or select one or many from the list below:"));
    EXPECT_TRUE(labelTexts(w).contains("Hint: Drag mouse or use ctrl-click to select multiple file extensions."));
    EXPECT_TRUE(w.findChild<QPushButton*>("btOK")->isDefault());
}

TEST_F(SelectExtensionTest, AClickPutsThePatternIntoTheEditBox)
{
    TfrmSelectExtension w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* lBox = w.findChild<QListWidget*>("lBox");
    click(lBox, 2);
    EXPECT_EQ(w.findChild<QLineEdit*>("Edit1")->text(), "*.exe");
}

TEST_F(SelectExtensionTest, OnePatternTypedIsNormalised)
{
    struct Row {
        QString typed, pattern, typeName;
    };
    const QList<Row> rows = {
        {"doc", "*.doc", "Word document"}, {".doc", "*.doc", "Word document"}, {"*.doc", "*.doc", "Word document"},
        {"*.*", "", ""},                   {"*", "", ""},                      {".*", "", ""},
        {"a.doc", "a.doc", "Word document"}, {"*doc", "*doc", ""},
    };
    for (const Row& r : rows) {
        TfrmSelectExtension w;
        w.show();
        w.findChild<QLineEdit*>("Edit1")->setText(r.typed);
        w.findChild<QPushButton*>("btOK")->click();
        EXPECT_EQ(w.result(), QDialog::Accepted) << qPrintable(r.typed);
        const comp::ExtensionChoice c = w.choice();
        EXPECT_FALSE(c.severalChosen);
        EXPECT_EQ(c.chosenPattern, r.pattern) << qPrintable(r.typed);
        EXPECT_EQ(c.chosenTypeName, r.typeName) << qPrintable(r.typed);
    }
}

TEST_F(SelectExtensionTest, ThreeSelectedLinesAreReturnedAsTheyAre)
{
    TfrmSelectExtension w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* lBox = w.findChild<QListWidget*>("lBox");
    click(lBox, 0);
    click(lBox, 2, Qt::ControlModifier);
    click(lBox, 3, Qt::ControlModifier);
    w.findChild<QLineEdit*>("Edit1")->setText("whatever");
    w.findChild<QPushButton*>("btOK")->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    const comp::ExtensionChoice c = w.choice();
    EXPECT_TRUE(c.severalChosen);
    EXPECT_EQ(c.selectedLines, QStringList({kLines[0], kLines[2], kLines[3]}));
}

TEST_F(SelectExtensionTest, ADoubleClickChoosesThatLineAlone)
{
    TfrmSelectExtension w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* lBox = w.findChild<QListWidget*>("lBox");
    click(lBox, 0);
    click(lBox, 3, Qt::ControlModifier);
    emit lBox->itemDoubleClicked(lBox->item(1));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(lBox->selectedItems().size(), 1);
    const comp::ExtensionChoice c = w.choice();
    EXPECT_FALSE(c.severalChosen);
    EXPECT_EQ(c.chosenPattern, "*.doc");
    EXPECT_EQ(c.chosenTypeName, "Word document");
}

TEST_F(SelectExtensionTest, CancelAndEscapeCloseWithCancel)
{
    for (int way = 0; way < 2; ++way) {
        TfrmSelectExtension w;
        w.show();
        if (way == 0)
            w.findChild<QPushButton*>("btCancel")->click();
        else
            QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_EQ(w.result(), QDialog::Rejected) << way;
        EXPECT_FALSE(w.isVisible()) << way;
    }
}
