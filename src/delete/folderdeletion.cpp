#include "delete/folderdeletion.h"

#include "delete/archivebatch.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "core/safeharbor.h"
#include "delete/archivenames.h"
#include "delete/deletetotals.h"
#include "delete/deletionlog.h"
#include "platform/cleanpath.h"
#include "platform/foldertree.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace del {

const char* const kFolderHarborQuestion =
    "Warning: the folder or a sub-folder of the one to delete is marked NOT to be deleted because it is %1.  You "
    "may not want to delete it at this time.  Really delete?";
const char* const kDeleteThisFileQuestion = "Delete this file and continue deleting the remaining files? ";
const char* const kDeletedSummary = "Deleted %1 files for a savings of %2 bytes.";
const char* const kDeleteCanceledNote = " (Note: Deletion operation canceled ... not all files deleted)";
const char* const kZipCanceledNote = " (Note: Zip operation canceled ... not all files zipped)";
const char* const kCouldntDeleteFile = "Couldn't delete file - ";
const char* const kCouldntZipFile = "Couldn't zip up file - ";
const char* const kCouldntTrashFile = "Couldn't send file to the recycle bin - ";

namespace {

// More lines than this in the report of what stayed would only hide the
// count; the rest is summed up in one line.
constexpr int kMaxReportLines = 15;

const QString kTag = QStringLiteral("FolderClean");

QString withBackslash(const QString& folder)
{
    return folder.endsWith(u'\\') ? folder : folder + u'\\';
}

// The list's entries as folder texts: a subtree rule without its "*.*".
QString entryFolder(const QString& entry)
{
    return entry.endsWith(QStringLiteral("*.*")) ? entry.left(entry.size() - 3) : entry;
}

}  // namespace

QString FolderArchiveName(const QString& zipFolder, const QString& folder, const QDateTime& time)
{
    const QChar letter = folder.isEmpty() ? QChar(u'C') : folder.at(0);
    QString name = ArchiveNameFor(zipFolder, kTag, letter, time);
    // The folder's archives carry the letter as the path writes it.
    const qsizetype at = name.lastIndexOf(QStringLiteral("Drive-"));
    if (at >= 0 && at + 6 < name.size())
        name[at + 6] = letter;
    return name;
}

int ProtectedReasonAtOrBelow(core::SafeHarbor& harbor, const QString& folder)
{
    if (const int own = harbor.IsInSafeHarbor(folder, false))
        return own;
    const QString top = core::NormalizedFolderText(withBackslash(folder));
    const std::pair<const QStringList*, core::SafeHarborReason> lists[] = {
        {&harbor.WindowsFolders, core::shWindowsFolder},
        {&harbor.SearchPathFolders, core::shSearchPath},
        {&harbor.ProtectedFolders, core::shRegistryFolder},
    };
    for (const auto& [list, reason] : lists)
        for (const QString& entry : *list)
            if (withBackslash(entryFolder(entry)).startsWith(top, Qt::CaseInsensitive))
                return reason;
    return core::shNone;
}

// One run of the walk: the open archive, the files waiting for their commit
// and the emptied folders waiting for the commit that lets their files go.
struct FolderDeletion::Walk {
    Walk(FolderDeletion& operation, FolderDeletionResult& result)
        : op(operation), r(result), policy(operation.policy_)
    {
    }

    FolderDeletion& op;
    FolderDeletionResult& r;
    comp::CommitPolicy policy;

    using Folder = std::shared_ptr<plat::TreeFolder>;
    struct Frame {
        Folder folder;
        std::optional<plat::TreeEntry> entry;  // as its parent listed it; none for the top
    };
    std::vector<Frame> stack;

    // Zipping: the writer is opened with the first file, so that a tree
    // without files leaves no empty archive behind.
    std::unique_ptr<ArchiveBatch> writer;
    bool writerFailed = false;
    struct Pending {
        Folder folder;  // kept open until the commit: the file goes through it
        plat::TreeEntry entry;
        plat::FileIdentity read;  // what the path denoted around the read
    };
    std::vector<Pending> pending;
    // Folders left while files of theirs still waited for a commit, deepest
    // first (a folder is left after everything below it).
    struct Emptied {
        Folder parent;
        plat::TreeEntry entry;
    };
    std::vector<Emptied> emptied;
    // Folders held open only for pending files; past this many the archive
    // commits, so that a wide tree cannot run out of handles.
    static constexpr int kMaxHeldFolders = 200;
    int heldFolders = 0;

    void pump() const
    {
        if (op.hooks_.pump)
            op.hooks_.pump();
    }

    void fail(const QString& line) { r.failures << line; }

