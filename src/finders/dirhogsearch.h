#pragma once
// The folder-hog search, shared by the window and the command line: how much
// the folders of the ticked entries hold, one line per folder, largest
// first. "Main folders" gives one line per folder directly under each
// entry, totalled over its whole tree; "All Folders" one line per folder,
// counting the files that lie directly in it.
//
// Each folder is read once: its sub-folders are walked from that read, then
// its files are counted from the same read. A file with several hard links
// counts once per entry, in the first line that meets it.

#include "components/resultgrid.h"
#include "core/dostexts.h"
#include "core/helpers.h"
#include "platform/foldertree.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace finders {

extern const char* const kDirHogResourceLimitMessage;
extern const char* const kDirHogFolderGoneMessage;

enum class DirHogMode { MainFolders, AllFolders };

class DirHogSearch {
public:
    // Lines a search holds at most.
    static constexpr int kDefaultCapacity = 2000000;
    // Column titles, in grid order.
    static QStringList titles();

    DirHogSearch();
    ~DirHogSearch();

    std::function<void(const QString&)> status;  // the folder being read; empty at the end
    std::function<void()> pump;                  // pending events
    std::function<void(const QString&)> warning; // the resource-limit message
    int capacity = kDefaultCapacity;

    // A fresh grid: titles, one empty row, nothing found.
    void clear();
    // Measures each root entry in its order (a drive entry or a folder path
    // as the drive list holds it) and sorts the grid largest first with the
    // "Sort by &Size" command, whose flag then says ascending.
    void search(const QStringList& roots, DirHogMode mode);
    void abort() { abortFlag_ = true; }
    bool aborted() const { return abortFlag_; }

    DirHogMode mode() const { return mode_; }
    comp::ResultGrid& grid() { return grid_; }
    const comp::ResultGrid& grid() const { return grid_; }
    int lines() const { return grid_.rowsUsed(); }
    // The number after "Folders : ": every line in Main folders mode, all
    // but the start folder's in All Folders mode.
    int folderCount() const;
    // "No files found." is due.
    bool noResult() const;

    // True while a data row's folder is still there and is the very folder
    // that was measured (not a link, not another folder by the same name).
    bool stillMeasured(int row) const;
    // Measures a row's folder again as its line was measured (its tree, or
    // its own files), after a deletion left it in place. False when it can
    // no longer be read; the row is then left as it was.
    bool measureAgain(int row);

    // Titles first, then one line per data row, cells joined by tabs.
    void writeGridLines(const std::function<void(QStringView)>& write) const;

private:
    struct Line;
    class Visitor;
    void measure(const QString& root, DirHogMode mode);
    bool addLine(const Line& line, const QString& path, const plat::FileIdentity& id, double driveTotal);
    // The cells of a line but its name, into texts reused line to line.
    struct Cells;
    void fillCells(const Line& line, double driveTotal, Cells& out);
    QStringList cells(const Line& line, double driveTotal);
    // The grid's text of a packed local date.
    QString dateText(core::PackedDosDateTime t);
    // The "% Used" text of a share in per cent.
    QString usedText(double percent);

    comp::ResultGrid grid_;
    std::vector<plat::FileIdentity> identities_;  // by row tag
    std::vector<quint64> bytes_;                  // by row tag: the Size cell's number
    std::unique_ptr<Cells> cells_;
    // What a search formats its numbers with, taken once per search.
    QString groupSeparator_;
    std::vector<QString> usedTexts_;  // by hundredths of a per cent, as made
    core::LocalDosClock clock_;
    DirHogMode mode_ = DirHogMode::MainFolders;
    bool abortFlag_ = false;
    bool full_ = false;
    quint16 lastDate_ = 0;
    QString lastDateText_;
};

// The refusal of "Clean?" for a folder, in this window's words; empty when
// the folder may be handed to the folder deletion.
QString DirHogRefusalMessage(const QString& folder);

// "c:\" and the rest of a drive path as the file system spells it.
QString DirHogName(const QString& drivePath);

}  // namespace finders
