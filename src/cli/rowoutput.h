#pragma once
// The machine-readable forms of trovik-scan's row listings, one writer for
// every command: --json writes one JSON document per run,
//   {"version": 1, "command": ..., "criteria": {...}, "rows": [...],
//    "messages": [...]}
// and --print0 writes only the rows' POSIX paths, each ended by a NUL byte.
//
// Rows go out as they are added (a million of them are never held as JSON
// values at once); the messages, which stay on standard error as well, come
// after them, so the document is complete only once finish() has run.

#include "core/helpers.h"
#include "platform/findfile.h"
#include "platform/foldertree.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

namespace core {
class SafeHarbor;
}

namespace cli {

enum class OutputFormat { Text, Json, Print0 };

// Takes every --json and --print0 out of args. False when both are given.
bool TakeOutputFormat(QStringList& args, OutputFormat& format);

// A file time as ISO 8601 local time with its offset from UTC
// ("2026-03-01T14:05:09+01:00"), whole seconds; null when not recorded.
QJsonValue FileTimeJson(plat::FileTime t);

// Puts a POSIX path into a row as "path". Bytes that are not UTF-8 (a mount
// point can hold any) cannot be a JSON string: "path" then holds the text
// with U+FFFD in their place and "pathBytes" the exact bytes in base64.
void PutPosixPath(QJsonObject& row, const QByteArray& posix);

// A count as the grids write it ("5,368,709,120" with the locale's group
// separator); empty for anything else.
std::optional<quint64> ParseGroupedCount(QStringView text);

class RowOutput {
public:
    RowOutput(OutputFormat format, const QString& command, FILE* to = stdout);
    ~RowOutput();
    RowOutput(const RowOutput&) = delete;
    RowOutput& operator=(const RowOutput&) = delete;

    OutputFormat format() const { return format_; }

    // What the command searched for; set before the first row.
    void setCriteria(const QJsonObject& criteria) { criteria_ = criteria; }
    // Rows of files and folders carry their Safe Harbor reason ("harbor")
    // when the protected folder list has been built.
    void testSafeHarbor();

    // A file a search found: its size, times and type are read now from the
    // file itself (no link followed); when it is gone they are null. More
    // fields come in extra.
    void addFile(const QString& drivePath, const QJsonObject& extra = {});
    // Rows 0 .. count - 1 of a result grid, as addFile writes each. The
    // files are read a folder at a time, so that rows of one folder far
    // apart (a list by size) do not open their folder again and again.
    void addFiles(int count, const std::function<QString(int)>& pathOf,
                  const std::function<QJsonObject(int)>& extraOf = {});
    // A folder row: what the command measured, in fields.
    void addFolder(const QString& drivePath, const QJsonObject& fields);
    // A row of a path and the given fields only.
    void addRow(const QString& drivePath, const QJsonObject& fields);

    void addMessage(const QString& text) { messages_ << text; }
    // Ends the document (JSON); written once, also when no row was added.
    void finish();

private:
    struct FileFacts {
        quint64 size = 0;
        plat::FileTime modified = 0, accessed = 0, created = 0;
        bool found = false;
    };
    FileFacts readFacts(const QString& drivePath);
    void putFile(const QString& drivePath, const FileFacts& facts, QJsonObject row);
    void put(const QString& drivePath, QJsonObject row, bool isFile, bool withHarbor);
    void writeHead();
    void write(const QByteArray& bytes);

    OutputFormat format_;
    QString command_;
    FILE* to_;
    QJsonObject criteria_;
    QStringList messages_;
    bool headWritten_ = false;
    bool finished_ = false;
    qint64 rows_ = 0;
    std::unique_ptr<core::SafeHarbor> harbor_;
    plat::ParentFolderCache folders_;
    core::FileTypeNames typeNames_;
};

// The run's row writer; null when rows are printed as text.
RowOutput* rowOutput();
void setRowOutput(RowOutput* output);

}  // namespace cli
