#pragma once
// The Safe Harbor: protected folders and file types, and the test every
// window runs before it offers a file or folder for deletion.

#include <QString>
#include <QStringList>
#include <optional>

namespace core {

enum SafeHarborReason {
    shNone = 0,
    shWindowsFolder = 1,
    shSearchPath = 2,
    shRegistryFolder = 3,
    shProtectedExtension = 4,
};

QString SafeHarborReasonText(int reason);
// Told whenever an operation that needs the Safe Harbor finds that
// folders.txt was never built.
QString SafeHarborMissingMessage();

// The normalised form of a folder text: the short form (the path itself on
// this platform), upper-cased.
QString ShortPathOf(const QString& path);
QString NormalizedFolderText(const QString& path);
void NormalizeFolderList(QStringList& list);

// The folder lists' order and comparison: case-insensitive, ascending.
int CompareFolderText(const QString& a, const QString& b);
void SortFolderList(QStringList& list);

// 0 when folder matches entry: a subtree rule ("...*.*") matches when its
// folder text occurs anywhere in folder; other entries compare whole.
int CompareFolderEntry(const QString& folder, const QString& entry);
// Bisection over a sorted list; the index found, or -1.
int FindFolderEntry(const QString& folder, const QStringList& list);
bool IsUnderRule(const QString& rule, const QString& path);
void CollapseSubtreeRules(QStringList& list, QStringList& rules);
bool MatchesProtectedExtension(const QString& fileName, const QStringList& list);

// What GetSearchPath reads from the system; tests pass their own.
struct SafeHarborSources {
    std::optional<QStringList> folderLines;  // folders.txt, absent when missing
    QString searchPath;                      // PATH as a ';' list of drive paths
    QStringList systemFolders;               // System and Windows folders, as subtree rules
};

// Reads folders.txt (lines without a trailing carriage return); empty when
// the file does not exist.
std::optional<QStringList> ReadFoldersFile(const QString& posixPath);
// The sources of the running system: folders.txt in the program folder,
// $PATH, and the system trees.
SafeHarborSources SystemSafeHarborSources();

class SafeHarbor {
public:
    QStringList ProtectedFolders;    // sorted
    QStringList SearchPathFolders;   // sorted
    QStringList WindowsFolders;      // sorted
    QStringList SubtreeRules;        // as found
    QStringList ProtectedExtensions; // sorted, lower case
    bool SafeHarborMissing = false;

    QString LastTestedFolder;
    int LastTestedReason = shNone;

    void GetSearchPath() { GetSearchPath(SystemSafeHarborSources()); }
    void GetSearchPath(const SafeHarborSources& sources);
    // From the settings list "NoDelExt".
    void ReadSafeHarborExtensions();
    void SetProtectedExtensions(const QStringList& entries);

    // The reason a file (isFile) or folder is protected; shNone when it is not.
    SafeHarborReason IsInSafeHarbor(const QString& path, bool isFile);
    void ClearCache() { LastTestedFolder.clear(); }

private:
    SafeHarborReason FindReason(const QString& folder) const;
    static bool FoundIn(const QString& folder, const QStringList& list, const QStringList& rules);
    void CollectRules();
    // The subtree rules of each list, for the test that bisection cannot make.
    QStringList windowsRules_, searchRules_, protectedRules_;
};

// The Safe Harbor of the running program: the lists the launcher loaded,
// which every window below it tests against. Until the launcher registers
// its own, an empty one that protects nothing is answered.
SafeHarbor& programSafeHarbor();
void setProgramSafeHarbor(SafeHarbor* harbor);  // not owned; nullptr: the empty one

}  // namespace core
