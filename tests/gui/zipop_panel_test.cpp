// The deletion panel's zip operation end to end: the options window
// answered as a user would, archives per drive, the final message, Cancel
// of the options, abort during the run, files that stay, and the totals.
#include "components/zip/zipreader.h"
#include "core/safeharbor.h"
#include "core/scriptedprompter.h"
#include "core/settings.h"
#include "delete/deletionlog.h"
#include "delete/frmreallydelete.h"
#include "delete/frmzipoptions.h"
#include "gui/finders_testutil.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

using del::TfrmReallyDelete;
using del::TfrmZipOptions;

namespace {

class PanelZipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        core::setPrompter(&prompter);
        harbor.GetSearchPath({QStringList{"C:\\KEEP"}, "C:\\BIN", {}});
        drives.makeFolder('D', "zips");
        core::SettingsStore::writeString("ZipFile", "Path", "D:\\zips");
    }
    void TearDown() override { core::setPrompter(nullptr); }

    QString file(QChar drive, const QString& rel, int size)
    {
        drives.writeFile(drive, rel, QByteArray(size, 'z'));
        return QString(drive) + ":\\" + QString(rel).replace('/', '\\');
    }
    bool exists(const QString& drivePath) const { return QFileInfo::exists(drives.posix(drivePath)); }

    std::unique_ptr<TfrmReallyDelete> makePanel(const QStringList& files, double savings)
    {
        auto w = std::make_unique<TfrmReallyDelete>();
        w->setSafeHarbor(harbor);
        w->setLog(log);
        w->setFiles(files);
        w->PotentialSavings = savings;
        w->ArchiveTag = "Duplicates";
        return w;
    }
    // The options window, answered with OK and a comment.
    static void answerOptions(const QString& comment = "cleaned up")
    {
        finders_test::whenModal<TfrmZipOptions>([comment](TfrmZipOptions& w) {
            w.Edit2->setText(comment);
            w.btOK->click();
        });
    }
    QStringList zipsIn(QChar drive) const { return QDir(drives.posix(drive) + "/zips").entryList({"*.zip"}); }
    QStringList entryNames(const QString& posixArchive) const
    {
        comp::ZipReader r;
        QStringList out;
        if (r.openPosix(QFile::encodeName(posixArchive)))
            for (const auto& e : r.entries())
                out << e.name;
        return out;
    }
    static QString commentOf(const QString& posixArchive)
    {
        comp::ZipReader r;
        return r.openPosix(QFile::encodeName(posixArchive)) ? r.comment() : QString("<unreadable>");
    }
    static QString total(const char* name) { return core::SettingsStore::readString("Trovik", name, "<absent>"); }
    QStringList infos() const { return prompter.texts(core::ScriptedPrompter::Kind::Info); }
    QStringList errors() const { return prompter.texts(core::ScriptedPrompter::Kind::Error); }

    testing_support::TempDrives drives{"CD"};
    core::ScriptedPrompter prompter;
    core::SafeHarbor harbor;
    del::DeletionLog log{drives.root() + "/grdelete.txt"};
};

