#include "delete/restore.h"

#include "core/helpers.h"
#include "platform/drives.h"
#include "platform/durablefile.h"
#include "platform/fileops.h"
#include "platform/findfile.h"

#include <QFile>

#include <algorithm>

namespace del {

QStringList ArchiveFilesIn(const QString& folder)
{
    QStringList names;
    plat::FolderEnum e;
    plat::FindData f;
    // Neither folders nor links: only plain files are archives to restore.
    const quint32 mask = plat::faReadOnly | plat::faHidden | plat::faArchive;
    for (bool more = e.findFirst(core::JoinPath(folder, QStringLiteral("Drive*.ZIP")), mask, f); more;
         more = e.findNext(f)) {
        if (!(f.attributes & (plat::faDirectory | plat::faReparse | plat::faSystem)))
            names << f.name;
    }
    e.close();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString ArchiveRootFor(const QString& archivePath)
{
    const QString name = archivePath.mid(archivePath.lastIndexOf(QLatin1Char('\\')) + 1);
    const QString marker = QStringLiteral("Drive-");
    const qsizetype at = name.indexOf(marker, 0, Qt::CaseInsensitive);
    if (at < 0 || at + marker.size() >= name.size())
        return QStringLiteral("\\");
    const QChar letter = name.at(at + marker.size());
    if (!(letter >= QLatin1Char('A') && letter <= QLatin1Char('Z'))
        && !(letter >= QLatin1Char('a') && letter <= QLatin1Char('z')))
        return QStringLiteral("\\");
    return QString(letter.toUpper()) + QStringLiteral(":\\");
}

bool IsOriginalRoot(const QString& chosenFolder, const QString& archiveRoot)
{
    if (chosenFolder.isEmpty() || chosenFolder.size() > 3 || archiveRoot.isEmpty())
        return false;
    if (chosenFolder.size() >= 2 && chosenFolder.at(1) != QLatin1Char(':'))
        return false;
    return chosenFolder.at(0).toUpper() == archiveRoot.at(0).toUpper();
}

QString CreateSubFolder(const QString& parent, const QString& name, QString* error)
{
    const QStringList parts = name.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    bool safe = !parts.isEmpty() && !name.startsWith(QLatin1Char('\\'));
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String("..") || part.contains(QLatin1Char('/'))
            || part.contains(QLatin1Char(':')) || !plat::isRepresentableName(QFile::encodeName(part)))
            safe = false;
    }
    if (!safe) {
        *error = QStringLiteral("\"") + name + QStringLiteral("\" is not a valid folder name.");
        return {};
    }
    const std::optional<QByteArray> base = plat::toPosix(parent);
    plat::FolderHandle here;
    if (!base || !here.open(*base)) {
        *error = QStringLiteral("The folder ") + parent + QStringLiteral(" cannot be opened.");
        return {};
    }
    QString path = parent;
    for (const QString& part : parts) {
        plat::FolderHandle next;
        if (!next.openChild(here, QFile::encodeName(part), true)) {
            *error = QStringLiteral("The folder ") + core::JoinPath(path, part) + QStringLiteral(" cannot be created: ")
                     + next.errorText();
            return {};
        }
        here = std::move(next);
        path = core::JoinPath(path, part);
    }
    return path;
}

QString ExtractFailureText(const QString& entry, const QString& archiveName)
{
    return QStringLiteral("Cannot extract ") + entry + QStringLiteral(" from ") + archiveName;
}

QString MoreFailuresText(int count, const QString& archiveName)
{
    return QStringLiteral("%1 more files could not be extracted from %2.").arg(count).arg(archiveName);
}

QString MoveFailureText(const QString& entry, const QString& archiveName)
{
    return QStringLiteral("Cannot move ") + entry + QStringLiteral(" to ") + archiveName;
}

QString DuplicateWarningText(bool adding, const QString& entry)
{
    return (adding ? QStringLiteral("Cannot add ") : QStringLiteral("Cannot move ")) + entry
           + QStringLiteral(". Would create a duplicate name. Ignore future warnings?");
}

QString ExistingTargetsText(int count, const QString& folder)
{
    if (count == 1)
        return QStringLiteral("1 file was not restored because a file of the same name already exists below ")
               + folder + QStringLiteral(". The existing file was left as it is.");
    return core::FormatGrouped(count)
           + QStringLiteral(" files were not restored because files of the same names already exist below ") + folder
           + QStringLiteral(". The existing files were left as they are.");
}

QString NotAnArchiveText(const QString& archivePath)
{
    return QStringLiteral("Cannot extract files from ") + archivePath
           + QStringLiteral(": it is not a zip archive that can be read.");
}

QString RefusedArchiveText(const QString& archivePath, const QString& reason)
{
    return QStringLiteral("Cannot extract files from ") + archivePath + QStringLiteral(": ") + reason;
}

