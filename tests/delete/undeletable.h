#pragma once
// Makes a file that neither deleting nor the trash can remove, also when the
// tests run as root: the immutable bit where the file system has it, else a
// folder without write permission (which root ignores, so then: not possible).

#include "support/tempdrives.h"

#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace delete_test {

inline bool makeUndeletable(const QString& posixFile)
{
    const QString folder = QFileInfo(posixFile).absolutePath();
    if (testing_support::immutableSupported(folder))
        return testing_support::setImmutable(posixFile, true);
    if (::geteuid() == 0)
        return false;
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
}

inline void undoUndeletable(const QString& posixFile)
{
    testing_support::setImmutable(posixFile, false);
    QFile::setPermissions(QFileInfo(posixFile).absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace delete_test
