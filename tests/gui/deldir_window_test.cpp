// The folder deletion window on temporary drives: its controls, the three
// operations with their questions, Cancel before and during an operation,
// and what its caller reads afterwards.
#include "components/zip/zipreader.h"
#include "core/safeharbor.h"
#include "core/scriptedprompter.h"
#include "core/settings.h"
#include "delete/deletionlog.h"
#include "delete/frmdeldirectory.h"
#include "delete/frmzipoptions.h"
#include "support/tempdrives.h"
#include "components/slotguard.h"
#include "finders_testutil.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using core::Answer;
using del::TfrmDelDirectory;
using Kind = core::ScriptedPrompter::Kind;

namespace {

const char* const kTrashText =
    "Note that the recycle bin may be full or that you may have the \"Immediately Remove Files On Delete\" option "
    "turned on in the recycle bin. If either is true, then you will not be able to recover the deleted files from "
    "the recycle bin. \r\rSend to the recycle bin anyway?";
const char* const kAbortText = "Really abort?  Folders may be partially deleted!";

class DelDirWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        core::setPrompter(&prompter);
        core::setProgramSafeHarbor(&harbor);
        del::setProgramLog(&log);
        drives.makeFolder('D', "zips");
    }
    void TearDown() override
    {
        del::setProgramLog(nullptr);
        core::setProgramSafeHarbor(nullptr);
        core::setPrompter(nullptr);
    }

    QString c(const QString& rel) const { return drives.posix(u'C') + "/" + rel; }
    bool present(const QString& posix) const
    {
        struct stat st;
        return ::lstat(QFile::encodeName(posix).constData(), &st) == 0;
    }
    int filesBelow(const QString& posix) const
    {
        int n = 0;
        for (const QFileInfo& fi :
             QDir(posix).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            n += fi.isDir() && !fi.isSymLink() ? filesBelow(fi.filePath()) : 1;
        return n;
    }
    void makeTree(int files = 10)
    {
        for (int i = 0; i < files; ++i)
            drives.writeFile('C', QStringLiteral("tree/%1/f%2.txt").arg(i % 2 ? "odd" : "even").arg(i),
                             QByteArray(10, 'x'));
    }

    // The window as a caller opens it: the folder goes in through lblDirectory.
    std::unique_ptr<TfrmDelDirectory> open(const QString& folder)
    {
        auto w = std::make_unique<TfrmDelDirectory>();
        w->lblDirectory->setText(folder);
        w->askZipOptions = [this]() -> std::optional<del::FolderZipTarget> {
            ++zipOptionsShown;
            if (!zipOptionsAnswer)
                return std::nullopt;
            return zipOptionsAnswer;
        };
        w->show();
        return w;
    }
    static qint64 total(const char* name) { return core::SettingsStore::readInt64("Trovik", name, -1); }

    testing_support::TempDrives drives{"CD"};
    core::ScriptedPrompter prompter;
    core::SafeHarbor harbor;
    del::DeletionLog log;
    int zipOptionsShown = 0;
    std::optional<del::FolderZipTarget> zipOptionsAnswer =
        del::FolderZipTarget{"D:\\zips", "folder clean", QDateTime(QDate(1999, 9, 6), QTime(5, 33))};
};

}  // namespace

