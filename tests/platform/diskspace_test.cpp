// Disk space and drive readiness.
#include "platform/drives.h"
#include "platform/fileops.h"
#include "platform/fileops_p.h"
#include "support/tempdrives.h"

#include <QFile>
#include "util.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <sys/statvfs.h>
#include <thread>

using namespace plat;
using testing_support::TempDrives;

TEST(DiskSpace, PlausibleNumbersForTempDrive)
{
    TempDrives t;
    const auto space = diskSpace("C:\\some\\file.txt");
    ASSERT_TRUE(space.has_value());
    struct statvfs sv;
    ASSERT_EQ(::statvfs(QFile::encodeName(t.posix(u'C')).constData(), &sv), 0);
    EXPECT_GT(space->totalBytes, 0u);
    EXPECT_LE(space->freeBytes, space->totalBytes);
    EXPECT_EQ(space->clusterSize, quint64(sv.f_frsize));
    EXPECT_EQ(space->totalBytes, quint64(sv.f_blocks) * sv.f_frsize);
    EXPECT_GT(space->clusterSize, 0u);
    EXPECT_EQ(space->clusterSize & (space->clusterSize - 1), 0u);  // a power of two
    EXPECT_TRUE(driveReady(u'C'));
    EXPECT_TRUE(driveReady(u'd'));
}

TEST(DiskSpace, UnknownDriveOrMissingRoot)
{
    TempDrives t;
    EXPECT_FALSE(diskSpace("Q:\\").has_value());
    EXPECT_FALSE(driveReady(u'Q'));
    EXPECT_FALSE(diskSpace("not a path").has_value());
    qputenv("TROVIK_DRIVES", "C=" + QFile::encodeName(t.root()) + "/does-not-exist");
    reloadDrives();
    EXPECT_FALSE(driveReady(u'C'));
}

namespace {

// A statvfs that does not come back until the test lets it.
std::mutex g_gate;
std::condition_variable g_cv;
bool g_open = false;
std::atomic<int> g_calls{0};
std::atomic<int> g_returned{0};

int stuckStatvfs(const char* path, struct statvfs* out)
{
    ++g_calls;
    std::unique_lock lock(g_gate);
    g_cv.wait(lock, [] { return g_open; });
    const int rc = ::statvfs(path, out);
    ++g_returned;
    return rc;
}

}  // namespace

TEST(DiskSpace, HungMountIsNotAskedAgainUntilItAnswers)
{
    TempDrives t;
    detail::setStatvfsForTest(&stuckStatvfs);
    EXPECT_FALSE(diskSpace("C:\\").has_value());  // gives up after its limit
    EXPECT_EQ(g_calls.load(), 1);
    // While the first question hangs, no second thread is started.
    EXPECT_FALSE(diskSpace("C:\\x").has_value());
    EXPECT_FALSE(driveReady(u'C'));
    EXPECT_EQ(g_calls.load(), 1);
    {
        std::lock_guard lock(g_gate);
        g_open = true;
    }
    g_cv.notify_all();
    // Wait for the worker to come back (it clears the mark as it returns).
    for (int i = 0; i < 500 && g_returned.load() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(g_returned.load(), 1);
    std::optional<DiskSpace> again;
    for (int i = 0; i < 500 && !again; ++i) {
        again = diskSpace("C:\\");
        if (!again)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    detail::setStatvfsForTest(nullptr);
    EXPECT_TRUE(again.has_value());
}