TEST_F(PanelZipTest, ZipsEveryDriveIntoItsArchiveAndClosesWithOk)
{
    const QStringList files = {file('C', "old/a.txt", 100), file('C', "old/b.txt", 200), file('D', "tmp/c.txt", 300),
                               file('C', "KEEP/k.txt", 5)};
    auto w = makePanel(files, 605);
    w->show();
    EXPECT_TRUE(w->btZip->isEnabled());
    int gaugeMax = 0;
    QObject::connect(w->Gauge1, &QProgressBar::valueChanged, [&gaugeMax](int v) { gaugeMax = std::max(gaugeMax, v); });
    answerOptions();
    w->btZip->click();

    EXPECT_TRUE(errors().isEmpty()) << errors().join('\n').toStdString();
    EXPECT_EQ(infos(), QStringList({"Files deleted and stored in archive zip files in the folder \"D:\\zips\""}));
    const QStringList zips = zipsIn('D');
    ASSERT_EQ(zips.size(), 2);
    EXPECT_TRUE(zips[0].startsWith("Drive-C-Duplicates"));
    EXPECT_TRUE(zips[1].startsWith("Drive-D-Duplicates"));
    EXPECT_EQ(zips[0].mid(8), zips[1].mid(8));  // one time text
    const QString dir = drives.posix(QChar('D')) + "/zips/";
    EXPECT_EQ(entryNames(dir + zips[0]), QStringList({"old/a.txt", "old/b.txt"}));
    EXPECT_EQ(entryNames(dir + zips[1]), QStringList({"tmp/c.txt"}));
    for (const QString& z : zips)
        EXPECT_EQ(commentOf(dir + z), "cleaned up") << z.toStdString();
    EXPECT_EQ(gaugeMax, 100);  // each file's bar went to the end
    if (const QString unzip = QStandardPaths::findExecutable("unzip"); !unzip.isEmpty()) {
        for (const QString& z : zips)
            EXPECT_EQ(QProcess::execute(unzip, {"-tqq", dir + z}), 0) << z.toStdString();
    }
    EXPECT_FALSE(exists(files[0]));
    EXPECT_FALSE(exists(files[1]));
    EXPECT_FALSE(exists(files[2]));
    EXPECT_TRUE(exists(files[3]));  // on the Safe Harbor list

    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->deletionList(), QStringList());
    EXPECT_FALSE(w->bar->isVisible());
    EXPECT_FALSE(w->Gauge1->isVisible());
    EXPECT_TRUE(w->pnlButtons->isVisibleTo(w.get()));
    // Only what was zipped and deleted is counted, not the panel's figure.
    EXPECT_EQ(total("NZip"), "3");
    EXPECT_EQ(total("SizeZip"), "600");
    EXPECT_EQ(log.cell(5, 1), "3");
    EXPECT_EQ(log.cell(6, 1), "600");
    EXPECT_EQ(core::SettingsStore::readString("ZipFile", "Comment"), "cleaned up");
}

TEST_F(PanelZipTest, CancelOfTheOptionsLeavesThePanelAsItWas)
{
    const QString a = file('C', "old/a.txt", 10);
    auto w = makePanel({a}, 10);
    w->show();
    finders_test::whenModal<TfrmZipOptions>([](TfrmZipOptions& o) {
        o.Edit2->setText("typed, then cancelled");
        o.btCancel->click();
    });
    w->btZip->click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->deletionList(), QStringList({a}));
    EXPECT_TRUE(exists(a));
    EXPECT_TRUE(zipsIn('D').isEmpty());
    EXPECT_TRUE(infos().isEmpty());
    EXPECT_EQ(total("NZip"), "<absent>");
    EXPECT_TRUE(w->pnlButtons->isVisible());
    // The window stored what it showed all the same.
    EXPECT_EQ(core::SettingsStore::readString("ZipFile", "Comment"), "typed, then cancelled");
    w->reject();
    EXPECT_EQ(w->result(), QDialog::Rejected);
}

TEST_F(PanelZipTest, AbortStopsTheRunWithoutTheMessageAndStillClosesWithOk)
{
    QStringList files;
    for (int i = 0; i < 6; ++i)
        files << file('C', QString("old/%1.txt").arg(i), 50);
    auto w = makePanel(files, 300);
    w->EventIntervalMs = 0;  // events run between any two steps
    w->show();
    answerOptions();
    // While the third file is under way the user presses Cancel and
    // confirms; the panel asks while the run goes on.
    QTimer watch;
    bool clicked = false;
    bool closeEnabled = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!clicked && w->lblName->text() == files[2]) {
            clicked = true;
            closeEnabled = w->btClose->isEnabled();
            prompter.queue(core::Answer::Yes);
            w->btClose->click();
        }
    });
    watch.start(0);
    w->btZip->click();
    watch.stop();

    ASSERT_TRUE(clicked);
    EXPECT_TRUE(closeEnabled);
    EXPECT_TRUE(w->AbortRequested);
    EXPECT_EQ(prompter.texts(core::ScriptedPrompter::Kind::Confirm),
              QStringList({"Really abort?  Folders may be partially deleted!"}));
    EXPECT_TRUE(infos().isEmpty());
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(exists(files[0]));
    EXPECT_FALSE(exists(files[1]));
    for (int i = 2; i < 6; ++i)
        EXPECT_TRUE(exists(files[i])) << i;
    EXPECT_EQ(total("NZip"), "2");
    EXPECT_EQ(total("SizeZip"), "100");
}

