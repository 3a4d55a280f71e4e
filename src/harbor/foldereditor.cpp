#include "harbor/foldereditor.h"

#include "core/safeharbor.h"

#include <QLocale>
#include <algorithm>
#include <iterator>

namespace harbor {

namespace {
const QString kRuleSuffix = QStringLiteral("*.*");
}

EntryEdit SplitEntry(const QString& entry)
{
    if (entry.contains(kRuleSuffix))
        return {entry.chopped(3), true};
    return {entry, false};
}

QString JoinEntry(const EntryEdit& edit)
{
    return edit.subtree ? edit.text + kRuleSuffix : edit.text;
}

QString EditFolderExplanation(const QString& folder, bool subtree)
{
    if (subtree) {
        if (folder.isEmpty())
            return QStringLiteral("All files and sub-folders below the one you select will NOT be deleted.");
        return QStringLiteral("All files and sub-folders below \"") + folder + QStringLiteral("\" will NOT be")
            + QStringLiteral(" deleted.");
    }
    if (folder.isEmpty())
        return QString();
    return QStringLiteral("Only files in this folder \"") + folder + QStringLiteral("\" will NOT be deleted.");
}

int ApplyEntryEdit(QStringList& list, int row, const EntryEdit& edit)
{
    const QString entry = JoinEntry(edit);
    list[row] = entry;
    if (!edit.subtree)
        return row;
    QStringList scratch;
    core::CollapseSubtreeRules(list, scratch);
    // The rule survives its own collapse; several equal rules are one place.
    return int(list.indexOf(entry));
}

void RemoveRows(QStringList& list, QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int r : rows)
        if (r >= 0 && r < list.size())
            list.removeAt(r);
}

void SortedGrowth::start(const QStringList& list)
{
    sorted_ = list;
    core::SortFolderList(sorted_);
    seen_ = list.size();
}

const QStringList& SortedGrowth::update(const QStringList& list)
{
    QStringList fresh = list.mid(seen_);
    seen_ = list.size();
    if (fresh.isEmpty())
        return sorted_;
    core::SortFolderList(fresh);
    QStringList merged;
    merged.reserve(sorted_.size() + fresh.size());
    std::merge(sorted_.cbegin(), sorted_.cend(), fresh.cbegin(), fresh.cend(), std::back_inserter(merged),
               [](const QString& a, const QString& b) { return core::CompareFolderText(a, b) < 0; });
    sorted_ = std::move(merged);
    return sorted_;
}

QString FolderCountText(qsizetype count)
{
    return QString::number(count) + QStringLiteral(" folders");
}

QString LongDateText(const QDate& date)
{
    return QLocale().toString(date, QLocale::LongFormat);
}

QString BuildQuestion()
{
    return QStringLiteral(
        "Trovik will now scan the registry for references to folders.  Those folders ending with *.* will not be "
        "discarded during the scan.  It may take a few minutes.  Continue? ");
}

QString NothingSelectedMessage()
{
    return QStringLiteral("Select one or more folders from the list above");
}

QString DeleteFoldersQuestion()
{
    return QStringLiteral("Really delete the selected folders?");
}

QString SelectFolderFirstMessage()
{
    return QStringLiteral("Select a folder first");
}

QString FolderPickerCaption()
{
    return QStringLiteral("Select a folder that won't be deleted");
}

}  // namespace harbor