TEST_F(DelDirWindowTest, ControlsCarryTheirNamesAndTexts)
{
    auto w = open("C:\\tree");
    EXPECT_EQ(w->windowTitle(), "Clean directory, sub-directories and all files");
    struct Expect {
        const char* name;
        const char* caption;
        const char* hint;
    };
    const Expect buttons[] = {
        {"btDelete", "&Delete folder", "Delete the files shown above.  Cannot be undeleted."},
        {"btRecycle", "&Send files to recycle bin",
         "Send to recycle bin.  Recycle bin can be emptied later.  Files can be recovered."},
        {"btZip", "&Zip up folder", "Compress files into a ZIP file"},
        {"BitBtn3", "Cancel", "Cancel. Do not delete."},
    };
    for (const Expect& b : buttons) {
        auto* button = w->findChild<QPushButton*>(b.name);
        ASSERT_TRUE(button) << b.name;
        EXPECT_EQ(button->text(), b.caption);
        EXPECT_EQ(button->toolTip(), b.hint);
    }
    auto* cb = w->findChild<QCheckBox*>("cbDelete");
    ASSERT_TRUE(cb);
    EXPECT_EQ(cb->text(), "Delete files after zipping them up");
    EXPECT_TRUE(cb->isChecked());
    EXPECT_TRUE(w->findChild<QLabel*>("lblDirectory"));
    EXPECT_TRUE(w->findChild<QLabel*>("pnlCount"));
    EXPECT_TRUE(w->findChild<QLabel*>("pnlName"));
    EXPECT_TRUE(w->findChild<QProgressBar*>("Gauge1"));
    EXPECT_EQ(w->findChild<QLabel*>("lblTop")->text(), "Folder to clean: ");
    EXPECT_TRUE(w->lblDirectory->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(w->btRecycle->isEnabled());
}

TEST_F(DelDirWindowTest, AProtectedFolderIsMarkedInRed)
{
    harbor.GetSearchPath({QStringList{"C:\\TREE"}, QString(), {}});
    auto w = open("C:\\tree");
    EXPECT_EQ(w->lblTop->text(), "This folder should not be deleted since it is referenced in the registry");
    EXPECT_TRUE(w->lblTop->styleSheet().contains("red"));
}

TEST_F(DelDirWindowTest, AFloppyFolderOffersNoRecycleButton)
{
    for (const char* folder : {"A:\\old", "b:\\old"}) {
        auto w = open(folder);
        EXPECT_FALSE(w->btRecycle->isEnabled()) << folder;
    }
}

TEST_F(DelDirWindowTest, DeleteRemovesTheTreeAndCloses)
{
    makeTree();
    ASSERT_EQ(::chmod(QFile::encodeName(c("tree/odd/f3.txt")).constData(), 0444), 0);
    prompter.queue(Answer::Yes);
    auto w = open("C:\\tree");
    QTest::mouseClick(w->btDelete, Qt::LeftButton);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->RecycleChosen);
    EXPECT_FALSE(present(c("tree")));
    EXPECT_EQ(prompter.texts(Kind::Confirm).size(), 1);
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Deleted 10 files for a savings of 100 bytes."});
    EXPECT_EQ(w->pnlCount->text(), "Count");
    EXPECT_EQ(w->pnlName->text(), "Filename");
    EXPECT_EQ(total("Ndelete"), 10);
    EXPECT_EQ(log.usedRows(), 1);
}

TEST_F(DelDirWindowTest, ReadOnlyAnsweredNoStopsAndStillCloses)
{
    makeTree();
    ASSERT_EQ(::chmod(QFile::encodeName(c("tree/odd/f3.txt")).constData(), 0444), 0);
    prompter.queue(Answer::No);
    auto w = open("C:\\tree");
    w->btDelete->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_TRUE(present(c("tree/odd/f3.txt")));
    EXPECT_TRUE(w->lastResult().stopped);
}

TEST_F(DelDirWindowTest, AnEmptyFolderGoesWithoutAWord)
{
    drives.makeFolder('C', "empty");
    auto w = open("C:\\empty");
    w->btDelete->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(present(c("empty")));
    EXPECT_TRUE(prompter.records().isEmpty());
    EXPECT_EQ(total("Ndelete"), -1);
}

TEST_F(DelDirWindowTest, RecycleAnsweredNoKeepsTheWindowOpen)
{
    makeTree();
    prompter.queue(Answer::No);
    auto w = open("C:\\tree");
    w->btRecycle->click();
    EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList{kTrashText});
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->RecycleChosen);
    EXPECT_FALSE(w->ZipChosen);
    EXPECT_EQ(filesBelow(c("tree")), 10);
}

TEST_F(DelDirWindowTest, RecycleCountsAsRecycled)
{
    makeTree();
    prompter.queue(Answer::Yes);
    auto w = open("C:\\tree");
    w->btRecycle->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_TRUE(w->RecycleChosen);
    EXPECT_FALSE(present(c("tree")));
    EXPECT_EQ(total("NWaste"), 10);
    EXPECT_EQ(total("SizeWaste"), 100);
    EXPECT_EQ(total("Ndelete"), 0);
}