    bool removesFolders() const { return op.willDelete(); }
    bool zipsThenDeletes() const { return op.mode_ == FolderMode::Zip && op.deleteAfterZip_; }

    void run(std::unique_ptr<plat::TreeFolder> top)
    {
        stack.push_back({Folder(std::move(top)), std::nullopt});
        while (!stack.empty()) {
            pump();
            plat::TreeEntry e;
            Frame& frame = stack.back();
            if (!op.stop_ && frame.folder->next(e)) {
                if (e.isFolder())
                    enter(*frame.folder, e);
                else
                    dodelete(frame.folder, e);
                continue;
            }
            leave();
        }
        commitPending();
        if (writer) {
            const comp::ZipCommitResult last = writer->close();
            settle(last);
        }
        removeEmptied();
    }

    void enter(const plat::TreeFolder& parent, const plat::TreeEntry& e)
    {
        plat::TreeError error = plat::TreeError::None;
        auto sub = parent.openSub(e, error);
        if (!sub) {
            // Passed over, and left in place with everything in it.
            fail(QStringLiteral("Couldn't open folder - %1 (%2)").arg(e.path, plat::treeErrorText(error)));
            return;
        }
        stack.push_back({Folder(std::move(sub)), e});
    }

    void leave()
    {
        Frame done = std::move(stack.back());
        stack.pop_back();
        if (const int skipped = done.folder->skippedNames())
            fail(QStringLiteral("%1 entries with names this program cannot handle were left in %2")
                     .arg(skipped)
                     .arg(done.folder->path()));
        if (!done.entry || !removesFolders())
            return;
        // Files still waiting for their commit keep the folder until the
        // commit that lets them go; the folder is removed right after it.
        if (zipsThenDeletes() && !pending.empty()) {
            emptied.push_back({stack.back().folder, *done.entry});
            if (++heldFolders > kMaxHeldFolders)
                commitPending();
            return;
        }
        // A folder that is not empty stays, without a message: what kept
        // it is reported on its own.
        stack.back().folder->removeSubfolder(*done.entry);
    }

    // Removes the folders emptied by the last commit, deepest first; one
    // that still holds anything stays (what kept it is reported on its own).
    void removeEmptied()
    {
        for (const Emptied& f : emptied)
            f.parent->removeSubfolder(f.entry);
        emptied.clear();
        heldFolders = 0;
    }

    // Asks for each special attribute in turn; false when the walk must stop.
    bool confirmAttributes(const plat::TreeFolder& folder, const plat::TreeEntry& e)
    {
        static const struct {
            quint32 bit;
            const char* text;
        } questions[] = {
            {plat::faReadOnly, " is read-only, "},
            {plat::faHidden, " is hidden, "},
            {plat::faSystem, " is a system file, "},
        };
        for (const auto& q : questions) {
            if (!(e.data.attributes & q.bit))
                continue;
            const QString question = core::JoinPath(folder.path(), e.name) + QLatin1String(q.text)
                                     + QLatin1String(kDeleteThisFileQuestion);
            if (core::prompter().confirm(core::ConfirmKind::YesNoCancel, question) != core::Answer::Yes) {
                op.stop_ = true;
                return false;
            }
            // Hidden and system cannot be cleared here (hidden is the name);
            // only read-only has something to undo.
            if (q.bit == plat::faReadOnly)
                folder.clearReadOnly(e);
        }
        return true;
    }

    // Only regular files have contents to store: links and system entries
    // (devices, pipes, sockets) are refused before anything is asked.
    static bool zippable(const plat::TreeEntry& e)
    {
        return !(e.data.attributes & (plat::faReparse | plat::faSystem));
    }

    void dodelete(const Folder& folder, const plat::TreeEntry& e)
    {
        if (op.stop_)
            return;
        if (op.mode_ == FolderMode::Zip && !zippable(e)) {
            fail(QLatin1String(kCouldntZipFile) + e.path);
            return;
        }
        if (op.willDelete() && !confirmAttributes(*folder, e))
            return;
        const double size = double(e.data.size());
        ++r.handled;
        r.handledBytes += size;
        if (op.hooks_.fileHandled)
            op.hooks_.fileHandled(r.handled, e.path);
        pump();
        // A stop confirmed while events ran: no further file is touched.
        if (op.stop_)
            return;

        switch (op.mode_) {
        case FolderMode::Recycle:
            if (folder->trashEntry(e))
                counted(size);
            else
                fail(QLatin1String(kCouldntTrashFile) + e.path);
            break;
        case FolderMode::Delete:
            if (folder->removeEntry(e))
                counted(size);
            else
                fail(QLatin1String(kCouldntDeleteFile) + e.path);
            break;
        case FolderMode::Zip:
            zip(folder, e);
            break;
        }
    }

