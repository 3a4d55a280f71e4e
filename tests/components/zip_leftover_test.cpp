// A restore killed half way leaves no file behind: the data goes into a file
// without a name until it is complete; where named part files must serve,
// the next restore into the folder removes the ones nobody holds.
#include "components/zip/zipreader.h"
#include "platform/durablefile.h"
#include "zip_testutil.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace comp;
using namespace ziptest;

TEST(ZipLeftovers, AKilledRestoreLeavesNoFileBehind)
{
    struct Case {
        const char* label;
        bool named;
        int partsAfterKill;
    };
    const std::vector<Case> cases = {{"file without a name", false, 0}, {"named part file", true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QTemporaryDir tmp;
        const QString base = tmp.path() + "/base";
        QDir().mkpath(base + "/big");
        if (!c.named) {
            plat::FolderHandle folder;
            plat::DurableFile probe;
            ASSERT_TRUE(folder.open(posix(base)));
            if (!probe.openAnonymousAt(folder)) {
                std::printf("[   NOTE   ] %s: not supported here (%s)\n", c.label, qPrintable(probe.errorText()));
                continue;
            }
        }
        writeAll(tmp.path() + "/big.zip", buildArchive({{"big/data.bin", textBytes(4 << 20)}}));
        QProcess child;
        QStringList args{tmp.path() + "/big.zip", base};
        if (c.named)
            args << "named";
        child.start(ZIP_RESTORE_CHILD, args);
        ASSERT_TRUE(child.waitForFinished(60000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "exit code " << child.exitCode();

        const QStringList left = listTree(base + "/big");
        ASSERT_EQ(left.size(), c.partsAfterKill) << left.join(' ').toStdString();
        for (const QString& name : left)
            EXPECT_TRUE(name.startsWith(".trovik-") && name.endsWith(".part")) << name.toStdString();

        // A part file being written by someone else right now stays.
        plat::FolderHandle big;
        ASSERT_TRUE(big.open(posix(base + "/big")));
        plat::DurableFile held;
        ASSERT_TRUE(held.openAt(big, ".trovik-held.part", plat::DurableFile::Mode::CreateNew));
        ASSERT_EQ(held.lockExclusive(), plat::DurableFile::LockResult::Locked);

        detail::allowAnonymousTempFiles(!c.named);
        writeAll(tmp.path() + "/small.zip", buildArchive({{"big/small.txt", "small"}}));
        ZipReader r;
        ASSERT_TRUE(r.openPosix(posix(tmp.path() + "/small.zip")));
        const auto reps = r.extractAllPosix(posix(base));
        detail::allowAnonymousTempFiles(true);
        ASSERT_EQ(reps.size(), 1u);
        EXPECT_EQ(reps[0].result, ZipExtractResult::Extracted);
        EXPECT_EQ(listTree(base + "/big"), QStringList({".trovik-held.part", "small.txt"}));
    }
}
