#include "core/safeharbor.h"

#include "core/settings.h"
#include "platform/environment.h"

#include <QFile>
#include <algorithm>

namespace core {

namespace {
const QString kRuleSuffix = QStringLiteral("*.*");

bool IsRule(const QString& entry)
{
    return entry.contains(kRuleSuffix);
}

QStringList RulesOf(const QStringList& list)
{
    QStringList rules;
    for (const QString& e : list)
        if (IsRule(e))
            rules << e;
    return rules;
}

void AddUnique(QStringList& list, const QString& entry)
{
    for (const QString& e : list)
        if (CompareFolderText(e, entry) == 0)
            return;
    list << entry;
}
}  // namespace

QString SafeHarborReasonText(int reason)
{
    switch (reason) {
    case shWindowsFolder: return QStringLiteral("in the Windows/System folder");
    case shSearchPath: return QStringLiteral("in the search path");
    case shRegistryFolder: return QStringLiteral("referenced in the registry");
    case shProtectedExtension: return QStringLiteral("included in the protected file extensions");
    default: return QString();
    }
}

QString SafeHarborMissingMessage()
{
    return QStringLiteral(
        "The Safe Harbor list of folders/files not to delete has not been created yet.  "
        "Click on the Build Safe Harbor button to initialize.");
}

QString ShortPathOf(const QString& path)
{
    // Short 8.3 names do not exist here: the short form is the path itself.
    return path;
}

QString NormalizedFolderText(const QString& path)
{
    return ShortPathOf(path).toUpper();
}

void NormalizeFolderList(QStringList& list)
{
    for (QString& e : list)
        e = NormalizedFolderText(e);
}

int CompareFolderText(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

void SortFolderList(QStringList& list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const QString& a, const QString& b) { return CompareFolderText(a, b) < 0; });
}

int CompareFolderEntry(const QString& folder, const QString& entry)
{
    // The whole entry takes part: a long protected folder must still protect.
    if (IsRule(entry)) {
        const QString stripped = entry.left(entry.size() - 3);
        if (folder.contains(stripped, Qt::CaseInsensitive))
            return 0;
        return CompareFolderText(folder, stripped);
    }
    return CompareFolderText(folder, entry);
}

