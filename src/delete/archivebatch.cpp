#include "delete/archivebatch.h"

#include "platform/foldertree.h"

namespace del {

ArchiveBatch::ArchiveBatch(const QString& archiveDrivePath, const QString& comment, int commitIntervalMs)
    : path_(archiveDrivePath), comment_(comment), policy_(1000, commitIntervalMs)
{
}

ArchiveBatch::~ArchiveBatch()
{
    if (writer_.isOpen())
        writer_.close();
}

bool ArchiveBatch::open()
{
    if (writer_.isOpen())
        return true;
    // No comment yet: a new comment counts as a change, and an archive
    // opened but never added to (a later archive of the run failed to open)
    // must be left byte for byte as it was.
    return writer_.open(path_);
}

bool ArchiveBatch::isOpen() const
{
    return writer_.isOpen();
}

bool ArchiveBatch::identity(quint64& device, quint64& inode) const
{
    return writer_.archiveIdentity(device, inode);
}

QString ArchiveBatch::errorText() const
{
    return writer_.errorText();
}

comp::ZipAddResult ArchiveBatch::add(const QString& sourceDrivePath, const QString& entryName,
                                     const comp::ZipWriter::Progress& progress, const bool* abortFlag)
{
    const comp::ZipAddResult r = writer_.addFile(sourceDrivePath, entryName, progress, abortFlag);
    if (r == comp::ZipAddResult::Added && !commentSet_) {
        writer_.setComment(comment_);  // written by the commit of this entry
        commentSet_ = true;
    }
    return r;
}

QString ArchiveBatch::lastAddError() const
{
    return writer_.lastAddError();
}

int ArchiveBatch::pendingCount() const
{
    return writer_.pendingCount();
}

comp::ZipCommitResult ArchiveBatch::commitIfDue()
{
    if (!policy_.due(writer_.pendingCount()))
        return {};
    comp::ZipCommitResult r = writer_.commit();
    policy_.committed();
    return r;
}

comp::ZipCommitResult ArchiveBatch::commit()
{
    if (writer_.pendingCount() == 0 || !writer_.isOpen())
        return {};
    return writer_.commit();
}

comp::ZipCommitResult ArchiveBatch::close()
{
    if (!writer_.isOpen())
        return {};
    return writer_.close();
}

bool deleteIfUnchanged(const comp::ZipCommitted& committed, plat::ParentFolderCache* folders)
{
    if (!committed.durable)
        return false;
    // Reached as the file was for its read: from the drive root, no link or
    // other mount on the way. Another file put in its place (renamed over
    // it, copied with its times kept) may match in size and time: only the
    // file the writer opened and read may go, and only unchanged since.
    plat::TreeEntry e;
    plat::TreeError error = plat::TreeError::None;
    plat::ParentFolderCache own;
    const plat::TreeFolder* folder = (folders ? *folders : own).openParent(committed.sourcePath, e, error);
    return folder
           && folder->removeEntryIfUnchanged(e, {committed.sourceDevice, committed.sourceInode},
                                             committed.sourceSize, committed.sourceMtimeNs);
}

}  // namespace del
