#pragma once
// The Safe Harbor builder's scan: walks a key tree for values that name
// folders and adds the folders that exist to the protected-folder list.

#include "platform/keytree.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace harbor {

// A value names a folder when it is longer than 3 characters, holds no ';',
// has ':' second and '\' third, and no further ':' after its first 3.
bool AcceptRegistryValue(const QString& text);
// The text up to and including its last backslash.
QString FolderPartOf(const QString& text);
// The long form without a trailing backslash (a drive root keeps its own).
QString CanonicalFolderPath(const QString& folder);

class HarborBuilder {
public:
    static constexpr int kMaxDepth = 25;

    // list: the folder list being built (entries already there count as
    // present). The hooks default to the real file system and drive table.
    explicit HarborBuilder(QStringList& list);

    // Called after each added folder (the window repaints, at most every 50 ms).
    std::function<void()> onAdded;
    // Called before each key is read: long stretches of keys add nothing, and
    // the window must still get its events between them.
    std::function<void()> onKey;
    // Whether a folder exists (a real folder, no link).
    std::function<bool(const QString&)> folderExists;
    // Whether a folder lies on a removable drive (A:, B: or a removable kind).
    std::function<bool(const QString&)> onRemovableDrive;

    void findpaths(plat::KeyTree& tree, const QString& key);
    int ScanDepth = 0;

    // The whole build: drops every entry that is not a subtree rule, scans
    // the machine tree, then the user tree, and collapses the rules.
    void build(plat::KeyTree& machine, plat::KeyTree& user);

private:
    void consider(const QString& value);
    QStringList& list_;
    QSet<QString> present_;  // lower-cased entries
};

// The build on the real file system and drive table.
void BuildFolderList(QStringList& list, plat::KeyTree& machine, plat::KeyTree& user,
                     const std::function<void()>& onAdded = {});

}  // namespace harbor
