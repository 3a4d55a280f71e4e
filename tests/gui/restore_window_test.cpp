// The restore window: its archive list and contents tree, and restoring an
// archive to its original places or elsewhere, with every failure reported.
#include "restore_fixture.h"

#include "app/frmmain.h"
#include "app/launcher.h"
#include "app/programwindows.h"
#include "components/zip_testutil.h"
#include "core/settings.h"
#include "platform/fileops_p.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace restoretest {
namespace {

const QString kExample = "Drive-C-TempClean06Sep990533.zip";

TEST_F(RestoreWindowTest, AFolderWithoutArchivesGivesTheNoteAfterTheWindowOpens)
{
    drives.writeFile('C', "zips/other.zip", "x");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    EXPECT_EQ(w.windowTitle(), "Unzip Trovik Archive Zip Files");
    EXPECT_EQ(w.FileListBox1->count(), 0);
    // The note waits for a one-shot timer of 600 ms, not for the show.
    EXPECT_TRUE(prompter.records().isEmpty());
    EXPECT_TRUE(w.tmNoArchives->isActive());
    EXPECT_TRUE(w.tmNoArchives->isSingleShot());
    EXPECT_EQ(w.tmNoArchives->interval(), 600);
    waitForMessage();
    EXPECT_EQ(prompter.texts(Kind::Info),
              QStringList{"It appears that there are no archive zip files in this folder for Trovik to unzip.  \r\r"
                          "Note that Trovik can only unzip those files that have been originally zipped by Trovik.  "
                          "It should not be used to unzip other non Trovik zip files."});
    EXPECT_FALSE(w.btView->isEnabled());
    EXPECT_FALSE(w.btExtract->isEnabled());
}

TEST_F(RestoreWindowTest, OpensOnTheArchiveFolderSettingAndMakesItCurrent)
{
    zipAway(kExample);
    core::SettingsStore::writeString("ZipFile", "Path", "C:\\zips");
    TfrmUnZipIt w;
    w.show();
    EXPECT_EQ(w.DirectoryListBox1->directory(), "C:\\zips");
    EXPECT_EQ(plat::currentFolder(), "C:\\zips");
    EXPECT_EQ(w.FileListBox1->count(), 1);
    EXPECT_FALSE(w.tmNoArchives->isActive());
    EXPECT_TRUE(w.lblZip->text().isEmpty());
    EXPECT_EQ(w.pnlComment->text(), "Archive zip file comments");
}

TEST_F(RestoreWindowTest, ViewShowsTheContentsAsAFolderTree)
{
    zipAway(kExample);
    drives.writeFile('C', "zips/Drive-D-other.ZIP", "not a zip");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    EXPECT_EQ(w.FileListBox1->count(), 2);
    EXPECT_FALSE(w.btView->isEnabled());
    select(w, kExample);
    EXPECT_TRUE(w.btView->isEnabled());
    EXPECT_TRUE(w.btExtract->isEnabled());
    w.btView->click();
    EXPECT_EQ(w.lblZip->text(), "C:\\zips\\" + kExample);
    EXPECT_EQ(w.lblCount->text(), "3 files");
    EXPECT_EQ(w.pnlComment->text(), "Cleaned on a Monday");
    EXPECT_EQ(topLevel(w.Outline), (QStringList{"DOS", "ROOT.TXT"}));
    QTreeWidgetItem* dos = w.Outline->topLevelItem(0);
    ASSERT_EQ(dos->childCount(), 2);
    EXPECT_EQ(dos->child(0)->text(0), "OLD.TXT");
    EXPECT_EQ(dos->child(1)->text(0), "SUB");
    ASSERT_EQ(dos->child(1)->childCount(), 1);
    EXPECT_EQ(dos->child(1)->child(0)->text(0), "Long file name.txt");
    w.Outline->expandAll();
    snapshot(w, "restore-window");
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(RestoreWindowTest, AFileThatIsNoZipLeavesTheTreeUnchanged)
{
    zipAway(kExample);
    drives.writeFile('C', "zips/Drive-X.zip", "PK but not really a zip file");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    // Nothing loaded yet: the tree stays empty.
    select(w, "Drive-X.zip");
    w.btView->click();
    EXPECT_EQ(w.Outline->topLevelItemCount(), 0);
    EXPECT_TRUE(w.lblZip->text().isEmpty());

    select(w, kExample);
    w.btView->click();
    select(w, "Drive-X.zip");
    emit w.FileListBox1->itemDoubleClicked(w.FileListBox1->currentItem());
    EXPECT_EQ(w.lblZip->text(), "C:\\zips\\" + kExample);
    EXPECT_EQ(w.lblCount->text(), "3 files");
    EXPECT_EQ(topLevel(w.Outline), (QStringList{"DOS", "ROOT.TXT"}));
    EXPECT_TRUE(prompter.records().isEmpty()) << "no message when viewing";
    EXPECT_EQ(restore_test::ReadBytes(c("zips/Drive-X.zip")), "PK but not really a zip file");

    // Extracting it must not restore the archive shown before instead.
    w.btExtract->click();
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{del::NotAnArchiveText("C:\\zips\\Drive-X.zip")});
    EXPECT_FALSE(QFile::exists(c("ROOT.TXT")));
}

TEST_F(RestoreWindowTest, RestoringIntoTheOriginalRootAsksNothingAndPutsEachFileBack)
{
    const auto files = zipAway(kExample);
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, kExample);
    QString shownArchive, title;
    QStringList dirLabel;
    extract(w, [&](TfrmZipDirectory& d) {
        title = d.windowTitle();
        shownArchive = d.lblZipName->text();
        dirLabel << d.DirLabel->text();
        EXPECT_EQ(d.ArchiveRoot, "C:\\");
        EXPECT_EQ(d.StartFolder, "C:\\zips");
        EXPECT_EQ(plat::currentFolder(), "C:\\");
        snapshot(d, "restore-destination");
        d.btOK->click();
    });
    EXPECT_EQ(title, "Destination folder");
    EXPECT_EQ(shownArchive, "C:\\zips\\" + kExample);
    EXPECT_EQ(dirLabel, QStringList{"C:\\"});
    EXPECT_TRUE(prompter.texts(Kind::Confirm).isEmpty());
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Files were unzipped"});
    EXPECT_EQ(prompter.records().size(), 1);
    for (auto it = files.begin(); it != files.end(); ++it)
        EXPECT_EQ(restore_test::ReadBytes(c(it.key())), it.value()) << qPrintable(it.key());
    EXPECT_EQ(plat::currentFolder(), "C:\\zips") << "the start folder comes back";
    EXPECT_EQ(w.archive().BaseFolder, "C:\\");
    EXPECT_FALSE(w.Gauge1->isVisible());
    EXPECT_TRUE(w.btClose->isEnabled());
    EXPECT_TRUE(w.btExtract->isEnabled());
}

