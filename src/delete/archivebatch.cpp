#include "delete/archivebatch.h"

#include "platform/drives.h"
#include "platform/durablefile.h"
#include "platform/fileops.h"

namespace del {

ArchiveBatch::ArchiveBatch(const QString& archiveDrivePath, const QString& comment)
    : path_(archiveDrivePath), comment_(comment)
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
    if (!writer_.open(path_))
        return false;
    writer_.setComment(comment_);
    return true;
}

bool ArchiveBatch::isOpen() const
{
    return writer_.isOpen();
}

QString ArchiveBatch::errorText() const
{
    return writer_.errorText();
}

comp::ZipAddResult ArchiveBatch::add(const QString& sourceDrivePath, const QString& entryName,
                                     const comp::ZipWriter::Progress& progress, const bool* abortFlag)
{
    return writer_.addFile(sourceDrivePath, entryName, progress, abortFlag);
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

bool deleteIfUnchanged(const comp::ZipCommitted& committed)
{
    if (!committed.durable)
        return false;
    const auto posix = plat::toPosix(committed.sourcePath);
    if (!posix)
        return false;
    plat::FileStamp now;
    if (!plat::stampOfRegularFile(*posix, &now))
        return false;
    // Written to after it was read: what is stored is not what is there.
    if (now.size != committed.sourceSize || now.mtimeNs != committed.sourceMtimeNs)
        return false;
    return plat::deleteFile(committed.sourcePath);
}

}  // namespace del
