#pragma once
// Small free functions that nearly every window uses.

#include "platform/findfile.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace core {

// A 32-bit local DOS date and time: date in the high 16 bits, time in the
// low 16 bits; 0 = no time recorded.
using PackedDosDateTime = quint32;

enum EntryKindValue { ekFolder = 0, ekDotEntry = 1, ekFile = 2 };

// Message boxes through the prompter in use.
void ErrorBox(const QString& message);
void WarningBox(const QString& message);
void InfoBox(const QString& message);

// Text tests and conversions.
bool IsLetter(QChar c);
bool IsDigit(QChar c);
bool IsLetterOrDigit(QChar c);
bool IsBlankChar(QChar c);
bool IsBlankText(const QString& s);
QString DigitsOnly(const QString& s);
qint64 StrToIntOrZero(const QString& s);
double StrToFloatOrZero(const QString& s);
QString TabField(const QString& s, int n);
QString JoinPath(const QString& folder, const QString& name);

// Number texts.
QString FormatGrouped(qint64 n);
QString FormatGroupedF(double x);
QString FormatNumberText(double x);

// The program-wide short date format (set at start-up by fix2000).
QString ShortDateFormat();
void SetShortDateFormat(const QString& format);
// The date-format widening of start-up: "yy" -> "yyyy", first "MMM" -> "MM".
QString WidenDateFormat(const QString& format);
// The locale's long time format, without the time-zone field.
QString LongTimeFormat();

// Date texts.
QString SafeDateToStr(const QDate& d);
QDateTime DosToDateTime(PackedDosDateTime t);
PackedDosDateTime DateTimeToDos(const QDateTime& local);  // 0 when out of DOS range
QString DosDateText(PackedDosDateTime t);
QString DosTimeText(PackedDosDateTime t);
QString DosTimeHHMM(PackedDosDateTime t);
QString DosDateYYYYMMDD(PackedDosDateTime t);
int AgeInDays(PackedDosDateTime t);
int AgeInDays(PackedDosDateTime t, const QDate& today);
QString AgeText(const QDateTime& d);
QString RelativeDateText(const QDateTime& d, const QDateTime& ref);

// Found-file record functions.
double FindDataSize(const plat::FindData& f);
PackedDosDateTime LastAccessDosTime(const plat::FindData& f);
PackedDosDateTime CreationDosTime(const plat::FindData& f);
PackedDosDateTime LastWriteDosTime(const plat::FindData& f);
PackedDosDateTime FileTimeToLocalDos(plat::FileTime t);  // 0 when it fails
int EntryKind(const plat::FindData& r);

// Drives and folders.
bool GetDiskSpace(const QString& root, double& freeBytes, double& totalBytes);
bool DriveReady(QChar letter);
bool PathDriveReady(const QString& path);
void ChangeToFolder(const QString& path);  // raises plat::IoError
// The folder ChangeToFolder goes to for a path: a drive and colon without a
// backslash, or with two backslashes in a row, stand for the drive's root.
QString FolderOfEntry(const QString& path);

// File types.
QString FileTypeName(const QString& ext);
// FileTypeName once per extension: a listing names the types of many files
// that share few extensions, and each lookup asks the MIME database.
class FileTypeNames {
public:
    // By extension as FileTypeName takes it (".txt"; empty for none).
    QString ofExtension(const QString& ext);
    // By a file's name: the extension from its last dot, in lower case.
    QString ofFile(const QString& fileName);

private:
    QHash<QString, QString> names_;
};
void ListRegisteredExtensions(QStringList& list, bool withAll);

// The strings view: writes the readable text runs of inFile to outFile.
void ExtractTextRuns(const QString& inFile, const QString& outFile, int minLen, int maxLen);
// The same into a device already open for writing (a temporary file, the
// standard output). False when the input could not be opened (the error box
// has said so); a write error raises plat::IoError naming outName.
bool ExtractTextRuns(const QString& inFile, QIODevice& out, const QString& outName, int minLen, int maxLen);

// Settings and registry.
QString SettingsRootKey();
// key: "Software\Halvane\Trovik\3.0\<Section>" (or a path below the root);
// empty on any failure.
QString ReadUserRegString(const QString& key, const QString& name);
QString ReadMachineRegString(const QString& key, const QString& name);

}  // namespace core
