// The Qt prompter's conversions; its dialogs are never shown in tests.
#include "components/qtprompter.h"
#include "support/tempdrives.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

using comp::QtPrompter;

TEST(QtPrompter, FilterConversion)
{
    EXPECT_EQ(QtPrompter::toQtFilters("HTM files|*.htm|All files|*.*"),
              (QStringList{"HTM files (*.htm)", "All files (*)"}));
    EXPECT_EQ(QtPrompter::toQtFilters("HTM files|*.htm|HTML files|*.html|All files|*.*"),
              (QStringList{"HTM files (*.htm)", "HTML files (*.html)", "All files (*)"}));
    EXPECT_EQ(QtPrompter::toQtFilters("Text files|*.txt;*.log"), (QStringList{"Text files (*.txt *.log)"}));
    EXPECT_TRUE(QtPrompter::toQtFilters("").isEmpty());
}

TEST(QtPrompter, InitialSavePathMapsDrives)
{
    testing_support::TempDrives drives("CD");
    EXPECT_EQ(QtPrompter::initialSavePath("D:\\lists\\save.htm"), drives.posix('D') + "/lists/save.htm");
    EXPECT_EQ(QtPrompter::initialSavePath("Q:\\nowhere\\save.htm"), "save.htm");
    EXPECT_TRUE(QtPrompter::initialSavePath("").isEmpty());
    const QString bare = QtPrompter::initialSavePath("save.htm");
    EXPECT_TRUE(bare.endsWith("save.htm"));
}

// The buttons of a confirmation box (never shown): Enter answers what the
// question asks for, or the kind's standard button when it has no such one.
TEST(QtPrompter, ConfirmationDefaultButton)
{
    using core::Answer;
    using core::ConfirmKind;
    struct Case {
        ConfirmKind kind;
        Answer asked;
        QMessageBox::StandardButton enter;
        QMessageBox::StandardButton escape;
    };
    const Case cases[] = {
        {ConfirmKind::YesNo, Answer::Yes, QMessageBox::Yes, QMessageBox::No},
        {ConfirmKind::YesNo, Answer::No, QMessageBox::No, QMessageBox::No},
        {ConfirmKind::YesNo, Answer::Ok, QMessageBox::Yes, QMessageBox::No},
        {ConfirmKind::YesNoCancel, Answer::Cancel, QMessageBox::Cancel, QMessageBox::Cancel},
        {ConfirmKind::OkCancel, Answer::Yes, QMessageBox::Ok, QMessageBox::Cancel},
        {ConfirmKind::OkCancel, Answer::Cancel, QMessageBox::Cancel, QMessageBox::Cancel},
    };
    for (const Case& c : cases) {
        QMessageBox box;
        QtPrompter::setConfirmButtons(box, c.kind, c.asked);
        EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(c.enter)) << int(c.kind) << "/" << int(c.asked);
        EXPECT_EQ(box.escapeButton(), box.button(c.escape)) << int(c.kind) << "/" << int(c.asked);
    }
}
