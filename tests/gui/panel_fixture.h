#pragma once
// The deletion panel on temporary drives: a Safe Harbor that protects
// C:\BIN (search path), C:\KEEP (folder list) and C:\usr (system tree), a
// deletion log of its own, and the scripted prompter.

#include "components/standbyprogress.h"
#include "core/safeharbor.h"
#include "core/scriptedprompter.h"
#include "core/settings.h"
#include "delete/deletionlog.h"
#include "delete/frmreallydelete.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

namespace panel_test {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        core::setPrompter(&prompter);
        harbor.GetSearchPath({QStringList{"C:\\KEEP"}, "C:\\BIN", {"C:\\usr\\*.*"}});
    }
    void TearDown() override { core::setPrompter(nullptr); }

    // A file of size bytes at the drive path C:\<rel>; answers the path.
    QString file(const QString& rel, int size = 10)
    {
        drives.writeFile('C', QString(rel).replace('\\', '/'), QByteArray(size, 'x'));
        return "C:\\" + rel;
    }
    bool exists(const QString& drivePath) const { return QFileInfo::exists(drives.posix(drivePath)); }

    std::unique_ptr<del::TfrmReallyDelete> makePanel(const QStringList& files, double savings = 0)
    {
        auto w = std::make_unique<del::TfrmReallyDelete>();
        w->setSafeHarbor(harbor);
        w->setLog(log);
        w->setFiles(files);
        w->PotentialSavings = savings;
        w->ArchiveTag = "Duplicates";
        return w;
    }

    static void selectAll(QListWidget* list)
    {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setSelected(true);
    }
    // A picture of the panel when TROVIK_SNAPSHOT_DIR names a folder, for a
    // look by eye.
    static void snapshot(QWidget& w, const QString& name)
    {
        const QString dir = qEnvironmentVariable("TROVIK_SNAPSHOT_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name + ".png")));
        }
    }
    static QString total(const char* name) { return core::SettingsStore::readString("Trovik", name, "<absent>"); }
    QStringList infos() const { return prompter.texts(core::ScriptedPrompter::Kind::Info); }
    QStringList errors() const { return prompter.texts(core::ScriptedPrompter::Kind::Error); }
    QStringList questions() const { return prompter.texts(core::ScriptedPrompter::Kind::Confirm); }

    testing_support::TempDrives drives{"C"};
    core::ScriptedPrompter prompter;
    core::SafeHarbor harbor;
    del::DeletionLog log{drives.root() + "/grdelete.txt"};
};

}  // namespace panel_test
