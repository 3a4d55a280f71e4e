// The environment in drive form.
#include "platform/drives.h"
#include "platform/environment.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "util.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace plat;
using testing_support::TempDrives;

namespace {

// Sets one variable for a test and restores it.
class EnvVar {
public:
    EnvVar(const char* name, const QByteArray& value) : name_(name)
    {
        had_ = qEnvironmentVariableIsSet(name);
        old_ = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvVar()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

}  // namespace

TEST(Environment, SearchPathInDriveForm)
{
    TempDrives t;
    const QByteArray c = QFile::encodeName(t.posix(u'C'));
    const QByteArray d = QFile::encodeName(t.posix(u'D'));
    EnvVar path("PATH", c + "/bin:/outside/any/drive::" + d + "/tools/:" + c + "/bad\\name");
    EXPECT_EQ(searchPathText(), "C:\\bin;D:\\tools");
}

TEST(Environment, SystemTreesThatExist)
{
    TempDrives t;
    EXPECT_TRUE(systemTrees().isEmpty());  // no temporary drive holds /usr
    qputenv("TROVIK_DRIVES", "C=/");
    reloadDrives();
    const QStringList trees = systemTrees();
    for (const char* p : {"/usr", "/etc", "/bin", "/lib", "/snap", "/lib32", "/opt"}) {
        struct stat st;
        const bool exists = ::lstat(p, &st) == 0;
        const QString drivePath = "C:" + QString::fromLatin1(p).replace('/', '\\');
        EXPECT_EQ(trees.contains(drivePath), exists) << p;
    }
    EXPECT_TRUE(trees.contains("C:\\var\\lib"));
    EXPECT_FALSE(trees.contains("C:\\var"));
}

TEST(Environment, ProgramFolder)
{
    TempDrives t;
    EXPECT_EQ(programFolderPosix(), t.programHome());
    const QString file = programFile("folders.txt");
    EXPECT_EQ(file, t.programHome() + "/folders.txt");
    {
        EnvVar home("TROVIK_HOME", QByteArray());
        EXPECT_EQ(programFolderPosix(), t.root() + "/home/.local/share/Halvane/Trovik");
        EXPECT_EQ(programFile("x.txt"), t.root() + "/home/.local/share/Halvane/Trovik/x.txt");
        EXPECT_TRUE(QFileInfo(t.root() + "/home/.local/share/Halvane/Trovik").isDir());
        EnvVar data("XDG_DATA_HOME", QByteArray());
        EXPECT_EQ(programFolderPosix(), t.root() + "/home/.local/share/Halvane/Trovik");
        EnvVar relative("XDG_DATA_HOME", "relative/ignored");
        EXPECT_EQ(programFolderPosix(), t.root() + "/home/.local/share/Halvane/Trovik");
    }
}

TEST(Environment, ConfigFile)
{
    TempDrives t;
    EXPECT_EQ(configFile("Trovik-3.0.ini"), t.configHome() + "/Halvane/Trovik-3.0.ini");
    EnvVar config("XDG_CONFIG_HOME", QByteArray());
    EXPECT_EQ(configFile("Trovik-3.0.ini"), t.root() + "/home/.config/Halvane/Trovik-3.0.ini");
}

TEST(Environment, HomeDrivePath)
{
    TempDrives t;
    EXPECT_EQ(homeDrivePath(), "C:\\");  // HOME lies outside every temporary drive
    const QString home = t.makeFolder('D', "home/ann");
    EnvVar h("HOME", QFile::encodeName(home));
    EXPECT_EQ(homeDrivePath(), "D:\\home\\ann");
}
