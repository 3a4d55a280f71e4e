#pragma once
// Reads ZIP archives: lists entries and the comment, and extracts entries
// into a base folder safely: names that are absolute, hold a drive, "." or
// ".." components or backslashes are refused, folders are made and entered
// relative to open folder handles without following links, links and device
// entries are never created, every file is written without a name (or,
// where the file system cannot, under a temporary one), CRC-checked and only
// then named, and an existing target is left alone.
//
// An archive whose entries overlap (one block of stored data listed under
// many names) is refused.
//
// An archive whose end records are missing or do not add up (the writer died
// before its last central directory was complete) is recovered by scanning
// its local headers: every complete, CRC-valid entry is listed.

#include "components/zip/zipentry.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace comp {

struct ZipExtractReport {
    int index = -1;          // into entries()
    QString entryName;
    ZipExtractResult result = ZipExtractResult::Extracted;
    QString errorText;       // details for the failures
};

class ZipReader {
public:
    // Asked for a password when an encrypted entry needs one (no password
    // yet, or the current one is wrong). nullopt = the user cancelled; then
    // no further question is asked during this extraction.
    using PasswordProvider = std::function<std::optional<QByteArray>(const QString& entryName)>;
    // Percent (0..100) of the whole extraction.
    using Progress = std::function<void(int percent)>;

    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    bool open(const QString& archiveDrivePath);   // false + errorText: not an archive
    bool openPosix(const QByteArray& posixPath);
    bool openMemory(const QByteArray& data);      // shares the bytes (implicitly shared)
    void close();
    bool isOpen() const;
    QString errorText() const;
    // The last open failed because the archive's entries overlap each other
    // or its central directory (errorText says which); such archives are
    // refused rather than recovered.
    bool refused() const;

    const std::vector<ZipEntryInfo>& entries() const;
    QString comment() const;
    bool recovered() const;  // entries came from scanning local headers

    void setPassword(const QByteArray& password);
    void setPasswordProvider(PasswordProvider provider);

    // Extracts every entry (folders included) below baseFolder, recreating
    // the stored folder paths and creating missing folders. One report per
    // entry; the other entries go on after a failure.
    std::vector<ZipExtractReport> extractAll(const QString& baseFolderDrivePath,
                                             const Progress& progress = {});
    std::vector<ZipExtractReport> extractAllPosix(const QByteArray& baseFolderPosix,
                                                  const Progress& progress = {});

    // Reads one entry's data into memory (CRC-checked). For viewers and tests.
    ZipExtractResult readEntry(int index, QByteArray* out);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

namespace detail {
// Tests: write every extracted file under a named part file first, as on
// file systems that cannot make files without a name (true: the default).
void allowAnonymousTempFiles(bool allow);
}  // namespace detail

}  // namespace comp
