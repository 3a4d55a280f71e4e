#include "finders/filewalk.h"

#include "core/helpers.h"
#include "finders/scanscope.h"

#include <memory>

namespace finders {

namespace {

bool MatchesEveryName(const QString& wildcard)
{
    return wildcard == QLatin1String("*.*") || wildcard == QLatin1String("*");
}

}  // namespace

class FileWalk::Visitor : public plat::WalkVisitor {
public:
    explicit Visitor(const FileWalk& walk) : w_(walk), everyName_(MatchesEveryName(walk.options_.wildcard)) {}

    bool aborted() override { return w_.aborted && w_.aborted(); }
    void enterFolder(const plat::WalkFolder& folder) override
    {
        if (w_.status)
            w_.status(folder.path());
    }
    bool walkInto(const plat::FindData& entry) override
    {
        return w_.options_.hiddenFolders || !(entry.attributes & plat::faHidden);
    }
    void pump() override
    {
        if (w_.pump)
            w_.pump();
    }
    void leftOut(const QString& path) override
    {
        if (w_.leftOut)
            w_.leftOut(path);
    }
    void leaveFolder(const plat::WalkFolder& folder) override
    {
        // The files of the folder come after all of its sub-folders.
        if (aborted() || !w_.file)
            return;
        bool first = true;
        for (const plat::FindData& f : folder.entries()) {
            if (core::EntryKind(f) != core::ekFile || (!w_.options_.hiddenFiles && (f.attributes & plat::faHidden))
                || (!everyName_ && !plat::matchesWildcard(w_.options_.wildcard, f.name)))
                continue;
            if (!first) {
                if (aborted())
                    return;
                pump();
            }
            w_.file(folder, f, first);
            first = false;
        }
    }

private:
    const FileWalk& w_;
    const bool everyName_;
};

FileWalk::FileWalk(FileWalkOptions options) : options_(std::move(options)) {}

void FileWalk::run(const QStringList& roots)
{
    plat::WalkOptions walkOptions;
    walkOptions.hidden = options_.hiddenFiles || options_.hiddenFolders;
    plat::WalkContext shared;
    Visitor visitor(*this);
    for (const QString& root : roots) {
        std::unique_ptr<plat::WalkFolder> folder;
        if (EnterRoot(root, walkOptions, folder) != RootStart::Entered)
            continue;
        plat::WalkContext own;
        plat::walkTree(*folder, options_.contextPerRoot ? own : shared, visitor);
    }
}

}  // namespace finders
