#include "harbor/harborbuilder.h"

#include "core/safeharbor.h"
#include "platform/drives.h"
#include "platform/fileops.h"

namespace harbor {

bool AcceptRegistryValue(const QString& text)
{
    return text.size() > 3 && !text.contains(';') && text.at(1) == ':' && text.at(2) == '\\'
        && text.indexOf(':', 3) < 0;
}

QString FolderPartOf(const QString& text)
{
    return text.left(text.lastIndexOf('\\') + 1);
}

QString CanonicalFolderPath(const QString& folder)
{
    if (folder.size() > 3 && folder.endsWith('\\'))
        return folder.chopped(1);
    return folder;
}

namespace {
bool IsOnRemovableDrive(const QString& folder)
{
    const QChar letter = folder.at(0).toUpper();
    if (letter == 'A' || letter == 'B')
        return true;
    const plat::Drive* d = plat::driveFor(letter);
    return d && d->kind == plat::DriveKind::Removable;
}
}  // namespace

HarborBuilder::HarborBuilder(QStringList& list)
    : folderExists(plat::folderExists), onRemovableDrive(IsOnRemovableDrive), list_(list)
{
    for (const QString& e : list_)
        present_.insert(e.toLower());
}

void HarborBuilder::consider(const QString& value)
{
    if (!AcceptRegistryValue(value))
        return;
    const QString folder = CanonicalFolderPath(FolderPartOf(value));
    if (folder.isEmpty() || onRemovableDrive(folder))
        return;
    const QString key = folder.toLower();
    if (present_.contains(key) || !folderExists(folder))
        return;
    present_.insert(key);
    list_ << folder;
    if (onAdded)
        onAdded();
}

void HarborBuilder::findpaths(plat::KeyTree& tree, const QString& key)
{
    if (++ScanDepth > kMaxDepth) {
        --ScanDepth;
        return;
    }
    for (const QString& name : tree.subKeys(key)) {
        if (onKey)
            onKey();
        const QString path = key + '\\' + name;
        if (!tree.hasKey(path))
            continue;
        for (const QString& value : tree.values(path))
            consider(value);
        if (!tree.subKeys(path).isEmpty())
            findpaths(tree, path);
    }
    --ScanDepth;
}

void HarborBuilder::build(plat::KeyTree& machine, plat::KeyTree& user)
{
    for (qsizetype i = list_.size() - 1; i >= 0; --i)
        if (!list_.at(i).contains(QStringLiteral("*.*")))
            list_.removeAt(i);
    present_.clear();
    for (const QString& e : list_)
        present_.insert(e.toLower());
    ScanDepth = 0;
    findpaths(machine, QStringLiteral("\\SOFTWARE"));
    ScanDepth = 0;
    findpaths(user, QStringLiteral("\\SOFTWARE"));
    QStringList scratch;
    core::CollapseSubtreeRules(list_, scratch);
}

void BuildFolderList(QStringList& list, plat::KeyTree& machine, plat::KeyTree& user,
                     const std::function<void()>& onAdded)
{
    HarborBuilder builder(list);
    builder.onAdded = onAdded;
    builder.build(machine, user);
}

}  // namespace harbor