TEST_F(RestoreWindowTest, RestoringElsewhereAsksAndAfterYesFilesLandBelowThatFolder)
{
    const auto files = zipAway(kExample);
    drives.makeFolder('C', "RESTORE");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, kExample);
    prompter.queue(core::Answer::Yes);
    extractInto(w, "C:\\RESTORE");
    EXPECT_EQ(prompter.texts(Kind::Confirm),
              QStringList{"You are not restoring into the original root folder.  The files will not be restored to "
                          "their original locations. Is this OK?"});
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Files were unzipped"});
    for (auto it = files.begin(); it != files.end(); ++it) {
        EXPECT_EQ(restore_test::ReadBytes(c("RESTORE/" + it.key())), it.value()) << qPrintable(it.key());
        EXPECT_FALSE(QFile::exists(c(it.key())));
    }
}

TEST_F(RestoreWindowTest, NoKeepsTheDestinationOpenAndCancelRestoresNothing)
{
    zipAway(kExample);
    drives.makeFolder('C', "RESTORE");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, kExample);
    bool stayedOpen = false;
    extract(w, [&](TfrmZipDirectory& d) {
        d.DLB->setDirectory("C:\\RESTORE");
        d.btOK->click();  // the question gets No (nothing queued)
        stayedOpen = d.isVisible();
        d.btCancel->click();
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompter.texts(Kind::Confirm).size(), 1);
    EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
    EXPECT_EQ(restore_test::TreeOf(c("RESTORE")).size(), 0);
    EXPECT_FALSE(QFile::exists(c("ROOT.TXT")));
    EXPECT_EQ(plat::currentFolder(), "C:\\zips");
}

TEST_F(RestoreWindowTest, AnArchiveNameWithoutDriveAlwaysAsks)
{
    zipAway("DriveBackup.zip");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, "DriveBackup.zip");
    for (const char* folder : {"C:\\", "D:\\"}) {
        prompter.clear();
        QStringList opened;
        extractInto(w, folder, &opened);
        EXPECT_EQ(prompter.texts(Kind::Confirm).size(), 1) << folder;
        EXPECT_EQ(opened, QStringList{"C:\\"}) << "opens on the current drive's root";
    }
}

