#include "browse/folderlisting.h"

#include "core/helpers.h"
#include "finders/folderrefusal.h"
#include "reports/sortcommand.h"

#include <QHash>

#include <algorithm>

namespace browse {

QStringList BrowseTitles()
{
    return {QStringLiteral("Modified"), QStringLiteral("Time"),     QStringLiteral("Access"),
            QStringLiteral("Size"),     QStringLiteral("Filename"), QStringLiteral("Type")};
}

QList<int> BrowseColumnBases()
{
    return {69, 66, 66, 65, 101, 90};
}

QStringList SplitPatterns(const QString& pattern)
{
    QStringList out;
    for (const QString& p : pattern.split(u';')) {
        const QString t = p.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    if (out.isEmpty())
        out << QStringLiteral("*.*");
    return out;
}

bool MatchesAnyPattern(const QStringList& patterns, const QString& name)
{
    return std::any_of(patterns.begin(), patterns.end(),
                       [&name](const QString& p) { return plat::matchesWildcard(p, name); });
}

FolderContents ReadFolder(const QString& folder, const QStringList& patterns)
{
    FolderContents out;
    plat::FindData self;
    if (!plat::statPath(folder, self) || !(self.attributes & plat::faDirectory))
        return out;
    // Folders and plain or read-only files; hidden and system entries and
    // links are not asked for.
    constexpr quint32 mask = plat::faDirectory | plat::faReadOnly | plat::faArchive;
    plat::FolderEnum e;
    plat::FindData f;
    if (!e.findFirst(core::JoinPath(folder, QStringLiteral("*")), mask, f))
        return out;
    out.readable = true;
    do {
        if (f.attributes & plat::faDirectory) {
            // Another file system's folder (a mount point) is never entered.
            if (f.name != u"." && f.name != u".." && f.device == self.device)
                out.folders << f.name;
        } else if (MatchesAnyPattern(patterns, f.name)) {
            out.files.push_back(f);
        }
    } while (e.findNext(f));
    std::sort(out.folders.begin(), out.folders.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return out;
}

GridTotals FillBrowseGrid(comp::ResultGrid& grid, const QString& folder, const std::vector<plat::FindData>& files)
{
    grid.reset(BrowseTitles());
    grid.reserveRows(int(files.size()) + 1);
    GridTotals totals;
    core::FileTypeNames typeNames;
    for (const plat::FindData& f : files) {
        const core::PackedDosDateTime written = core::LastWriteDosTime(f);
        const double size = core::FindDataSize(f);
        grid.addRow({core::DosDateText(written), core::DosTimeText(written),
                     core::DosDateText(core::LastAccessDosTime(f)), core::FormatGroupedF(size), f.name, typeNames.ofFile(f.name)},
                    core::JoinPath(folder, f.name));
        ++totals.files;
        totals.bytes += size;
    }
    grid.fitRowCount();
    return totals;
}

bool ListFolderAsShown(comp::ResultGrid& grid, const QString& folder, const QString& pattern, GridTotals& totals)
{
    const FolderContents contents = ReadFolder(folder, SplitPatterns(pattern));
    totals = FillBrowseGrid(grid, folder, contents.files);
    if (const reports::SortCommand* byName = reports::FindSortCommand(u"TfrmBrowse", u"Name")) {
        reports::SortCommand asStarted = *byName;
        asStarted.fixedDirection = true;
        reports::RunSortCommand(grid, asStarted, reports::FlipRule::Keep);
    }
    return contents.readable;
}

std::vector<TreeLine> FolderTreeLines(const QString& folder, const QStringList& subFolders)
{
    std::vector<TreeLine> lines;
    if (folder.size() < 3)
        return lines;
    const QString root = folder.left(3);
    lines.push_back({root, root, 0, true});
    QString path = root;
    int depth = 0;
    for (const QString& part : folder.mid(3).split(u'\\', Qt::SkipEmptyParts)) {
        path = core::JoinPath(path, part);
        lines.push_back({part, path, ++depth, true});
    }
    for (const QString& name : subFolders)
        lines.push_back({name, core::JoinPath(path, name), depth + 1, false});
    return lines;
}

QString ParentFolder(const QString& path)
{
    QString p = path;
    while (p.size() > 3 && p.endsWith(u'\\'))
        p.chop(1);
    if (p.size() <= 3)
        return QString();
    const qsizetype slash = p.lastIndexOf(u'\\');
    if (slash < 2)
        return QString();
    return p.left(slash == 2 ? 3 : slash);
}

namespace {

QString RefusalText(finders::FolderRefusal refusal)
{
    switch (refusal) {
    case finders::FolderRefusal::Root:
        return QStringLiteral(
            "Cannot delete the root folder! To delete a folder including all files and sub-folders double click on "
            "the desired folder shown in the left panel.");
    case finders::FolderRefusal::Windows:
        return QStringLiteral("You cannot delete the Windows folder using Trovik 99");
    case finders::FolderRefusal::None:
        break;
    }
    return QString();
}

}  // namespace

QString DeleteFolderRefusal(const QString& folder, const QStringList& systemTrees)
{
    return RefusalText(finders::RefuseFolder(folder, systemTrees));
}

QString DeleteFolderRefusal(const QString& folder)
{
    return RefusalText(finders::RefuseFolder(folder));
}

}  // namespace browse
