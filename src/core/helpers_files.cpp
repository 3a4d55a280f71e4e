// Found-file records, file times, drives and folders, file types and the
// text runs of the strings view.
#include "core/helpers.h"

#include "platform/drives.h"
#include "platform/fileops.h"
#include "platform/filereader.h"
#include "platform/filetypes.h"

#include <QFile>

#include <ctime>

namespace core {

// ---------------------------------------------------------------------------
// Found-file records and file times

double FindDataSize(const plat::FindData& f)
{
    return double(f.sizeHigh) * 4294967296.0 + double(f.sizeLow);
}

PackedDosDateTime FileTimeToLocalDos(plat::FileTime t)
{
    if (t == 0)
        return 0;
    // 100-ns intervals since 1601-01-01 UTC -> seconds since 1970-01-01 UTC.
    constexpr qint64 kEpochDifference = 11644473600LL;
    const qint64 seconds = qint64(t / 10000000ULL) - kEpochDifference;
    const std::time_t tt = std::time_t(seconds);
    if (qint64(tt) != seconds)
        return 0;
    std::tm local{};
    if (!localtime_r(&tt, &local))
        return 0;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107)
        return 0;
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;  // leap second
    return (PackedDosDateTime(year - 1980) << 25) | (PackedDosDateTime(local.tm_mon + 1) << 21)
        | (PackedDosDateTime(local.tm_mday) << 16) | (PackedDosDateTime(local.tm_hour) << 11)
        | (PackedDosDateTime(local.tm_min) << 5) | PackedDosDateTime(second / 2);
}

PackedDosDateTime LastAccessDosTime(const plat::FindData& f)
{
    return FileTimeToLocalDos(f.lastAccessTime);
}

PackedDosDateTime CreationDosTime(const plat::FindData& f)
{
    return FileTimeToLocalDos(f.creationTime);
}

PackedDosDateTime LastWriteDosTime(const plat::FindData& f)
{
    return FileTimeToLocalDos(f.lastWriteTime);
}

int EntryKind(const plat::FindData& r)
{
    if (r.name == QLatin1String(".") || r.name == QLatin1String(".."))
        return ekDotEntry;
    if (r.attributes & plat::faDirectory)
        return ekFolder;
    return ekFile;
}

// ---------------------------------------------------------------------------
// Drives and folders

bool GetDiskSpace(const QString& root, double& freeBytes, double& totalBytes)
{
    freeBytes = 0;
    totalBytes = 0;
    try {
        if (const auto space = plat::diskSpace(root)) {
            freeBytes = double(space->freeBytes);
            totalBytes = double(space->totalBytes);
        }
    } catch (...) {
        freeBytes = 0;
        totalBytes = 0;
    }
    return true;
}

bool DriveReady(QChar letter)
{
    ushort u = letter.unicode();
    if (u >= 'a' && u <= 'z')
        u = ushort(u - 'a' + 'A');
    if (u < 'A' || u > 'Z') {
        u = 'C';
        plat::setCurrentFolder(QStringLiteral("C:\\"));
    }
    return plat::driveReady(QChar(u));
}

bool PathDriveReady(const QString& path)
{
    if (path.size() >= 2 && path[1] == QLatin1Char(':'))
        return DriveReady(path[0]);
    return true;
}

QString FolderOfEntry(const QString& path)
{
    const bool driveColon = path.size() >= 2 && path[1] == QLatin1Char(':');
    if (driveColon) {
        const QString root = QString(path[0].toUpper()) + QStringLiteral(":\\");
        if (!path.contains(QLatin1Char('\\')) || path.contains(QLatin1String("\\\\")))
            return root;
    }
    return path;
}

void ChangeToFolder(const QString& path)
{
    if (path.isEmpty())
        return;
    plat::setCurrentFolder(FolderOfEntry(path));
}

// ---------------------------------------------------------------------------
// File types

QString FileTypeNames::ofExtension(const QString& ext)
{
    auto it = names_.constFind(ext);
    if (it == names_.constEnd())
        it = names_.insert(ext, FileTypeName(ext));
    return *it;
}

QString FileTypeNames::ofFile(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return ofExtension(dot < 0 ? QString() : fileName.mid(dot).toLower());
}

QString FileTypeName(const QString& ext)
{
    if (ext == QLatin1String("*."))
        return QStringLiteral("No extension");
    QString name;
    if (ext.startsWith(QLatin1Char('.')) && !ext.contains(QLatin1Char('*'))) {
        try {
            name = plat::fileTypes().typeName(ext);
        } catch (...) {
            name.clear();
        }
    }
    if (name.isEmpty() && !ext.isEmpty() && !ext.contains(QLatin1Char('*')))
        name = ext.mid(1).toUpper() + QStringLiteral(" File");
    return name;
}

void ListRegisteredExtensions(QStringList& list, bool withAll)
{
    list.clear();
    if (withAll)
        list << QStringLiteral("*.*");
    QStringList extensions;
    try {
        extensions = plat::fileTypes().registeredExtensions();
    } catch (...) {
        extensions.clear();
    }
    extensions.removeDuplicates();
    extensions.sort(Qt::CaseInsensitive);
    for (const QString& e : std::as_const(extensions)) {
        if (e.startsWith(QLatin1Char('.')) && e.size() >= 2 && e.size() <= 5)
            list << QLatin1Char('*') + e;
    }
}

// ---------------------------------------------------------------------------
// The strings view

void ExtractTextRuns(const QString& inFile, const QString& outFile, int minLen, int maxLen)
{
    plat::RegularFileReader probe;
    if (!probe.open(inFile)) {
        ErrorBox(QStringLiteral("Could not open file ") + inFile);
        return;
    }
    probe.close();

    const auto outPosix = plat::toPosix(outFile);
    if (!outPosix)
        throw plat::IoError("Cannot create file " + outFile.toStdString());
    QFile out(QFile::decodeName(*outPosix));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw plat::IoError("Cannot create file " + outFile.toStdString() + ": " + out.errorString().toStdString());
    ExtractTextRuns(inFile, out, outFile, minLen, maxLen);
    out.close();
}

bool ExtractTextRuns(const QString& inFile, QIODevice& out, const QString& outName, int minLen, int maxLen)
{
    plat::RegularFileReader in;
    if (!in.open(inFile)) {
        ErrorBox(QStringLiteral("Could not open file ") + inFile);
        return false;
    }

    auto writeLine = [&](const QByteArray& line) {
        if (out.write(line) != line.size() || out.write("\n", 1) != 1)
            throw plat::IoError("Cannot write file " + outName.toStdString() + ": "
                                + out.errorString().toStdString());
    };

    QByteArray run;
    QByteArray lastLine;
    char block[2048];
    for (;;) {
        const qint64 got = in.read(block, sizeof block);
        if (got < 0)
            throw plat::IoError("Cannot read file " + inFile.toStdString());
        if (got == 0)
            break;
        for (qint64 i = 0; i < got; ++i) {
            const char c = block[i];
            const bool runChar = c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')
                || (c >= 'a' && c <= 'z');
            if (!runChar) {
                if (run.size() >= minLen && run != lastLine) {
                    writeLine(run);
                    lastLine = run;
                }
                run.clear();
            } else if (run.size() <= maxLen) {
                run += c;
            }
        }
    }
    // A run still open at the end of the file is not written.
    if (auto* file = qobject_cast<QFileDevice*>(&out); file && !file->flush())
        throw plat::IoError("Cannot write file " + outName.toStdString());
    return true;
}

}  // namespace core
