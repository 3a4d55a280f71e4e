#pragma once
// Restoring the archives that zipping on deletion wrote: which files of a
// folder are such archives, where an archive's files belong, loading one
// archive for viewing, and extracting all of it into a folder with the safe
// rules of the zip reader, counted so that the window can report each
// failure and the files left alone in one message. No widgets.

#include "components/zip/zipreader.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace del {

// The archive names of a folder: files (no folders, no links) matching
// "Drive*.ZIP" without regard to case, sorted without regard to case.
QStringList ArchiveFilesIn(const QString& folder);

// "X:\" for the letter right after "Drive-" in the archive's file name (the
// drive its files came from), or "\" when the name holds no "Drive-" followed
// by a letter. Only the file name counts: a folder called "Drive-Q" on the
// way to the archive says nothing about the files inside.
QString ArchiveRootFor(const QString& archivePath);

// True when chosenFolder is the root of the drive that ArchiveRoot names:
// restoring there puts every file back where it was.
bool IsOriginalRoot(const QString& chosenFolder, const QString& archiveRoot);

// Makes parent\name, with any missing folders of a name like "a\b", never
// through a link. Names with ".", ".." or a drive are refused. The new
// folder's drive path, or empty with *error set.
QString CreateSubFolder(const QString& parent, const QString& name, QString* error);

// Texts of the messages about single entries.
QString ExtractFailureText(const QString& entry, const QString& archiveName);
QString MoveFailureText(const QString& entry, const QString& archiveName);
QString DuplicateWarningText(bool adding, const QString& entry);
// One message for every file left alone because its target existed.
QString ExistingTargetsText(int count, const QString& folder);
QString NotAnArchiveText(const QString& archivePath);
// An archive the reader refuses to extract (its entries overlap); reason is
// the reader's own text.
QString RefusedArchiveText(const QString& archivePath, const QString& reason);
// The target's drive has less free space than the files to restore need.
QString NotEnoughSpaceText(const QString& archive, quint64 neededBytes, quint64 freeBytes);
// One message for the failures past the ones reported one by one.
QString MoreFailuresText(int count, const QString& archiveName);

// One entry that could not be restored.
struct RestoreFailure {
    QString entry;
    comp::ZipExtractResult result = comp::ZipExtractResult::WriteFailed;
    QString codecText;  // the reader's reason, for the second message
};

struct RestoreOutcome {
    int files = 0;       // file entries of the archive (folders not counted)
    int extracted = 0;   // files written and CRC-checked
    int existing = 0;    // files left alone: their target existed already
    QStringList existingEntries;
    std::vector<RestoreFailure> failures;  // everything else, in archive order
    // Set when nothing was extracted at all (not enough free space): the
    // message to show instead of the summary.
    QString refusal;

    bool complete() const { return extracted == files; }
    // "Files were unzipped" when every file came back, else how many did.
    QString summaryText() const;
};

// Counts the reader's per-entry reports.
RestoreOutcome SummariseRestore(const std::vector<comp::ZipExtractReport>& reports,
                                const std::vector<comp::ZipEntryInfo>& entries);

// The archive shown in the restore window's contents tree.
class LoadedArchive {
public:
    LoadedArchive();
    ~LoadedArchive();

    // Opens folder\name. A file that is not a readable archive leaves the
    // archive loaded before (or none) in place and returns false.
    bool load(const QString& folder, const QString& name);
    // After a failed load: why the reader refused the file when it is an
    // archive that must not be extracted (overlapping entries), else empty.
    QString refusal() const { return refusal_; }
    void close();

    bool isLoaded() const;
    QString name() const { return name_; }   // file name, as listed
    QString path() const { return path_; }   // full drive path
    QString comment() const;
    const std::vector<comp::ZipEntryInfo>& entries() const;
    int entryCount() const;

    // Where the last restore went; empty before the first.
    QString BaseFolder;

    // The bytes the files of the archive need below baseFolder: every file
    // entry whose target does not exist yet, at its stored size (which the
    // reader never lets an entry exceed).
    quint64 bytesToRestore(const QString& baseFolder) const;

    // Extracts every entry below baseFolder with its stored folder path,
    // unless the free space of baseFolder's drive is less than
    // bytesToRestore: then nothing is written and the outcome's refusal says
    // so.
    RestoreOutcome extractAll(const QString& baseFolder,
                              const comp::ZipReader::PasswordProvider& askPassword,
                              const comp::ZipReader::Progress& progress);

private:
    std::unique_ptr<comp::ZipReader> reader_;
    QString name_;
    QString path_;
    QString refusal_;
};

}  // namespace del
