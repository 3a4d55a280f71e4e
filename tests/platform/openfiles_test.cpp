// Files that processes hold open or mapped.
#include "platform/findfile.h"
#include "platform/openfiles.h"
#include "support/tempdrives.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace plat;
using testing_support::TempDrives;

namespace {

enum class Hold { ChildDescriptor, OwnMappingOnly, OpenedAndClosed, Never };

}  // namespace

TEST(OpenFiles, HeldWhileOpenOrMappedAndOnlyThen)
{
    struct Case {
        const char* name;
        Hold hold;
        bool held;
    } const cases[] = {
        {"child.tmp", Hold::ChildDescriptor, true},
        {"mapped.tmp", Hold::OwnMappingOnly, true},
        {"closed.tmp", Hold::OpenedAndClosed, false},
        {"idle.tmp", Hold::Never, false},
    };
    const QString sleepExe = QStandardPaths::findExecutable("sleep");
    ASSERT_FALSE(sleepExe.isEmpty());
    TempDrives t("C");
    QProcess child;
    void* mapping = MAP_FAILED;
    for (const Case& c : cases) {
        const QString posix = t.writeFile('C', c.name, "held contents");
        const QByteArray raw = QFile::encodeName(posix);
        if (c.hold == Hold::ChildDescriptor) {
            child.setStandardInputFile(posix);
            child.start(sleepExe, {"60"});
            ASSERT_TRUE(child.waitForStarted());
        } else if (c.hold == Hold::OwnMappingOnly) {
            const int fd = ::open(raw.constData(), O_RDONLY);
            ASSERT_GE(fd, 0);
            mapping = ::mmap(nullptr, 13, PROT_READ, MAP_SHARED, fd, 0);
            ::close(fd);
            ASSERT_NE(mapping, MAP_FAILED);
        } else if (c.hold == Hold::OpenedAndClosed) {
            ::close(::open(raw.constData(), O_RDONLY));
        }
    }
    const OpenFiles open = OpenFiles::read();
    for (const Case& c : cases) {
        FindData f;
        ASSERT_TRUE(statPath(QStringLiteral("C:\\") + c.name, f));
        EXPECT_EQ(open.holds(f), c.held) << c.name;
    }
    child.kill();
    child.waitForFinished();
    ::munmap(mapping, 13);

    // Once the child is gone its file is no longer held.
    FindData f;
    ASSERT_TRUE(statPath("C:\\child.tmp", f));
    EXPECT_FALSE(OpenFiles::read().holds(f));
    // A process folder that cannot be read gives nothing, not a failure.
    EXPECT_EQ(OpenFiles::read(t.root() + "/no-such-proc").count(), 0);
}
