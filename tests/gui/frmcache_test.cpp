// The internet cache window's wiring: the folder list and its buttons, the
// hand-over to the deletion panel, and its launcher button.
#include "app/frmmain.h"
#include "app/launcher.h"
#include "app/programwindows.h"
#include "core/settings.h"
#include "finders/cacheclear.h"
#include "finders/frmcache.h"
#include "finders_testutil.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

using core::Answer;
using Kind = core::ScriptedPrompter::Kind;
using finders::TfrmCache;

namespace {

class CacheWindowTest : public finders_test::WindowTest {
protected:
    static void snapshot(QWidget& w, const QString& name)
    {
        const QString dir = qEnvironmentVariable("TROVIK_SNAPSHOT_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name + ".png")));
        }
    }
};

}  // namespace

TEST_F(CacheWindowTest, FolderListButtonsAndStoreOnClose)
{
    core::SettingsStore::writeList(finders::kCacheSection, {"C:\\cache\\a", "C:\\cache\\b"});
    TfrmCache w;
    w.nDays->setValue(7);
    w.show();
    EXPECT_EQ(w.folders(), QStringList({"C:\\cache\\a", "C:\\cache\\b"}));
    EXPECT_EQ(w.nDays->value(), 0);
    EXPECT_TRUE(w.btClear->isDefault());

    w.btDel->click();
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{finders::kSelectCacheFolderMessage});
    w.ListBox1->setCurrentRow(0);
    prompter.queue(Answer::Cancel);
    w.btDel->click();
    prompter.queue(Answer::Ok);
    w.btDel->click();
    EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList(2, "Really delete C:\\cache\\a"));
    EXPECT_EQ(w.folders(), QStringList{"C:\\cache\\b"});

    // A folder may be added twice; "&Initialize" adds a browser folder once.
    prompter.queue(QString("C:\\cache\\b"));
    w.btAdd->click();
    drives.makeFolder('C', "home/.cache/chromium/Default/Cache");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(drives.posix('C') + "/home/.cache"));
    w.btInit->click();
    w.btInit->click();
    const QStringList expected = {"C:\\cache\\b", "C:\\cache\\b", "C:\\home\\.cache\\chromium\\Default\\Cache"};
    EXPECT_EQ(w.folders(), expected);
    EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
    EXPECT_EQ(core::SettingsStore::readList(finders::kCacheSection)->size(), 2) << "written only on closing";
    w.btClose->click();
    EXPECT_EQ(*core::SettingsStore::readList(finders::kCacheSection), expected);

    // Nothing to add to an empty list: the note says where to look.
    core::SettingsStore::writeList(finders::kCacheSection, {});
    qputenv("XDG_CACHE_HOME", QFile::encodeName(drives.posix('C') + "/nothing"));
    TfrmCache empty;
    empty.show();
    empty.btInit->click();
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{finders::kNoCacheFoldersMessage});
}

TEST_F(CacheWindowTest, ClearHandsTheFilesToThePanelAndStaysOpen)
{
    drives.writeFile('C', "Users/ann/cache/0A1B2C3D4E5F", "abc");
    drives.writeFile('C', "Users/ann/cache/.index", "defg");
    core::SettingsStore::writeList(finders::kCacheSection, {"C:\\Users\\ann\\cache"});
    TfrmCache w;
    QList<finders::CleanRequest> requests;
    w.setCleanPanel([&](QWidget* owner, const finders::CleanRequest& r) {
        EXPECT_EQ(owner, &w);
        requests << r;
        return int(QDialog::Accepted);
    });
    w.show();
    w.nDays->setValue(1);
    w.btClear->click();
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{finders::kNoCacheFilesMessage});
    EXPECT_TRUE(requests.isEmpty());

    w.nDays->setValue(0);
    w.btClear->click();
    ASSERT_EQ(requests.size(), 1);
    QStringList files = requests[0].files;
    files.sort();
    EXPECT_EQ(files, QStringList({"C:\\Users\\ann\\cache\\.index", "C:\\Users\\ann\\cache\\0A1B2C3D4E5F"}));
    EXPECT_EQ(requests[0].potentialSavings, 7.0);
    EXPECT_EQ(requests[0].archiveTag, "InternetCache");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.folders(), QStringList{"C:\\Users\\ann\\cache"});
}

TEST_F(CacheWindowTest, LauncherButtonOpensTheWindow)
{
    QFile harbor(drives.programHome() + "/folders.txt");
    ASSERT_TRUE(harbor.open(QIODevice::WriteOnly));
    harbor.write("C:\\KEEP\\\n");
    harbor.close();
    const QString longName = "C:\\home\\annabel.lee-fitzgerald\\.var\\app\\org.mozilla.firefox\\cache\\mozilla\\"
                             "firefox\\x8f3kq2zt.default-release-1712345678901\\cache2\\entries";
    core::SettingsStore::writeList(finders::kCacheSection,
                                   {"C:\\home\\ann\\.cache\\chromium\\Default\\Cache\\Cache_Data", longName,
                                    "D:\\browsers\\vivaldi\\Profile 12\\Cache\\Cache_Data"});
    app::Launcher state;
    app::TfrmMain main(state);
    app::registerProgramWindows(main);
    main.show();
    bool seen = false;
    finders_test::whenModal<TfrmCache>([&](TfrmCache& w) {
        seen = true;
        EXPECT_EQ(w.parentWidget(), &main);
        EXPECT_EQ(w.windowTitle(), "Internet Browser Cache Folders");
        EXPECT_EQ(w.folders().size(), 3);
        snapshot(w, "frmcache");
        w.btClose->click();
    });
    main.button("btClearCache")->click();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(main.findChildren<TfrmCache*>().isEmpty()) << "destroyed after closing";
}