    void counted(double size)
    {
        ++r.removed;
        r.removedBytes += size;
    }

    bool openWriter()
    {
        if (writer)
            return true;
        if (writerFailed)
            return false;
        auto w = std::make_unique<ArchiveBatch>(r.archive, op.zipTarget_.comment);
        if (!w->open()) {
            writerFailed = true;
            op.stop_ = true;
            // Nothing has been removed yet by this archive: say why and stop.
            core::ErrorBox(QStringLiteral("Couldn't open the archive %1 - %2").arg(r.archive, w->errorText()));
            return false;
        }
        writer = std::move(w);
        return true;
    }

    void zip(const Folder& folder, const plat::TreeEntry& e)
    {
        // The codec reads by path: that path must lead to the file this
        // folder listed, right before the read and right after it.
        if (!folder->pathLeadsTo(e)) {
            fail(QLatin1String(kCouldntZipFile) + e.path);
            return;
        }
        if (!openWriter())
            return;
        if (op.hooks_.beforeZipAdd)
            op.hooks_.beforeZipAdd(e.path);
        plat::FileIdentity read;
        if (!folder->pathIdentity(e, read) || read != plat::identityOf(e)) {
            fail(QLatin1String(kCouldntZipFile) + e.path);
            return;
        }
        const auto progress = [this](int percent) {
            if (op.hooks_.zipProgress)
                op.hooks_.zipProgress(percent);
            pump();
        };
        const comp::ZipAddResult added = writer->add(e.path, StoredEntryName(e.path), progress, &op.stop_);
        if (added == comp::ZipAddResult::Aborted)
            return;  // the stop request: the file stays, unreported
        if (added != comp::ZipAddResult::Added) {
            fail(QLatin1String(kCouldntZipFile) + e.path);
            return;
        }
        // Swapped while it was read: what is stored may be another file, so
        // the listed one must not go (an identity nothing can have).
        plat::FileIdentity after;
        if (!folder->pathIdentity(e, after) || after != read)
            read = {};
        pending.push_back({folder, e, read});
        if (policy.due(writer->pendingCount())) {
            commitPending();
            policy.committed();
        }
    }

    void commitPending()
    {
        if (!writer || pending.empty())
            return;
        settle(writer->commit());
    }

    // Counts what the commit made durable, deletes those sources when asked,
    // removes the folders that emptied, and reports the rest.
    void settle(const comp::ZipCommitResult& c)
    {
        if (op.hooks_.committed && (!c.entries.empty() || !c.ok))
            op.hooks_.committed();
        if (!c.ok) {
            // Nothing of this batch is safe to delete, and the next ones
            // would fare no better.
            op.stop_ = true;
            fail(QStringLiteral("Couldn't write the archive %1 - %2").arg(r.archive, c.errorText));
        }
        for (const comp::ZipCommitted& done : c.entries) {
            const auto it = std::find_if(pending.begin(), pending.end(),
                                         [&](const Pending& p) { return p.entry.path == done.sourcePath; });
            if (it == pending.end())
                continue;
            const Pending p = *it;
            pending.erase(it);
            if (!done.durable) {
                fail(QLatin1String(kCouldntZipFile) + p.entry.path);
                continue;
            }
            const double size = double(done.sourceSize);
            if (!op.deleteAfterZip_) {
                ++r.zipped;
                r.zippedBytes += size;
                continue;
            }
            // The path was checked around the read; the writer says which
            // file it actually opened. Both must be the listed one.
            const plat::FileIdentity opened{done.sourceDevice, done.sourceInode};
            const plat::FileIdentity read = opened == p.read ? p.read : plat::FileIdentity{};
            if (p.folder->removeEntryIfUnchanged(p.entry, read, done.sourceSize, done.sourceMtimeNs)) {
                ++r.zipped;
                r.zippedBytes += size;
                counted(size);
            } else {
                fail(QLatin1String(kCouldntDeleteFile) + p.entry.path);
            }
        }
        // Whatever the commit did not mention stays in place.
        if (!c.ok) {
            for (const Pending& p : pending)
                fail(QLatin1String(kCouldntZipFile) + p.entry.path);
            pending.clear();
        }
        if (pending.empty())
            removeEmptied();
    }
};

// The folder in the one spelling that the Safe Harbor question tests and
// the walk opens: "C:\free\..\prot" is "C:\prot".
FolderDeletion::FolderDeletion(const QString& folder) : folder_(plat::cleanDrivePath(folder)) {}

bool FolderDeletion::willDelete() const
{
    return mode_ != FolderMode::Zip || deleteAfterZip_;
}

