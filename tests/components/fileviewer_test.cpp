// The viewer control's keys: caret moves over tabs and multi-byte
// characters, selections, and scrolling by screens to the end of the file.
#include "components/fileviewer.h"
#include "support/tempdrives.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using testing_support::TempDrives;

struct Key {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

TEST(FileViewerKeys, MoveTheCaretAsTheTextIsShown)
{
    TempDrives drives("C");
    // Line 0 "a<tab>b" (LF at 3), line 1 "héllo" (é is bytes 5-6, LF at 10),
    // line 2 "xyz..." (11..31, no LF). In hex: two lines.
    drives.writeFile('C', "k.txt", "a\tb\nh\xC3\xA9llo\nxyz0123456789ABCDEFGH");
    const Key right{Qt::Key_Right}, left{Qt::Key_Left}, down{Qt::Key_Down}, up{Qt::Key_Up};
    struct Row {
        QList<Key> keys;
        bool hex;
        qint64 caret;
        qint64 anchor;  // -1: no selection
    };
    const QList<Row> rows = {
        {{right}, false, 1, -1},
        {{right, right}, false, 2, -1},                      // over the tab
        {{right, right, right, right}, false, 4, -1},        // on to the next line
        {{right, down}, false, 5, -1},                       // column 1 below is é
        {{right, right, down}, false, 10, -1},               // column 8 is past "héllo"
        {{down, right, right}, false, 7, -1},                // é is two bytes
        {{down, right, right, left}, false, 5, -1},
        {{down, down, down, down}, false, 11, -1},           // stays on the last line
        {{left, up}, false, 0, -1},
        {{{Qt::Key_End}}, false, 3, -1},
        {{down, {Qt::Key_End}}, false, 10, -1},
        {{{Qt::Key_End, Qt::ControlModifier}}, false, 32, -1},
        {{{Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Home, Qt::ControlModifier}}, false, 0, -1},
        {{{Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}}, false, 5, 0},
        {{{Qt::Key_Right, Qt::ShiftModifier}, right}, false, 2, -1},
        {{right, down}, true, 17, -1},
        {{{Qt::Key_End, Qt::ControlModifier}, up}, true, 16, -1},
        {{{Qt::Key_End}}, true, 15, -1},
    };
    for (const Row& r : rows) {
        comp::FileViewer v;
        v.resize(400, 300);
        v.setHexMode(r.hex);
        ASSERT_TRUE(v.openFile("C:\\k.txt"));
        for (const Key& k : r.keys)
            QTest::keyClick(&v, Qt::Key(k.key), k.modifiers);
        EXPECT_EQ(v.caretOffset(), r.caret) << &r - rows.data();
        EXPECT_EQ(v.hasSelection(), r.anchor >= 0) << &r - rows.data();
        if (r.anchor >= 0) {
            EXPECT_EQ(v.selectionStart(), r.anchor);
        }
    }
}

TEST(FileViewerKeys, ScreensDownToTheLastOne)
{
    TempDrives drives("C");
    QByteArray text;
    for (int i = 1; i <= 500; ++i)
        text += "line " + QByteArray::number(i) + "\n";
    drives.writeFile('C', "long.txt", text);
    comp::FileViewer v;
    v.resize(400, 300);
    v.show();
    ASSERT_TRUE(v.openFile("C:\\long.txt"));
    ASSERT_TRUE(v.countLines());
    const int rows = v.visibleRows();
    ASSERT_GT(rows, 3);
    QTest::keyClick(&v, Qt::Key_PageDown);
    EXPECT_EQ(v.topLine(), rows - 1);
    EXPECT_EQ(v.caretLine(), rows - 1);
    QTest::keyClick(&v, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(v.topLine(), 500 - rows);
    EXPECT_EQ(v.caretLine(), 499);
    QTest::keyClick(&v, Qt::Key_PageDown);  // nothing below the last screen
    EXPECT_EQ(v.topLine(), 500 - rows);
    v.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(v.topLine(), 0);
    v.verticalScrollBar()->setSliderPosition(v.verticalScrollBar()->maximum());
    v.verticalScrollBar()->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(v.topLine(), 500 - rows);
    EXPECT_TRUE(v.goToLine(1000));  // past the end: the last line
    EXPECT_EQ(v.caretLine(), 499);
}

}  // namespace