TEST_F(RestoreWindowTest, ExistingTargetsAreKeptAndReportedOnceWithACount)
{
    zipAway(kExample);
    drives.writeFile('C', "DOS/OLD.TXT", "mine");
    drives.writeFile('C', "ROOT.TXT", "mine too");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, kExample);
    extractInto(w, "C:\\");
    EXPECT_TRUE(prompter.texts(Kind::Error).isEmpty());
    EXPECT_EQ(prompter.texts(Kind::Warning), QStringList{del::ExistingTargetsText(2, "C:\\")});
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Files were unzipped: 1 of 3 files."});
    EXPECT_EQ(restore_test::ReadBytes(c("DOS/OLD.TXT")), "mine");
    EXPECT_EQ(restore_test::ReadBytes(c("ROOT.TXT")), "mine too");
    EXPECT_EQ(restore_test::ReadBytes(c("DOS/SUB/Long file name.txt")), "long\n");
}

TEST_F(RestoreWindowTest, HostileEntriesAreReportedOneByOneAndNothingLeavesTheFolder)
{
    drives.makeFolder('C', "RESTORE");
    drives.makeFolder('C', "outside");
    ASSERT_EQ(::symlink(qPrintable(c("outside")), qPrintable(c("RESTORE/away"))), 0);
    ASSERT_TRUE(restore_test::WriteBytes(
        c("zips/Drive-C-bad.zip"),
        restore_test::RawZip({{"../evil.txt", "x"}, {"away/pwn.txt", "x"}, {"ln", "/", 0120777}, {"ok.txt", "y"}})));
    const auto before = restore_test::TreeOf(drives.posix('C'));
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, "Drive-C-bad.zip");
    prompter.queue(core::Answer::Yes);
    extractInto(w, "C:\\RESTORE");
    const QStringList errors = prompter.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 6) << qPrintable(errors.join('\n'));
    EXPECT_EQ(errors[0], "Cannot extract ../evil.txt from Drive-C-bad.zip");
    EXPECT_EQ(errors[2], "Cannot extract away/pwn.txt from Drive-C-bad.zip");
    EXPECT_EQ(errors[4], "Cannot extract ln from Drive-C-bad.zip");
    for (int i : {1, 3, 5})
        EXPECT_FALSE(errors[i].startsWith("Cannot")) << "the reader's reason follows";
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Files were unzipped: 1 of 4 files."});
    auto after = restore_test::TreeOf(drives.posix('C'));
    EXPECT_EQ(after.take("RESTORE/ok.txt"), "y");
    EXPECT_EQ(after, before);
}

TEST_F(RestoreWindowTest, WrongPasswordIsReportedAndTheRightOneRestores)
{
    if (!restore_test::HaveZip())
        GTEST_SKIP() << "zip is not installed";
    drives.writeFile('D', "PLAN.TXT", "the plan");
    ASSERT_TRUE(restore_test::RunZip(drives.posix('D'), {"-q", "-P", "s3cret", c("zips/Drive-D-pw.zip"), "PLAN.TXT"}));
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, "Drive-D-pw.zip");
    QStringList answers{"guess"};
    QStringList asked;
    w.AskPassword = [&](const QString& entry) -> std::optional<QByteArray> {
        asked << entry;
        if (answers.isEmpty())
            return std::nullopt;
        return answers.takeFirst().toUtf8();
    };
    prompter.queue(core::Answer::Yes);
    extractInto(w, "C:\\");  // C is not the archive's drive D
    // Asked again after the wrong one (unless its check byte passed by
    // chance, 1 in 256: then the CRC catches it).
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(asked.count("PLAN.TXT"), asked.size());
    EXPECT_EQ(prompter.texts(Kind::Error),
              (QStringList{"Cannot extract PLAN.TXT from Drive-D-pw.zip", "wrong password"}));
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"No files were unzipped."});
    EXPECT_FALSE(QFile::exists(c("PLAN.TXT")));

    prompter.clear();
    answers = QStringList{"s3cret"};
    prompter.queue(core::Answer::Yes);
    extractInto(w, "C:\\");
    EXPECT_TRUE(prompter.texts(Kind::Error).isEmpty());
    EXPECT_EQ(restore_test::ReadBytes(c("PLAN.TXT")), "the plan");
}

