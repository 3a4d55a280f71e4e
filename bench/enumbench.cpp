// Walks a drive path recursively with FolderEnum the way the finders and
// statistics do (faAnyFile, one WalkContext), counting files and summing
// their sizes. Used by enum_vs_find.sh to compare against find.
//
//   enumbench "C:\"            (drives from TROVIK_DRIVES or the mount table)
#include "platform/findfile.h"

#include <QString>

#include <cstdio>

namespace {

struct Totals {
    quint64 files = 0;
    quint64 folders = 0;
    quint64 bytes = 0;
    quint64 refused = 0;  // folders not entered (other file system, seen, unreadable)
};

void walk(const QString& folder, plat::WalkContext& context, Totals& totals)
{
    plat::FolderEnum e;
    plat::FindData fd;
    QString base = folder;
    if (!base.endsWith(u'\\'))
        base += u'\\';
    if (!e.findFirst(base + u'*', plat::faAnyFile, fd, &context)) {
        if (e.lastError() != ENOENT)
            ++totals.refused;
        return;
    }
    ++totals.folders;
    do {
        if (fd.attributes & plat::faDirectory) {
            if (fd.name == u"." || fd.name == u"..")
                continue;
            walk(base + fd.name, context, totals);
        } else {
            ++totals.files;
            totals.bytes += fd.size();
        }
    } while (e.findNext(fd));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DRIVE-PATH\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    plat::WalkContext context;
    Totals totals;
    walk(root, context, totals);
    std::printf("files %llu folders %llu bytes %llu refused %llu\n", (unsigned long long)totals.files,
                (unsigned long long)totals.folders, (unsigned long long)totals.bytes,
                (unsigned long long)totals.refused);
    return 0;
}