TEST_F(PanelZipTest, AnEntryAlreadyStoredIsReportedAndKept)
{
    const QString a = file('C', "old/a.txt", 10);
    auto first = makePanel({a}, 10);
    first->show();
    answerOptions();
    first->btZip->click();
    ASSERT_FALSE(exists(a));

    // Again within the same minute, same tag: the same archive, which
    // holds old/a.txt already.
    drives.writeFile('C', "old/a.txt", "newer contents");
    const QString b = file('C', "old/b.txt", 20);
    auto again = makePanel({a, b}, 30);
    again->show();
    answerOptions();
    prompter.clear();
    again->btZip->click();
    const QStringList zips = zipsIn('D');
    if (zips.size() != 1)
        GTEST_SKIP() << "the minute changed between the two runs";
    EXPECT_EQ(errors(), QStringList({"Couldn't zip up file - " + a}));
    EXPECT_TRUE(exists(a));
    EXPECT_FALSE(exists(b));
    EXPECT_EQ(again->lastZipResult().zippedFiles, 1);
    EXPECT_EQ(log.cell(5, 2), "1");
    EXPECT_EQ(log.cell(6, 2), "20");
}

TEST_F(PanelZipTest, AnArchiveThatCannotBeReadKeepsThePanelOpen)
{
    const QString a = file('C', "old/a.txt", 10);
    // Every name this minute or the next could give is taken by a non-zip.
    for (int m = 0; m < 3; ++m) {
        const QDateTime t = QDateTime::currentDateTime().addSecs(60 * m);
        drives.writeFile('D', "zips/Drive-C-Duplicates" +
                                  QString("%1%2%3%4%5")
                                      .arg(t.date().day(), 2, 10, QChar('0'))
                                      .arg(QLocale().monthName(t.date().month(), QLocale::ShortFormat))
                                      .arg(t.date().year() % 100, 2, 10, QChar('0'))
                                      .arg(t.time().hour(), 2, 10, QChar('0'))
                                      .arg(t.time().minute(), 2, 10, QChar('0')) +
                                  ".zip",
                         "not a zip");
    }
    auto w = makePanel({a}, 10);
    w->show();
    answerOptions();
    w->btZip->click();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().startsWith("Couldn't open the archive D:\\zips\\Drive-C-Duplicates"));
    EXPECT_TRUE(exists(a));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->deletionList(), QStringList({a}));
    EXPECT_EQ(total("NZip"), "<absent>");
    w->reject();
}

TEST_F(PanelZipTest, MovingAFileBackStopsTheAllProtectedWarning)
{
    auto w = makePanel({file('C', "KEEP/k.txt", 5)}, 5);
    w->show();
    auto* warning = w->findChild<QTimer*>("tmWarning");
    ASSERT_NE(warning, nullptr);
    ASSERT_TRUE(warning->isActive());  // every file is protected
    w->lb2->setCurrentRow(0);
    w->lb2->item(0)->setSelected(true);
    w->btMoveLeft->click();
    ASSERT_EQ(w->lb1->count(), 1);
    // The note would now be wrong, and it must not pop up inside a run.
    EXPECT_FALSE(warning->isActive());
    w->reject();
}

TEST_F(PanelZipTest, ARunStopsThePendingWarning)
{
    const QString a = file('C', "old/a.txt", 10);
    auto w = makePanel({a}, 10);
    w->show();
    auto* warning = w->findChild<QTimer*>("tmWarning");
    ASSERT_NE(warning, nullptr);
    warning->start();  // as if the panel had opened with every file protected
    bool activeDuringRun = true;
    finders_test::whenModal<TfrmZipOptions>([&](TfrmZipOptions& o) {
        activeDuringRun = warning->isActive();
        o.btOK->click();
    });
    w->btZip->click();
    EXPECT_FALSE(activeDuringRun);
    EXPECT_TRUE(infos().size() == 1 && infos().first().startsWith("Files deleted and stored"))
        << infos().join('\n').toStdString();
    EXPECT_FALSE(exists(a));
}

TEST_F(PanelZipTest, NoFilesOnThePanelAsksForNothing)
{
    auto w = makePanel({file('C', "KEEP/k.txt", 5)}, 5);
    w->show();
    w->btZip->click();
    EXPECT_EQ(infos(), QStringList({del::kNoFilesMessage}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    w->reject();
}

}  // namespace