int FindFolderEntry(const QString& folder, const QStringList& list)
{
    int low = 0;
    int high = int(list.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int c = CompareFolderEntry(folder, list.at(middle));
        if (c == 0)
            return middle;
        if (c < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return -1;
}

bool IsUnderRule(const QString& rule, const QString& path)
{
    const QString stripped = rule.left(std::max<qsizetype>(0, rule.size() - 3)).toLower();
    return path.left(stripped.size()).toLower() == stripped;
}

void CollapseSubtreeRules(QStringList& list, QStringList& rules)
{
    rules = RulesOf(list);
    for (const QString& rule : rules)
        for (qsizetype i = list.size() - 1; i >= 0; --i)
            if (IsUnderRule(rule, list.at(i)))
                list.removeAt(i);
    for (const QString& rule : rules)
        list << rule;
    SortFolderList(list);
}

bool MatchesProtectedExtension(const QString& fileName, const QStringList& list)
{
    const QString name = fileName.mid(fileName.lastIndexOf('\\') + 1).toLower();
    const qsizetype dot = name.lastIndexOf('.');
    const QString ext = dot < 0 ? QStringLiteral("*") : "*" + name.mid(dot);
    for (const QString& e : list)
        if (e == ext || e == name)
            return true;
    return false;
}

std::optional<QStringList> ReadFoldersFile(const QString& posixPath)
{
    QFile f(posixPath);
    if (!f.exists() || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList lines;
    const QByteArray all = f.readAll();
    if (all.isEmpty())
        return lines;
    for (QByteArray line : all.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines << QString::fromUtf8(line);
    }
    // A final newline does not start another line.
    if (all.endsWith('\n'))
        lines.removeLast();
    return lines;
}

SafeHarborSources SystemSafeHarborSources()
{
    SafeHarborSources s;
    s.folderLines = ReadFoldersFile(plat::programFile(QStringLiteral("folders.txt")));
    s.searchPath = plat::searchPathText();
    for (const QString& tree : plat::systemTrees())
        s.systemFolders << (tree.endsWith('\\') ? tree : tree + '\\') + kRuleSuffix;
    // A drive mounted inside a system tree is part of it, whole.
    for (const QString& root : plat::drivesInSystemTrees()) {
        const QString rule = root + kRuleSuffix;
        if (!s.systemFolders.contains(rule, Qt::CaseInsensitive))
            s.systemFolders << rule;
    }
    return s;
}

void SafeHarbor::GetSearchPath(const SafeHarborSources& sources)
{
    ProtectedFolders.clear();
    SearchPathFolders.clear();
    WindowsFolders.clear();
    SafeHarborMissing = false;
    ClearCache();

    if (sources.folderLines) {
        for (QString line : *sources.folderLines) {
            if (!line.isEmpty() && !IsRule(line) && !line.endsWith('\\'))
                line += '\\';
            ProtectedFolders << line;
        }
    } else {
        SafeHarborMissing = true;
    }

    QString path = sources.searchPath.toUpper();
    while (path.endsWith(';'))
        path.chop(1);
    for (const QString& part : path.split(';')) {
        if (part.isEmpty())
            continue;
        const QString entry = part.endsWith('\\') ? part : part + '\\';
        AddUnique(ProtectedFolders, entry);
        AddUnique(SearchPathFolders, entry);
    }

    for (const QString& folder : sources.systemFolders) {
        const QString upper = folder.toUpper();
        const QString entry = IsRule(upper) || upper.endsWith('\\') ? upper : upper + '\\';
        ProtectedFolders << entry;
        WindowsFolders << entry;
    }

    NormalizeFolderList(ProtectedFolders);
    NormalizeFolderList(SearchPathFolders);
    NormalizeFolderList(WindowsFolders);
    SortFolderList(SearchPathFolders);
    SortFolderList(WindowsFolders);
    CollapseSubtreeRules(ProtectedFolders, SubtreeRules);
    CollectRules();
}

void SafeHarbor::CollectRules()
{
    windowsRules_ = RulesOf(WindowsFolders);
    searchRules_ = RulesOf(SearchPathFolders);
    protectedRules_ = RulesOf(ProtectedFolders);
}

void SafeHarbor::ReadSafeHarborExtensions()
{
    // One read of the section, bounded by the values stored in it.
    SetProtectedExtensions(SettingsStore::readList(QStringLiteral("NoDelExt")).value_or(QStringList()));
}

void SafeHarbor::SetProtectedExtensions(const QStringList& entries)
{
    ProtectedExtensions.clear();
    for (const QString& e : entries)
        if (!e.isEmpty())
            ProtectedExtensions << e.toLower();
    ProtectedExtensions.sort();
    ClearCache();
}

bool SafeHarbor::FoundIn(const QString& folder, const QStringList& list, const QStringList& rules)
{
    if (FindFolderEntry(folder, list) >= 0)
        return true;
    // Bisection follows the sort order, which a rule's "occurs anywhere"
    // match does not: test the rules one by one before giving up.
    for (const QString& rule : rules)
        if (CompareFolderEntry(folder, rule) == 0)
            return true;
    return false;
}

SafeHarborReason SafeHarbor::FindReason(const QString& folder) const
{
    if (FoundIn(folder, WindowsFolders, windowsRules_))
        return shWindowsFolder;
    if (FoundIn(folder, SearchPathFolders, searchRules_))
        return shSearchPath;
    if (FoundIn(folder, ProtectedFolders, protectedRules_))
        return shRegistryFolder;
    return shNone;
}

SafeHarborReason SafeHarbor::IsInSafeHarbor(const QString& path, bool isFile)
{
    QString folder;
    if (isFile)
        folder = path.left(path.lastIndexOf('\\') + 1);
    else
        folder = path.endsWith('\\') ? path : path + '\\';
    folder = NormalizedFolderText(folder);

    if (folder == LastTestedFolder && ProtectedExtensions.isEmpty())
        return SafeHarborReason(LastTestedReason);
    LastTestedFolder = folder;

    SafeHarborReason reason = FindReason(folder);
    if (reason == shNone && isFile && MatchesProtectedExtension(path, ProtectedExtensions))
        reason = shProtectedExtension;
    LastTestedReason = reason;
    return reason;
}

namespace {
SafeHarbor* g_programHarbor = nullptr;
}

SafeHarbor& programSafeHarbor()
{
    static SafeHarbor empty;
    return g_programHarbor ? *g_programHarbor : empty;
}

void setProgramSafeHarbor(SafeHarbor* harbor)
{
    g_programHarbor = harbor;
}

}  // namespace core