TEST_F(DelDirWindowTest, ZipWithoutDeletingLeavesTheFolder)
{
    drives.writeFile('C', "data/old/a.txt", "alpha");
    drives.writeFile('C', "data/old/sub/b.txt", "beta");
    auto w = open("c:\\data\\old");
    w->cbDelete->setChecked(false);
    w->btZip->click();
    EXPECT_EQ(zipOptionsShown, 1);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_TRUE(w->ZipChosen);
    EXPECT_FALSE(w->RecycleChosen);
    EXPECT_EQ(filesBelow(c("data/old")), 2);
    const QString archive = drives.posix(u'D') + "/zips/Drive-c-FolderClean06Sep990533.zip";
    comp::ZipReader reader;
    ASSERT_TRUE(reader.openPosix(QFile::encodeName(archive))) << reader.errorText().toStdString();
    QStringList names;
    for (const auto& e : reader.entries())
        names << e.name;
    names.sort();
    EXPECT_EQ(names, (QStringList{"data/old/a.txt", "data/old/sub/b.txt"}));
    EXPECT_EQ(reader.comment(), "folder clean");
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Zipped up 2 files"});
    EXPECT_EQ(total("NZip"), 2);
}

TEST_F(DelDirWindowTest, ZipAndDeleteRemovesTheFolder)
{
    makeTree(4);
    auto w = open("C:\\tree");
    w->btZip->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(present(c("tree")));
    EXPECT_TRUE(present(drives.posix(u'D') + "/zips/Drive-C-FolderClean06Sep990533.zip"));
}

TEST_F(DelDirWindowTest, CancellingTheZipOptionsCreatesNothing)
{
    makeTree();
    zipOptionsAnswer.reset();
    auto w = open("C:\\tree");
    w->btZip->click();
    EXPECT_EQ(zipOptionsShown, 1);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(QDir(drives.posix(u'D') + "/zips").isEmpty());
    EXPECT_EQ(filesBelow(c("tree")), 10);
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(DelDirWindowTest, CancelWhenIdleCloses)
{
    auto w = open("C:\\tree");
    w->BitBtn3->click();
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(DelDirWindowTest, DecliningTheSafeHarborQuestionKeepsTheWindowOpen)
{
    makeTree();
    harbor.GetSearchPath({QStringList{"C:\\TREE\\ODD"}, QString(), {}});
    prompter.queue(Answer::No);
    auto w = open("C:\\tree");
    EXPECT_EQ(w->lblTop->text(), "Folder to clean: ");  // the folder itself is not protected
    w->btDelete->click();
    EXPECT_EQ(prompter.texts(Kind::Confirm).size(), 1);
    EXPECT_TRUE(prompter.texts(Kind::Confirm).first().startsWith("Warning: the folder or a sub-folder"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(filesBelow(c("tree")), 10);
}

TEST_F(DelDirWindowTest, CancelDuringTheWalkStopsItAndClosesWithCancel)
{
    makeTree();
    prompter.queue(Answer::Yes);  // "Really abort?"
    auto w = open("C:\\tree");
    int pumps = 0;
    bool buttonsOffWhileRunning = true;
    w->pumpObserver = [&] {
        buttonsOffWhileRunning = buttonsOffWhileRunning && !w->btDelete->isEnabled() && !w->btZip->isEnabled()
                                 && !w->btRecycle->isEnabled() && w->BitBtn3->isEnabled();
        if (++pumps == 4)
            w->BitBtn3->click();
    };
    w->btDelete->click();
    EXPECT_TRUE(buttonsOffWhileRunning);
    EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList{kAbortText});
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w->lastResult().stopped);
    EXPECT_GT(filesBelow(c("tree")), 0);
    EXPECT_EQ(total("Ndelete"), w->lastResult().removed > 0 ? w->lastResult().removed : -1);
}

TEST_F(DelDirWindowTest, CancelDuringTheWalkAnsweredNoGoesOn)
{
    makeTree();
    prompter.queue(Answer::No);
    auto w = open("C:\\tree");
    int pumps = 0;
    w->pumpObserver = [&] {
        if (++pumps == 4)
            w->BitBtn3->click();
    };
    w->btDelete->click();
    EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList{kAbortText});
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(present(c("tree")));
}

TEST_F(DelDirWindowTest, EscapeDuringTheWalkAsksToStopInstead)
{
    makeTree();
    prompter.queue(Answer::Yes);
    auto w = open("C:\\tree");
    int pumps = 0;
    bool stillShown = false;
    w->pumpObserver = [&] {
        if (++pumps == 3) {
            w->reject();  // Esc
            w->close();   // the close box: asks nothing more once stopping
            stillShown = w->isVisible();
        }
    };
    w->btDelete->click();
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList{kAbortText});
    EXPECT_EQ(w->result(), QDialog::Rejected);
}

