#pragma once
// Shared pieces of trovik-scan's commands.

#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

// Exit statuses: 0 done, 1 a message the window would show in a box, 2 usage.
constexpr int kOk = 0;
constexpr int kMessage = 1;
constexpr int kUsage = 2;

// A path argument as a drive path: "C:\usr\bin\ls" as it is, or an absolute
// POSIX path mapped to its drive. Empty when it is neither.
std::optional<QString> DrivePathArgument(const QString& arg);

void Out(const QString& line);  // one line on standard output
void Err(const QString& line);  // one line on standard error (and in a JSON document)

}  // namespace cli
