#pragma once
// What the folder browser shows of one folder, without widgets: its
// sub-folders for the tree and its files for the grid, from one read of the
// folder; the tree's lines from the drive root down; and the rules of
// "Delete &Folder". Shared with trovik-scan's list.

#include "components/resultgrid.h"
#include "platform/findfile.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace browse {

// The grid's columns.
enum BrowseColumn { bcModified = 0, bcTime, bcAccess, bcSize, bcName, bcType, bcCount };
QStringList BrowseTitles();
// The column-width bases of "ColWid0" .. "ColWid5" at 96 dots per inch.
QList<int> BrowseColumnBases();

// "*.TXT;*.doc" -> {"*.TXT", "*.doc"}; blanks around each pattern are
// dropped, and an empty text stands for "*.*".
QStringList SplitPatterns(const QString& pattern);
bool MatchesAnyPattern(const QStringList& patterns, const QString& name);

struct FolderContents {
    bool readable = false;
    // Folders below, as the file system spells them, in name order without
    // regard to case: no hidden ones, no links, none on another file system.
    QStringList folders;
    // Files the patterns let through, in the order read: no hidden or
    // system files, no links.
    std::vector<plat::FindData> files;
};
// One read of a drive path's folder.
FolderContents ReadFolder(const QString& folder, const QStringList& patterns);

struct GridTotals {
    int files = 0;
    double bytes = 0;
};
// The grid as a fresh listing fills it: titles, one row per file (the real
// path as the row's path), one empty row when there is none.
GridTotals FillBrowseGrid(comp::ResultGrid& grid, const QString& folder, const std::vector<plat::FindData>& files);

// The grid as the browser first shows a folder: filled, then in name order
// (the name sort's direction as the program starts). False when the folder
// cannot be read.
bool ListFolderAsShown(comp::ResultGrid& grid, const QString& folder, const QString& pattern, GridTotals& totals);

// The folder tree: the drive root, each folder on the way to the current
// one, then the current folder's sub-folders one level deeper.
struct TreeLine {
    QString text;  // the folder's own name; the drive root as "C:\"
    QString path;  // its real drive path
    int depth = 0;
    bool open = false;  // the root, a folder on the way, the current folder
};
std::vector<TreeLine> FolderTreeLines(const QString& folder, const QStringList& subFolders);

// The folder holding a drive path, by its text: "C:\A\B" -> "C:\A",
// "C:\A" -> "C:\"; a drive root has none (empty).
QString ParentFolder(const QString& path);

// The error box "Delete &Folder" shows instead of going on; empty when the
// folder may go to the folder deletion window. The refusal rule is the one
// folder hogs use (drive roots and mount points; the Windows folder names,
// the system trees and the folders holding one), in this window's words.
QString DeleteFolderRefusal(const QString& folder, const QStringList& systemTrees);
// The same with the system trees of this machine.
QString DeleteFolderRefusal(const QString& folder);

}  // namespace browse