QString NotEnoughSpaceText(const QString& archive, quint64 neededBytes, quint64 freeBytes)
{
    return QStringLiteral("Not enough space to unzip ") + archive + QStringLiteral(" : ")
           + core::FormatGrouped(qint64(neededBytes)) + QStringLiteral(" bytes needed, ")
           + core::FormatGrouped(qint64(freeBytes)) + QStringLiteral(" free.");
}

QString RestoreOutcome::summaryText() const
{
    if (complete())
        return QStringLiteral("Files were unzipped");
    if (extracted == 0)
        return QStringLiteral("No files were unzipped.");
    return QStringLiteral("Files were unzipped: ") + core::FormatGrouped(extracted) + QStringLiteral(" of ")
           + core::FormatGrouped(files) + QStringLiteral(" files.");
}

RestoreOutcome SummariseRestore(const std::vector<comp::ZipExtractReport>& reports,
                                const std::vector<comp::ZipEntryInfo>& entries)
{
    RestoreOutcome out;
    for (const comp::ZipExtractReport& r : reports) {
        const bool folder = r.index >= 0 && size_t(r.index) < entries.size() && entries[size_t(r.index)].isFolder;
        if (!folder)
            ++out.files;
        if (r.result == comp::ZipExtractResult::Extracted) {
            if (!folder)
                ++out.extracted;
        } else if (r.result == comp::ZipExtractResult::Exists && !folder) {
            ++out.existing;
            out.existingEntries << r.entryName;
        } else {
            out.failures.push_back({r.entryName, r.result, r.errorText});
        }
    }
    return out;
}

LoadedArchive::LoadedArchive() = default;
LoadedArchive::~LoadedArchive() = default;

bool LoadedArchive::load(const QString& folder, const QString& name)
{
    // A separate reader first, so that a file that is no archive leaves
    // the one shown in place.
    auto reader = std::make_unique<comp::ZipReader>();
    const QString path = core::JoinPath(folder, name);
    refusal_.clear();
    if (!reader->open(path)) {
        if (reader->refused())
            refusal_ = reader->errorText();
        return false;
    }
    reader_ = std::move(reader);
    name_ = name;
    path_ = path;
    return true;
}

void LoadedArchive::close()
{
    reader_.reset();
    name_.clear();
    path_.clear();
}

bool LoadedArchive::isLoaded() const { return reader_ && reader_->isOpen(); }

QString LoadedArchive::comment() const { return isLoaded() ? reader_->comment() : QString(); }

const std::vector<comp::ZipEntryInfo>& LoadedArchive::entries() const
{
    static const std::vector<comp::ZipEntryInfo> none;
    return isLoaded() ? reader_->entries() : none;
}

int LoadedArchive::entryCount() const { return int(entries().size()); }

quint64 LoadedArchive::bytesToRestore(const QString& baseFolder) const
{
    quint64 needed = 0;
    for (const comp::ZipEntryInfo& e : entries()) {
        if (e.isFolder || e.isSymlink || e.isSpecial)
            continue;
        // A file that is there already is left alone and needs no space. A
        // name the reader refuses (it climbs out, or holds a backslash or a
        // drive) is counted rather than looked up.
        const QStringList parts = e.name.split(QLatin1Char('/'));
        const bool plain = !e.name.startsWith(QLatin1Char('/')) && !e.name.contains(QLatin1Char('\\'))
                           && !(e.name.size() >= 2 && e.name.at(1) == QLatin1Char(':'))
                           && !parts.contains(QStringLiteral(".."));
        if (plain) {
            const QString target =
                core::JoinPath(baseFolder, QString(e.name).replace(QLatin1Char('/'), QLatin1Char('\\')));
            if (plat::fileAttributes(target) != plat::faInvalid)
                continue;
        }
        needed += e.uncompressedSize;
    }
    return needed;
}

RestoreOutcome LoadedArchive::extractAll(const QString& baseFolder,
                                         const comp::ZipReader::PasswordProvider& askPassword,
                                         const comp::ZipReader::Progress& progress)
{
    if (!isLoaded())
        return {};
    // What cannot fit is not begun: an archive that fills the disk leaves
    // the disk full for every other program too.
    const quint64 needed = bytesToRestore(baseFolder);
    if (needed > 0) {
        const std::optional<plat::DiskSpace> space = plat::diskSpace(baseFolder);
        if (space && needed > space->freeBytes) {
            RestoreOutcome refused;
            for (const comp::ZipEntryInfo& e : entries())
                refused.files += e.isFolder ? 0 : 1;
            refused.refusal = NotEnoughSpaceText(path_, needed, space->freeBytes);
            return refused;
        }
    }
    BaseFolder = baseFolder;
    reader_->setPasswordProvider(askPassword);
    const std::vector<comp::ZipExtractReport> reports = reader_->extractAll(baseFolder, progress);
    return SummariseRestore(reports, reader_->entries());
}

}  // namespace del
