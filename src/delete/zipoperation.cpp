#include "delete/zipoperation.h"

#include "delete/archivebatch.h"
#include "delete/archivenames.h"
#include "delete/deletetotals.h"
#include "platform/cleanpath.h"
#include "platform/drives.h"
#include "platform/filereader.h"
#include "platform/foldertree.h"

#include <QHash>
#include <QSet>
#include <memory>
#include <vector>

namespace del {

const char* const kZipUpFailed = "Couldn't zip up file - ";
const char* const kZipDeleteFailed = "Couldn't delete file - ";

namespace {

class Operation {
public:
    Operation(const ZipOperationSettings& settings, const bool* abortFlag, const ZipOperationCallbacks& callbacks)
        : settings_(settings), abort_(abortFlag), cb_(callbacks)
    {
        if (!settings_.start.isValid())
            settings_.start = QDateTime::currentDateTime();
    }

    ZipOperationResult run(const QStringList& files)
    {
        if (!openArchives(files)) {
            r_.notTried = files;
            return r_;
        }
        r_.ran = true;
        int current = -1;  // the archive the previous file went into
        for (int i = 0; i < files.size(); ++i) {
            if (aborted() || r_.stopped) {
                r_.notTried += files.mid(i);
                break;
            }
            const QString& path = files.at(i);
            if (cb_.fileStarted)
                cb_.fileStarted(i, path);
            const int index = archiveIndexOf(path);
            if (index < 0 || plat::cleanDrivePath(path) != path || isOneOfTheArchives(path)) {
                // No drive to file it under, a spelling other than the one
                // the Safe Harbor tested, or the archive itself, which can
                // never be stored in itself or another of this run.
                zipFailed(path);
                continue;
            }
            // The archive used before is made durable first, so its sources
            // do not wait for the end of a long run on another drive.
            if (current >= 0 && current != index)
                settle(archives_[current]->commit());
            current = index;
            if (!addOne(*archives_[index], path)) {
                // The archive cannot be made or written to (folder missing
                // or read-only, disk full): every further file would fail
                // the same way, so the reason is told once and the run ends.
                r_.notTried += files.mid(i);
                break;
            }
        }
        for (const auto& a : archives_)
            settle(a->close());
        r_.aborted = aborted();
        return r_;
    }

private:
    bool aborted() const { return abort_ && *abort_; }

    void report(const QString& message)
    {
        if (cb_.error)
            cb_.error(message);
    }

    void zipFailed(const QString& path)
    {
        r_.notZipped << path;
        report(QLatin1String(kZipUpFailed) + path);
    }

    QString archiveNameOf(const QString& path) const
    {
        if (StoredEntryName(path).isEmpty())
            return QString();
        return ArchiveNameFor(settings_.zipFolder, settings_.tag, ArchiveLetterOf(path), settings_.start);
    }

    int archiveIndexOf(const QString& path) const { return byName_.value(archiveNameOf(path), -1); }

    // By name, and by the file itself: an archive folder given through a
    // link (or a hard link to an archive) shows an archive of this run under
    // another path, and storing it in another archive would delete it while
    // its writer still adds to it.
    bool isOneOfTheArchives(const QString& path) const
    {
        const auto posix = plat::toPosix(path);
        if (!posix)
            return false;
        if (archivePosix_.contains(*posix))
            return true;
        plat::FileStamp source;
        if (!plat::stampOfDriveFile(path, &source, &folders_))
            return false;  // not a regular file: the writer refuses it anyway
        return isAnArchive(source.device, source.inode);
    }

    bool isAnArchive(quint64 device, quint64 inode) const
    {
        for (const auto& a : archives_) {
            quint64 d = 0, i = 0;
            if (a->identity(d, i) && d == device && i == inode)
                return true;
        }
        return false;
    }

    // Every archive of the run is opened before the first file is touched:
    // one that exists but cannot be read stops the run with nothing done.
    bool openArchives(const QStringList& files)
    {
        for (const QString& path : files) {
            const QString name = archiveNameOf(path);
            if (name.isEmpty() || byName_.contains(name))
                continue;
            auto batch = std::make_unique<ArchiveBatch>(name, settings_.comment, settings_.commitIntervalMs);
            if (!batch->open()) {
                report(QStringLiteral("Couldn't open the archive %1 - %2").arg(name, batch->errorText()));
                return false;
            }
            byName_.insert(name, int(archives_.size()));
            if (const auto posix = plat::toPosix(name))
                archivePosix_.insert(*posix);
            r_.archives << name;
            archives_.push_back(std::move(batch));
        }
        return true;
    }

    // False when the archive could not be written: the run stops.
    bool addOne(ArchiveBatch& archive, const QString& path)
    {
        const auto progress = [this](int percent) {
            if (cb_.fileProgress)
                cb_.fileProgress(percent);
        };
        const comp::ZipAddResult added = archive.add(path, StoredEntryName(path), progress, abort_);
        if (added == comp::ZipAddResult::Aborted) {
            // Abandoned on request: it stays where it is, as do the rest.
            r_.notTried << path;
            return true;
        }
        if (added == comp::ZipAddResult::WriteFailed) {
            r_.stopped = true;
            report(QStringLiteral("Couldn't write the archive %1 - %2").arg(archive.archivePath(), archive.lastAddError()));
            return false;
        }
        if (added != comp::ZipAddResult::Added) {
            // NameExists included: the archive keeps its entry, and a file
            // whose contents were never stored must not be deleted.
            zipFailed(path);
            return true;
        }
        settle(archive.commitIfDue());
        return true;
    }

    // Deletes what a commit made durable and reports the rest.
    void settle(const comp::ZipCommitResult& commit)
    {
        for (const comp::ZipCommitted& c : commit.entries) {
            // An archive swapped in under a source's name after the check
            // above: what was read was an archive of this run, kept as well.
            if (!c.durable || isAnArchive(c.sourceDevice, c.sourceInode)) {
                zipFailed(c.sourcePath);
                continue;
            }
            if (settings_.deleteAfterZip && !deleteIfUnchanged(c, &folders_)) {
                r_.notDeleted << c.sourcePath;
                report(QLatin1String(kZipDeleteFailed) + c.sourcePath);
                continue;
            }
            ++r_.zippedFiles;
            r_.zippedBytes += double(c.sourceSize);
            r_.zipped << c.sourcePath;
        }
        if (!commit.ok && !r_.stopped) {
            // The archive could not be written: the next batches would fare
            // no better, so nothing more is tried.
            r_.stopped = true;
            report(commit.errorText);
        }
    }

    ZipOperationSettings settings_;
    const bool* abort_;
    const ZipOperationCallbacks& cb_;
    ZipOperationResult r_;
    std::vector<std::unique_ptr<ArchiveBatch>> archives_;
    QHash<QString, int> byName_;
    QSet<QByteArray> archivePosix_;
    mutable plat::ParentFolderCache folders_;  // of the sources, for their checks and deletes
};

}  // namespace

ZipOperationResult zipThenDelete(const QStringList& files, const ZipOperationSettings& settings,
                                 const bool* abortFlag, const ZipOperationCallbacks& callbacks)
{
    Operation op(settings, abortFlag, callbacks);
    return op.run(files);
}

bool recordZipOperation(const ZipOperationResult& result, DeletionLog& log)
{
    if (!result.ran)
        return true;
    return UpdateZipTotals(log, result.zippedFiles, result.zippedBytes);
}

}  // namespace del
