#pragma once
// What the restore window tests share: temporary drives C and D with an
// archive folder C:\zips, the scripted prompter, archives zipped away from
// C, and ways to drive the restore window and its destination dialog.

#include "finders_testutil.h"

#include "delete/folderlistbox.h"
#include "delete/frmunzipit.h"
#include "delete/frmzipdirectory.h"
#include "delete/restore_testutil.h"
#include "platform/drives.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

namespace restoretest {

using Kind = core::ScriptedPrompter::Kind;
using del::TfrmUnZipIt;
using del::TfrmZipDirectory;

class RestoreWindowTest : public finders_test::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        drives.makeFolder('C', "zips");
    }

    QString c(const QString& rel) const { return drives.posix('C') + "/" + rel; }

    // The files of the worked example, zipped into C:\zips\<name> and
    // deleted from their places.
    QMap<QString, QByteArray> zipAway(const QString& name, const QString& comment = "Cleaned on a Monday")
    {
        const QMap<QString, QByteArray> files{{"DOS/OLD.TXT", "old text\n"},
                                              {"DOS/SUB/Long file name.txt", "long\n"},
                                              {"ROOT.TXT", "root"}};
        QStringList sources;
        for (auto it = files.begin(); it != files.end(); ++it) {
            drives.writeFile('C', it.key(), it.value());
            sources << "C:\\" + QString(it.key()).replace('/', '\\');
        }
        EXPECT_TRUE(restore_test::WriteArchive("C:\\zips\\" + name, sources, comment));
        for (const QString& s : sources)
            EXPECT_TRUE(plat::deleteFile(s));
        return files;
    }

    static void select(TfrmUnZipIt& w, const QString& name)
    {
        const QList<QListWidgetItem*> items = w.FileListBox1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << qPrintable(name);
        w.FileListBox1->setCurrentItem(items.first());
    }

    // Presses "&Extract files from ZIP"; in the destination dialog, work
    // picks the folder and closes it (dialog pointer handed over).
    static void extract(TfrmUnZipIt& w, std::function<void(TfrmZipDirectory&)> work)
    {
        finders_test::whenModal<TfrmZipDirectory>(std::move(work));
        ASSERT_TRUE(w.btExtract->isEnabled());
        w.btExtract->click();
    }

    // Extracts into folder, pressing OK once (answers for the question are
    // queued by the caller).
    static void extractInto(TfrmUnZipIt& w, const QString& folder, QStringList* dirLabel = nullptr)
    {
        extract(w, [folder, dirLabel](TfrmZipDirectory& d) {
            if (dirLabel)
                *dirLabel << d.DirLabel->text();
            d.DLB->setDirectory(folder);
            d.btOK->click();
            if (d.isVisible())
                d.btCancel->click();
        });
    }

    // Lets the event loop run until the prompter has recorded something,
    // for at most 5 seconds.
    void waitForMessage()
    {
        for (int i = 0; i < 250 && prompter.records().isEmpty(); ++i)
            QTest::qWait(20);
    }

    // A picture of the window when TROVIK_SNAPSHOT_DIR is set, for a look.
    static void snapshot(QWidget& w, const QString& name)
    {
        const QString dir = qEnvironmentVariable("TROVIK_SNAPSHOT_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name + ".png")));
        }
    }

    static QStringList topLevel(QTreeWidget* t)
    {
        QStringList out;
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            out << t->topLevelItem(i)->text(0);
        return out;
    }
};

}  // namespace restoretest