TEST_F(RestoreWindowTest, AnArchiveOfAMissingDriveIsRefusedWithAnError)
{
    zipAway("Drive-Q-gone.zip");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, "Drive-Q-gone.zip");
    // The dialog shows the error and closes itself as cancelled; should it
    // stay open, this guard closes it so that the test cannot hang.
    bool stuck = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&stuck] {
        if (auto* d = qobject_cast<TfrmZipDirectory*>(QApplication::activeModalWidget())) {
            stuck = true;
            d->reject();
        }
    });
    guard.start(3000);
    w.btExtract->click();
    guard.stop();
    EXPECT_FALSE(stuck);
    EXPECT_TRUE(w.findChildren<TfrmZipDirectory*>().isEmpty());
    EXPECT_EQ(prompter.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
    EXPECT_FALSE(QFile::exists(c("ROOT.TXT")));
    EXPECT_EQ(plat::currentFolder(), "C:\\zips");
}

namespace {
int TenKilobytesFree(const char* path, struct statvfs* out)
{
    const int rc = ::statvfs(path, out);
    out->f_frsize = 1024;
    out->f_bavail = 10;
    return rc;
}
}  // namespace

TEST_F(RestoreWindowTest, ArchivesThatCannotBeRestoredWholeAreRefusedWithTheReason)
{
    zipAway(kExample);
    drives.writeFile('C', "DOS/BIG.DAT", QByteArray(20000, 'b'));
    ASSERT_TRUE(restore_test::WriteArchive("C:\\zips\\Drive-C-big.zip", {"C:\\DOS\\BIG.DAT"}));
    ASSERT_TRUE(plat::deleteFile("C:\\DOS\\BIG.DAT"));
    ziptest::writeAll(c("zips/Drive-C-bomb.zip"), ziptest::overlapBomb(20, 64 * 1024));
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();

    // Overlapping entries: refused before any folder is asked for.
    select(w, "Drive-C-bomb.zip");
    w.btExtract->click();
    ASSERT_EQ(prompter.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(prompter.texts(Kind::Error)[0].startsWith(
        "Cannot extract files from C:\\zips\\Drive-C-bomb.zip: its entries overlap"));
    snapshot(w, "restore-refused");

    // Not enough space: nothing is written, and no summary follows.
    prompter.clear();
    plat::detail::setStatvfsForTest(&TenKilobytesFree);
    select(w, "Drive-C-big.zip");
    extractInto(w, "C:\\");
    plat::detail::setStatvfsForTest(nullptr);
    EXPECT_EQ(prompter.texts(Kind::Error),
              QStringList{del::NotEnoughSpaceText("C:\\zips\\Drive-C-big.zip", 20000, 10240)});
    EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
    EXPECT_FALSE(QFile::exists(c("DOS/BIG.DAT")));
}

TEST_F(RestoreWindowTest, DuplicateWarningsCanBeIgnoredUntilTheNextLoad)
{
    zipAway(kExample);
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, kExample);
    w.btView->click();
    prompter.queue(core::Answer::No);
    w.OutlineProcessItemFailure(TfrmUnZipIt::ItemAction::Add, "a.txt", true, QString());
    EXPECT_FALSE(w.IgnoreDuplicateWarnings);
    prompter.queue(core::Answer::Yes);
    w.OutlineProcessItemFailure(TfrmUnZipIt::ItemAction::Move, "b.txt", true, QString());
    EXPECT_TRUE(w.IgnoreDuplicateWarnings);
    w.OutlineProcessItemFailure(TfrmUnZipIt::ItemAction::Add, "c.txt", true, QString());
    EXPECT_EQ(prompter.texts(Kind::Confirm),
              (QStringList{del::DuplicateWarningText(true, "a.txt"), del::DuplicateWarningText(false, "b.txt")}));
    EXPECT_EQ(prompter.records().first().caption, "Warning");
    w.OutlineProcessItemFailure(TfrmUnZipIt::ItemAction::Move, "d.txt", false, "disk full");
    EXPECT_EQ(prompter.texts(Kind::Error), (QStringList{"Cannot move d.txt to " + kExample, "disk full"}));
    w.btView->click();
    EXPECT_FALSE(w.IgnoreDuplicateWarnings) << "reset by loading";
}