TEST_F(DelDirWindowTest, ALinkedFolderIsRefusedAndTheWindowStays)
{
    drives.writeFile('C', "real/keep.txt");
    ASSERT_EQ(::symlink(QFile::encodeName(c("real")).constData(), QFile::encodeName(c("alias")).constData()), 0);
    auto w = open("C:\\alias");
    w->btDelete->click();
    EXPECT_EQ(prompter.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(present(c("real/keep.txt")));
}

TEST_F(DelDirWindowTest, ACallerShowsItModallyAndReadsTheResult)
{
    makeTree(3);
    prompter.queue(Answer::Yes);
    finders_test::whenModal<TfrmDelDirectory>([](TfrmDelDirectory& w) { w.btRecycle->click(); });
    bool recycled = false;
    const int result = comp::runModal<TfrmDelDirectory>(nullptr, [&](TfrmDelDirectory& w) {
        w.lblDirectory->setText("C:\\tree");
        QObject::connect(&w, &QDialog::finished, [&] { recycled = w.RecycleChosen; });
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(recycled);
    EXPECT_FALSE(present(c("tree")));
}

TEST_F(DelDirWindowTest, ZipTakesTheArchiveFolderAndCommentFromTheSettings)
{
    drives.writeFile('C', "tree/a.txt", "alpha");
    core::SettingsStore::writeString("ZipFile", "Path", "D:\\zips");
    core::SettingsStore::writeString("ZipFile", "Comment", "from the settings");
    auto w = std::make_unique<TfrmDelDirectory>();
    w->lblDirectory->setText("C:\\tree");
    w->show();
    w->cbDelete->setChecked(false);
    // The zip options window shows the stored folder and comment; OK takes them.
    finders_test::whenModal<del::TfrmZipOptions>([](del::TfrmZipOptions& o) { o.btOK->click(); });
    w->btZip->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    const QStringList archives = QDir(drives.posix(u'D') + "/zips").entryList(QDir::Files);
    ASSERT_EQ(archives.size(), 1);
    EXPECT_TRUE(archives.first().startsWith("Drive-C-FolderClean"));
    comp::ZipReader reader;
    ASSERT_TRUE(reader.openPosix(QFile::encodeName(drives.posix(u'D') + "/zips/" + archives.first())));
    EXPECT_EQ(reader.comment(), "from the settings");
    EXPECT_TRUE(present(c("tree/a.txt")));
}

TEST_F(DelDirWindowTest, TheFolderIsTakenOnceWhenTheWindowIsShown)
{
    makeTree();
    drives.writeFile('C', "other/keep.txt", "keep");
    auto w = open("C:\\tree");
    EXPECT_EQ(w->folder(), "C:\\tree");
    // The label is for the eye: whatever it says later is not what goes.
    w->lblDirectory->setText("C:\\other");
    w->btDelete->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(present(c("tree")));
    EXPECT_TRUE(present(c("other/keep.txt")));
}

TEST_F(DelDirWindowTest, SetFolderSetsTheFolderAndItsLabel)
{
    makeTree(2);
    auto w = std::make_unique<TfrmDelDirectory>();
    w->setFolder("C:\\tree");
    EXPECT_EQ(w->lblDirectory->text(), "C:\\tree");
    EXPECT_EQ(w->folder(), "C:\\tree");
    w->show();
    EXPECT_EQ(w->folder(), "C:\\tree");
    w->btDelete->click();
    EXPECT_FALSE(present(c("tree")));
}

TEST_F(DelDirWindowTest, DecliningTheSafeHarborQuestionLeavesNothingChosen)
{
    makeTree();
    harbor.GetSearchPath({QStringList{"C:\\TREE\\ODD"}, QString(), {}});
    prompter.queue(Answer::Yes);  // the trash question
    prompter.queue(Answer::No);   // the Safe Harbor question
    auto w = open("C:\\tree");
    w->btRecycle->click();
    EXPECT_EQ(prompter.texts(Kind::Confirm).size(), 2);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->RecycleChosen) << "nothing went to the trash";
    EXPECT_EQ(filesBelow(c("tree")), 10);

    prompter.queue(Answer::No);  // the Safe Harbor question again, now for the zip
    w->btZip->click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->ZipChosen) << "nothing was zipped";
    EXPECT_EQ(filesBelow(c("tree")), 10);
}
