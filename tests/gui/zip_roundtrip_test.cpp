// From the deletion panel to the archive and back: files zipped away with
// "&Archive files into a zip file" come back to their places, byte for
// byte, through the restore window.
#include "core/settings.h"
#include "delete/deletionlog.h"
#include "delete/frmreallydelete.h"
#include "delete/frmzipoptions.h"
#include "restore_fixture.h"

#include <QLineEdit>
#include <QRandomGenerator>

namespace restoretest {
namespace {

class ZipRoundTripTest : public RestoreWindowTest {};

TEST_F(ZipRoundTripTest, ZippedFilesComeBackToTheirPlacesUnchanged)
{
    QByteArray noise(300 * 1024, '\0');
    QRandomGenerator rng(7);
    for (char& b : noise)
        b = char(rng.bounded(256));
    const QMap<QString, QByteArray> files{
        {"docs/report.txt", QByteArray("line of text\n").repeated(5000)},  // deflated
        {"docs/deep/er/noise.bin", noise},                              // stored: deflate cannot shrink it
        {"docs/empty.dat", QByteArray()},
        {"Übersicht & <Notizen>.txt", "names as the file system has them"},
    };
    QStringList paths;
    for (auto it = files.begin(); it != files.end(); ++it) {
        drives.writeFile('C', it.key(), it.value());
        paths << "C:\\" + QString(it.key()).replace('/', '\\');
    }
    core::SettingsStore::writeString("ZipFile", "Path", "C:\\zips");
    del::DeletionLog log{drives.root() + "/grdelete.txt"};

    {
        del::TfrmReallyDelete panel;
        panel.setLog(log);
        panel.setFiles(paths);
        panel.ArchiveTag = "Duplicates";
        panel.show();
        finders_test::whenModal<del::TfrmZipOptions>([](del::TfrmZipOptions& w) {
            w.Edit2->setText("round trip");
            w.btOK->click();
        });
        panel.btZip->click();
        EXPECT_EQ(panel.result(), QDialog::Accepted);
    }
    for (auto it = files.begin(); it != files.end(); ++it)
        EXPECT_FALSE(QFileInfo::exists(c(it.key()))) << qPrintable(it.key());
    const QStringList zips = QDir(c("zips")).entryList({"Drive-C-Duplicates*.zip"});
    ASSERT_EQ(zips.size(), 1);
    prompter.clear();

    TfrmUnZipIt w;
    w.ZipFolder = "C:\\zips";
    w.show();
    select(w, zips.first());
    extractInto(w, "C:\\");
    EXPECT_TRUE(prompter.texts(Kind::Confirm).isEmpty());
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Files were unzipped"});
    for (auto it = files.begin(); it != files.end(); ++it)
        EXPECT_EQ(restore_test::ReadBytes(c(it.key())), it.value()) << qPrintable(it.key());
}

}  // namespace
}  // namespace restoretest
