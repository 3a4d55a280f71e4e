#pragma once
// Temporary drives, settings and program folder for one test.
// Sets TROVIK_DRIVES, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME,
// TROVIK_HOME and HOME to folders inside one temporary folder, reloads the
// drive table, and restores everything when destroyed.

#include "support/qtprint.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <optional>

namespace testing_support {

class TempDrives {
public:
    // letters: the drives to make, each a folder under the temporary folder
    // ("C" -> <tmp>/drive_c mounted as C:). kinds: optional ":removable" etc.
    explicit TempDrives(const QString& letters = "CD", const QMap<QChar, QString>& kinds = {});
    ~TempDrives();
    TempDrives(const TempDrives&) = delete;
    TempDrives& operator=(const TempDrives&) = delete;

    QString root() const { return dir_.path(); }          // POSIX temp folder
    QString posix(QChar letter) const;                     // mount point of a drive
    QString posix(const QString& drivePath) const;         // mapped POSIX path
    QString configHome() const { return root() + "/config"; }
    QString programHome() const { return root() + "/program"; }

    // Writes a file (POSIX path relative to the drive root), making folders.
    QString writeFile(QChar letter, const QString& relPath, const QByteArray& contents = "x");
    QString makeFolder(QChar letter, const QString& relPath);

private:
    QTemporaryDir dir_;
    std::map<QByteArray, std::optional<QByteArray>> saved_;
    void setEnv(const char* name, const QByteArray& value);
};

// True when chattr +i works on a file in this folder (needed to make a
// refusal that root cannot override).
bool immutableSupported(const QString& folder);
bool setImmutable(const QString& posixPath, bool on);

}  // namespace testing_support
