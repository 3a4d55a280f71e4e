#pragma once
// What the zip operation's tests share: drives C and D with the archive
// folder C:\zips, source files written by relative path, and the errors the
// operation reported.
#include "support/tempdrives.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>

namespace zipop_test {

class ZipSourcesTest : public ::testing::Test {
protected:
    void SetUp() override { drives.makeFolder('C', "zips"); }

    // Writes drive:rel and returns its drive path.
    QString file(QChar drive, const QString& rel, const QByteArray& data)
    {
        drives.writeFile(drive, rel, data);
        return QString(drive) + ":\\" + QString(rel).replace('/', '\\');
    }
    bool exists(const QString& drivePath) const { return QFileInfo::exists(drives.posix(drivePath)); }
    QByteArray read(const QString& drivePath) const
    {
        QFile f(drives.posix(drivePath));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    testing_support::TempDrives drives{"CD"};
    QStringList errors;
};

}  // namespace zipop_test
