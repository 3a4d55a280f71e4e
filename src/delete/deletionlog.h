#pragma once
// The deletion log: one row per delete, trash or zip batch, seven columns
// under a header row, kept in grdelete.txt in the program folder and
// written after every change. It lives for the whole run in one object the
// application owns (programLog()); the statistics window shows it.
//
// The file, one item a line: "7,<rows incl. header>", then "cw <c>,<width>"
// per column, then "<col>,<row>,<text>" for every non-empty cell, row by row
// from the header. In a cell text a carriage return is kept as a TAB and a
// line feed as a backspace.
//
// Saving replaces the file in one step (write a new file, then rename), so a
// crash leaves either the old file or the new one, never a cut one. When the
// file cannot be written the rows stay in memory, save() answers false and
// lastError() tells why; the caller reports it.
//
// A file that exists but could not be loaded is never overwritten: the first
// save renames it to a free name beside it (grdelete.txt.bad, .bad1, ...)
// before writing the new log, so its rows can still be recovered by hand.

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace del {

class DeletionLog : public QObject {
    Q_OBJECT
public:
    static constexpr int kColumns = 7;
    static const QStringList& headers();
    static const QList<int>& defaultWidths();

    // A fresh log: the header row and two empty data rows. posixFile is
    // where it is loaded from and saved to; empty: kept in memory only.
    explicit DeletionLog(const QString& posixFile = QString(), QObject* parent = nullptr);

    QString file() const { return file_; }
    void setFile(const QString& posixFile)
    {
        file_ = posixFile;
        damaged_ = false;
    }

    // Rows including the header row (row 0).
    int rowCount() const { return int(rows_.size()); }
    QString cell(int column, int row) const;
    int columnWidth(int column) const;
    // The data rows in use (a filled "Date/Time" cell), top first.
    int usedRows() const;

    // Reads the file. A missing file leaves the fresh log and is no error.
    // A file that cannot be read, or is not a log, leaves the log as it was
    // and answers false (lastError() says why); the file is then damaged()
    // and is set aside under damagedFileKeptAs() by the next save.
    bool load();
    bool damaged() const { return damaged_; }
    // The free name beside the file that a damaged file is (or will be) kept
    // under; empty when the file is not damaged and was never set aside.
    QString damagedFileKeptAs() const { return keptAs_; }
    // Writes the whole log with a safe replace; false on failure (rows kept).
    // A damaged file is renamed first; when that fails nothing is written.
    bool save();
    // Blanks every data row, keeps one, saves.
    bool clear();
    // One batch: into the first data row with an empty "Date/Time", else a
    // new row inserted at row 1 (newest first); then saves. The row is kept
    // also when saving fails (the answer is then false).
    bool addToDeleteGrid(qint64 deleted, double deletedBytes, qint64 recycled, double recycledBytes,
                         qint64 zipped, double zippedBytes);

    QString lastError() const { return lastError_; }

    // The file format both ways; parse answers nothing for text that is not
    // a log of seven columns.
    QString toText() const;
    bool fromText(const QString& text);

    // The clock of the "Date/Time" cells; tests fix it.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

    // A number as the log writes it: the shortest decimal text, no grouping.
    static QString plainNumber(double value);

signals:
    // After every change of the rows (add, clear, load).
    void changed();

private:
    void reset();
    bool setDamagedFileAside();
    static QString freeDamagedName(const QString& file);
    QList<QStringList> rows_;
    QList<int> widths_;
    QString file_;
    QString lastError_;
    bool damaged_ = false;
    QString keptAs_;
    std::function<QDateTime()> clock_;
};

// The log of the running program. The application registers its own at
// start-up; until then a log kept in memory only is answered.
DeletionLog& programLog();
void setProgramLog(DeletionLog* log);  // not owned; nullptr: the in-memory one

}  // namespace del
