// The wildcard picker: list refill on show, the two labels, OK and Cancel.
#include "finders_testutil.h"

#include "finders/frmwildcard.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using finders::TfrmWildCard;

namespace {

class WildCardTest : public finders_test::WindowTest {
protected:
    static QStringList items(const QComboBox* cb)
    {
        QStringList out;
        for (int i = 0; i < cb->count(); ++i)
            out << cb->itemText(i);
        return out;
    }
};

}  // namespace

TEST_F(WildCardTest, ShowRefillsTheListAndKeepsTheText)
{
    TfrmWildCard w;
    auto* cb = w.findChild<QComboBox*>("cbWildCard");
    ASSERT_NE(cb, nullptr);
    cb->addItem("*.old");
    w.setPattern("*.txt");
    w.show();
    EXPECT_EQ(w.windowTitle(), "Wildcard pattern");
    EXPECT_TRUE(cb->isEditable());
    EXPECT_EQ(items(cb), QStringList({"*.*", "*.dll", "*.doc", "*.exe", "*.txt"}));
    EXPECT_EQ(cb->currentText(), "*.txt");
    EXPECT_EQ(w.findChild<QLabel*>("lblWild")->text(), "");
    EXPECT_EQ(w.findChild<QLabel*>("lblType")->text(), "Text Document");
    EXPECT_TRUE(w.findChild<QPushButton*>("btOK")->isDefault());
}

TEST_F(WildCardTest, LabelsFollowTypingAndPicking)
{
    TfrmWildCard w;
    w.setPattern("*.*");
    w.show();
    auto* cb = w.findChild<QComboBox*>("cbWildCard");
    auto* wild = w.findChild<QLabel*>("lblWild");
    auto* type = w.findChild<QLabel*>("lblType");
    EXPECT_EQ(wild->text(), "All files");
    EXPECT_EQ(type->text(), "");

    struct Row {
        QString text, wild, type;
    };
    const QList<Row> rows = {
        {"*.doc", "", "Word document"},
        {"a*.txt", "", ""},
        {"*.xyz", "", "XYZ File"},
        {"*.*", "All files", ""},
    };
    for (const Row& r : rows) {
        cb->lineEdit()->selectAll();
        QTest::keyClicks(cb->lineEdit(), r.text);
        EXPECT_EQ(cb->currentText(), r.text);
        EXPECT_EQ(wild->text(), r.wild) << qPrintable(r.text);
        EXPECT_EQ(type->text(), r.type) << qPrintable(r.text);
    }
    cb->setCurrentIndex(cb->findText("*.exe"));  // a pick from the list
    EXPECT_EQ(wild->text(), "");
    EXPECT_EQ(type->text(), "Program");
}

TEST_F(WildCardTest, OkKeepsThePatternAndCancelOrEscapeDoNot)
{
    {
        TfrmWildCard w;
        w.setPattern("*.doc");
        w.show();
        w.findChild<QPushButton*>("btOK")->click();
        EXPECT_EQ(w.result(), QDialog::Accepted);
        EXPECT_EQ(w.pattern(), "*.doc");
    }
    for (int way = 0; way < 2; ++way) {
        TfrmWildCard w;
        w.show();
        if (way == 0)
            w.findChild<QPushButton*>("btCancel")->click();
        else
            QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_EQ(w.result(), QDialog::Rejected) << way;
        EXPECT_FALSE(w.isVisible()) << way;
    }
}
