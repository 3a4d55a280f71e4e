#pragma once
// Helpers shared by the platform tests.

#include "platform/findfile.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <ostream>

#include "support/capabilities.h"
#include "support/qtprint.h"

inline void PrintTo(const QByteArray& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace platform_test {

// Every entry FindFirst/FindNext gives for a pattern, by name.
QMap<QString, plat::FindData> collect(const QString& pattern, quint32 mask, int* error = nullptr);

// Creates an empty file at a raw POSIX path; false when it cannot.
bool touchRaw(const QByteArray& posixPath);
// Creates a file of the given size with no data blocks (like `truncate -s`).
bool makeSparse(const QByteArray& posixPath, qint64 size);

using testing_support::NoDacOverride;

}  // namespace platform_test