TEST_F(RestoreWindowTest, TheFolderListChangesFolderAndFileList)
{
    zipAway(kExample);
    drives.writeFile('D', "arch/Drive-D-x.zip", "x");
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, kExample);
    auto* drive = w.DriveComboBox1;
    drive->setCurrentIndex(drive->findData("D:\\"));
    EXPECT_EQ(w.DirectoryListBox1->directory(), "D:\\");
    EXPECT_EQ(plat::currentFolder(), "D:\\");
    EXPECT_EQ(w.FileListBox1->count(), 0);
    EXPECT_FALSE(w.btExtract->isEnabled());
    QListWidget* list = w.DirectoryListBox1;
    QListWidgetItem* arch = nullptr;
    for (int i = 0; i < list->count(); ++i)
        if (del::FolderListBox::pathOf(list->item(i)) == "D:\\arch")
            arch = list->item(i);
    ASSERT_NE(arch, nullptr);
    emit list->itemActivated(arch);
    EXPECT_EQ(w.DirectoryListBox1->directory(), "D:\\arch");
    EXPECT_EQ(w.FileListBox1->count(), 1);
}

TEST_F(RestoreWindowTest, TheLauncherButtonOpensTheWindowOnTheArchiveFolder)
{
    zipAway(kExample);
    core::SettingsStore::writeString("ZipFile", "Path", "C:\\zips");
    app::Launcher state;
    app::TfrmMain main(state);
    app::registerProgramWindows(main);
    main.show();
    ASSERT_TRUE(main.button("btZip")->isEnabled());
    bool seen = false;
    finders_test::whenModal<TfrmUnZipIt>([&](TfrmUnZipIt& w) {
        seen = true;
        EXPECT_EQ(w.parentWidget(), &main);
        EXPECT_EQ(w.DirectoryListBox1->directory(), "C:\\zips");
        EXPECT_EQ(w.FileListBox1->count(), 1);
        w.btClose->click();
    });
    main.button("btZip")->click();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(main.findChildren<TfrmUnZipIt*>().isEmpty()) << "destroyed after closing";
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(RestoreWindowTest, ADamagedArchiveGivesAFewBoxesAndOneCount)
{
    // Twenty entries that cannot be restored: the first ones are reported
    // one by one, the rest in one box with their count.
    drives.makeFolder('C', "RESTORE");
    QList<restore_test::RawEntry> entries;
    for (int i = 0; i < 20; ++i)
        entries.append(restore_test::RawEntry{QStringLiteral("../evil%1.txt").arg(i).toUtf8(), "x"});
    entries.append(restore_test::RawEntry{"ok.txt", "y"});
    ASSERT_TRUE(restore_test::WriteBytes(c("zips/Drive-C-bad.zip"), restore_test::RawZip(entries)));
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, "Drive-C-bad.zip");
    prompter.queue(core::Answer::Yes);
    extractInto(w, "C:\\RESTORE");
    const QStringList errors = prompter.texts(Kind::Error);
    ASSERT_LE(errors.size(), 16) << qPrintable(errors.join('\n'));
    ASSERT_GE(errors.size(), 3);
    EXPECT_EQ(errors[0], "Cannot extract ../evil0.txt from Drive-C-bad.zip");
    EXPECT_FALSE(errors[1].startsWith("Cannot")) << "the reader's reason follows";
    const int shown = (errors.size() - 1) / 2;
    for (int i = 0; i < shown; ++i)
        EXPECT_EQ(errors[2 * i], QStringLiteral("Cannot extract ../evil%1.txt from Drive-C-bad.zip").arg(i));
    EXPECT_EQ(errors.last(), del::MoreFailuresText(20 - shown, "Drive-C-bad.zip"));
    EXPECT_EQ(errors.last(), QStringLiteral("%1 more files could not be extracted from Drive-C-bad.zip.")
                                 .arg(20 - shown));
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Files were unzipped: 1 of 21 files."});
    EXPECT_TRUE(QFileInfo::exists(c("RESTORE/ok.txt")));
}

TEST_F(RestoreWindowTest, AFewFailuresAreAllReportedOneByOne)
{
    drives.makeFolder('C', "RESTORE");
    QList<restore_test::RawEntry> entries;
    for (int i = 0; i < 7; ++i)
        entries.append(restore_test::RawEntry{QStringLiteral("../evil%1.txt").arg(i).toUtf8(), "x"});
    ASSERT_TRUE(restore_test::WriteBytes(c("zips/Drive-C-bad.zip"), restore_test::RawZip(entries)));
    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, "Drive-C-bad.zip");
    prompter.queue(core::Answer::Yes);
    extractInto(w, "C:\\RESTORE");
    const QStringList errors = prompter.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 14) << qPrintable(errors.join('\n'));
    EXPECT_EQ(errors[12], "Cannot extract ../evil6.txt from Drive-C-bad.zip");
}

}  // namespace
}  // namespace restoretest
