// The drive check list: selected lines are the ticked ones, a click toggles
// one line, the menu selects and deselects all, every line has a picture.
#include "components/drivechecklist.h"
#include "components/drivepictures.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void fill(comp::DriveCheckList& list)
{
    list.addEntry("c: Drive_c", comp::drivePicture(plat::DriveKind::Fixed));
    list.addEntry("d:", comp::drivePicture(plat::DriveKind::Removable));
    list.addEntry("C:\\Projects", comp::folderPicture());
}

QList<Qt::CheckState> marks(const comp::DriveCheckList& list)
{
    QList<Qt::CheckState> out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->checkState();
    return out;
}

}  // namespace

TEST(DriveCheckList, ClickTogglesOneLineAndTheMarkFollows)
{
    comp::DriveCheckList list;
    list.resize(200, 120);
    fill(list);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(2)).center());
    EXPECT_EQ(list.tickedEntries(), QStringList({"c: Drive_c", "C:\\Projects"}));
    EXPECT_EQ(marks(list), QList<Qt::CheckState>({Qt::Checked, Qt::Unchecked, Qt::Checked}));

    // A second click on the check mark itself unticks the line.
    QRect r = list.visualItemRect(list.item(0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(r.left() + 8, r.center().y()));
    EXPECT_EQ(list.tickedEntries(), QStringList({"C:\\Projects"}));
    EXPECT_EQ(marks(list), QList<Qt::CheckState>({Qt::Unchecked, Qt::Unchecked, Qt::Checked}));
    EXPECT_EQ(list.tickedCount(), 1);
}

TEST(DriveCheckList, MenuSelectsAndDeselectsAll)
{
    comp::DriveCheckList list;
    fill(list);
    QSignalSpy changed(&list, &QListWidget::itemSelectionChanged);
    ASSERT_EQ(list.menu()->actions().size(), 2);
    EXPECT_EQ(list.menu()->actions()[0]->text(), "Select All");
    EXPECT_EQ(list.menu()->actions()[1]->text(), "Deselect All");

    list.selectAllAction()->trigger();
    EXPECT_EQ(list.tickedCount(), 3);
    EXPECT_EQ(marks(list), QList<Qt::CheckState>({Qt::Checked, Qt::Checked, Qt::Checked}));
    list.deselectAllAction()->trigger();
    EXPECT_EQ(list.tickedCount(), 0);
    EXPECT_EQ(marks(list), QList<Qt::CheckState>({Qt::Unchecked, Qt::Unchecked, Qt::Unchecked}));
    EXPECT_GE(changed.count(), 2);
}

TEST(DriveCheckList, EveryLineHasItsPicture)
{
    comp::DriveCheckList list;
    fill(list);
    for (int i = 0; i < list.count(); ++i)
        EXPECT_FALSE(list.item(i)->icon().isNull()) << i;
    const QList<plat::DriveKind> kinds = {plat::DriveKind::Fixed, plat::DriveKind::Removable, plat::DriveKind::CdRom,
                                          plat::DriveKind::Network, plat::DriveKind::RamDisk};
    QList<QImage> seen;
    for (plat::DriveKind k : kinds) {
        const QImage img = comp::drivePicture(k).toImage();
        EXPECT_EQ(img.size(), QSize(16, 16));
        EXPECT_FALSE(seen.contains(img)) << "kind " << int(k) << " looks like another kind";
        seen << img;
    }
}

TEST(DriveCheckList, TheProgramsFolderPictureReplacesThePaintedOne)
{
    const QImage painted = comp::folderPicture().toImage();
    QPixmap red(16, 16);
    red.fill(Qt::red);
    comp::setFolderPicture(red);
    EXPECT_EQ(comp::folderPicture().toImage(), red.toImage());
    comp::setFolderPicture(QPixmap());
    EXPECT_EQ(comp::folderPicture().toImage(), painted);
}
