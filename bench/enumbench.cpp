// Walks a drive path with the walk of the finders and statistics (hidden
// and system entries included, one WalkContext), counting files and summing
// their sizes. Used by enum_vs_find.sh to compare against find.
//
//   enumbench "C:\"            (drives from TROVIK_DRIVES or the mount table)
#include "platform/folderwalk.h"

#include <QString>

#include <cstdio>

namespace {

struct Totals : plat::WalkVisitor {
    quint64 files = 0;
    quint64 folders = 0;
    quint64 bytes = 0;
    quint64 subfolders = 0;  // listed; those not walked were refused (other mount, seen, unreadable)

    void leaveFolder(const plat::WalkFolder& folder) override
    {
        ++folders;
        for (const plat::FindData& e : folder.entries()) {
            if (e.attributes & plat::faDirectory) {
                ++subfolders;
            } else {
                ++files;
                bytes += e.size();
            }
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DRIVE-PATH\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    plat::WalkOptions options;
    options.hidden = true;
    options.system = true;
    plat::TreeError error;
    auto folder = plat::WalkFolder::openRoot(root, options, error);
    if (!folder) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], qPrintable(plat::treeErrorText(error)));
        return 1;
    }
    plat::WalkContext context;
    Totals totals;
    plat::walkTree(*folder, context, totals);
    std::printf("files %llu folders %llu bytes %llu refused %llu\n", (unsigned long long)totals.files,
                (unsigned long long)totals.folders, (unsigned long long)totals.bytes,
                (unsigned long long)(totals.subfolders + 1 - totals.folders));
    return 0;
}