FolderDeletionResult FolderDeletion::StartTheDeletionProcess()
{
    FolderDeletionResult r;
    core::SafeHarbor& harbor = harbor_ ? *harbor_ : core::programSafeHarbor();
    DeletionLog& log = log_ ? *log_ : programLog();

    if (const int reason = ProtectedReasonAtOrBelow(harbor, folder_)) {
        const QString question = QString::fromLatin1(kFolderHarborQuestion).arg(core::SafeHarborReasonText(reason));
        if (core::prompter().confirm(core::ConfirmKind::YesNo, question) != core::Answer::Yes)
            return r;
    }

    running_ = true;
    stop_ = false;
    struct Idle {
        bool& flag;
        ~Idle() { flag = false; }
    } idle{running_};

    // The folder and its parent, both as open handles: the folder is removed
    // from its parent by name only while that name still is this folder.
    plat::TreeError error = plat::TreeError::None;
    auto top = plat::TreeFolder::open(folder_, error);
    std::unique_ptr<plat::TreeFolder> parent;
    plat::TreeEntry self;
    if (top) {
        const QString path = top->path();
        const qsizetype cut = path.lastIndexOf(u'\\');
        if (path.size() <= 3 || cut < 2) {
            error = plat::TreeError::DriveRoot;
        } else {
            parent = plat::TreeFolder::open(path.left(cut == 2 ? 3 : cut), error);
            const plat::FindData mine = top->self();
            if (parent && !(parent->lookup(path.mid(cut + 1), self) && self.data.inode == mine.inode
                            && self.data.device == mine.device))
                error = plat::TreeError::NotFound;
        }
    }
    if (error != plat::TreeError::None) {
        r.outcome = FolderDeletionResult::Outcome::Refused;
        core::ErrorBox(QStringLiteral("Couldn't clean the folder %1 - %2.").arg(folder_, plat::treeErrorText(error)));
        return r;
    }

    if (mode_ != FolderMode::Zip && parent->removeSubfolder(self)) {
        r.outcome = FolderDeletionResult::Outcome::RemovedEmpty;
        r.folderRemoved = true;
        return r;
    }

    if (mode_ == FolderMode::Zip) {
        const QDateTime time = zipTarget_.time.isValid() ? zipTarget_.time : QDateTime::currentDateTime();
        r.archive = FolderArchiveName(zipTarget_.zipFolder, folder_, time);
        // The walk would sweep up the archive it writes, and with it
        // whatever else lies in the archive folder.
        if (plat::liesInside(r.archive, top->path())) {
            r.outcome = FolderDeletionResult::Outcome::Refused;
            core::ErrorBox(QStringLiteral("The archive folder %1 lies inside the folder to be zipped.  Choose "
                                          "another archive folder.")
                               .arg(zipTarget_.zipFolder));
            return r;
        }
    }

    r.outcome = FolderDeletionResult::Outcome::Walked;
    Walk walk(*this, r);
    walk.run(std::move(top));
    r.stopped = stop_;

    report(r);
    if (mode_ == FolderMode::Zip) {
        if (r.zipped > 0 && !UpdateZipTotals(log, r.zipped, r.zippedBytes))
            core::ErrorBox(QStringLiteral("Couldn't save the deletion log - ") + log.lastError());
    } else if (r.removed > 0) {
        const bool recycled = mode_ == FolderMode::Recycle;
        const bool saved = UpdateDeleteTotals(log, recycled ? 0 : r.removed, recycled ? r.removed : 0,
                                              recycled ? 0 : r.removedBytes, recycled ? r.removedBytes : 0);
        if (!saved)
            core::ErrorBox(QStringLiteral("Couldn't save the deletion log - ") + log.lastError());
    }
    if (willDelete())
        r.folderRemoved = parent->removeSubfolder(self);
    return r;
}

void FolderDeletion::report(const FolderDeletionResult& r) const
{
    if (!r.failures.isEmpty()) {
        QStringList lines = r.failures.mid(0, kMaxReportLines);
        if (r.failures.size() > kMaxReportLines)
            lines << QStringLiteral("... and %1 more.").arg(r.failures.size() - kMaxReportLines);
        core::ErrorBox(lines.join(u'\n'));
    }
    if (mode_ == FolderMode::Zip) {
        if (r.zipped > 0)
            core::InfoBox(QStringLiteral("Zipped up ") + core::FormatGrouped(r.zipped) + QStringLiteral(" files")
                          + (r.stopped ? QLatin1String(kZipCanceledNote) : QLatin1String("")));
    } else if (r.removed > 0) {
        core::InfoBox(QString::fromLatin1(kDeletedSummary)
                          .arg(core::FormatGrouped(r.removed), core::FormatGroupedF(r.removedBytes))
                      + (r.stopped ? QLatin1String(kDeleteCanceledNote) : QLatin1String("")));
    }
}

}  // namespace del
