#include "platform/keytree.h"

#include "platform/drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace plat {

namespace {

QString parentKey(const QString& key)
{
    const qsizetype cut = key.lastIndexOf('\\');
    return cut <= 0 ? QString() : key.left(cut);
}

// A POSIX path in drive form; folders get a trailing backslash.
QString driveValue(const QByteArray& posix, bool folder)
{
    const auto p = toDrivePath(posix);
    if (!p)
        return QString();
    return folder && !p->endsWith('\\') ? *p + '\\' : *p;
}

// Values of one package file list: every listed path, in drive form.
QStringList packageValues(const QString& listFile)
{
    QStringList out;
    QFile f(listFile);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    while (!f.atEnd()) {
        QByteArray line = f.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.isEmpty() || line == "/." || !line.startsWith('/'))
            continue;
        struct stat st;
        const bool folder = ::lstat(line.constData(), &st) == 0 && S_ISDIR(st.st_mode);
        const QString v = driveValue(line, folder);
        if (!v.isEmpty())
            out << v;
    }
    return out;
}

// Absolute paths named by a desktop entry.
QStringList desktopValues(const QString& file)
{
    QStringList out;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    static const QStringList keys = {"Exec=", "TryExec=", "Path=", "Icon="};
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        for (const QString& k : keys) {
            if (!line.startsWith(k))
                continue;
            QString v = line.mid(k.size()).trimmed();
            if (v.startsWith('"'))
                v = v.mid(1, v.indexOf('"', 1) - 1);
            else
                v = v.section(' ', 0, 0);
            if (v.startsWith('/')) {
                const QByteArray posix = QFile::encodeName(v);
                const QString d = driveValue(posix, QFileInfo(v).isDir() && !QFileInfo(v).isSymLink());
                if (!d.isEmpty())
                    out << d;
            }
        }
    }
    return out;
}

void addDesktopFolder(MemoryKeyTree& tree, const QString& key, const QString& folder)
{
    const QDir dir(folder);
    const QStringList files = dir.entryList({"*.desktop"}, QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QString& name : files)
        tree.add(key + '\\' + name, desktopValues(dir.filePath(name)));
}

QString homeSub(const char* xdgVar, const QString& fallback, const QString& sub)
{
    QString base = qEnvironmentVariable(xdgVar);
    if (base.isEmpty())
        base = QDir::homePath() + '/' + fallback;
    return base + '/' + sub;
}

}  // namespace

void MemoryKeyTree::add(const QString& key, const QStringList& values)
{
    const QString id = key.toLower();
    const bool isNew = !nodes_.contains(id);
    Node& n = nodes_[id];
    n.values += values;
    if (!isNew)
        return;
    const QString parent = parentKey(key);
    if (parent.isEmpty())
        return;
    if (!nodes_.contains(parent.toLower()))
        add(parent);
    nodes_[parent.toLower()].children << key.mid(parent.size() + 1);
}

QStringList MemoryKeyTree::subKeys(const QString& key)
{
    const auto it = nodes_.constFind(key.toLower());
    return it == nodes_.constEnd() ? QStringList() : it->children;
}

bool MemoryKeyTree::hasKey(const QString& key)
{
    return nodes_.contains(key.toLower());
}

QStringList MemoryKeyTree::values(const QString& key)
{
    const auto it = nodes_.constFind(key.toLower());
    return it == nodes_.constEnd() ? QStringList() : it->values;
}

std::unique_ptr<KeyTree> machineKeyTree()
{
    auto tree = std::make_unique<MemoryKeyTree>();
    tree->add("\\SOFTWARE");
    const QDir info(QStringLiteral("/var/lib/dpkg/info"));
    const QStringList lists = info.entryList({"*.list"}, QDir::Files, QDir::Name);
    for (const QString& name : lists)
        tree->add("\\SOFTWARE\\" + name.chopped(5), packageValues(info.filePath(name)));
    addDesktopFolder(*tree, "\\SOFTWARE\\Applications", "/usr/share/applications");
    addDesktopFolder(*tree, "\\SOFTWARE\\Applications", "/usr/local/share/applications");
    return tree;
}

std::unique_ptr<KeyTree> userKeyTree()
{
    auto tree = std::make_unique<MemoryKeyTree>();
    tree->add("\\SOFTWARE");
    addDesktopFolder(*tree, "\\SOFTWARE\\Applications", homeSub("XDG_DATA_HOME", ".local/share", "applications"));
    addDesktopFolder(*tree, "\\SOFTWARE\\Autostart", homeSub("XDG_CONFIG_HOME", ".config", "autostart"));
    return tree;
}

}  // namespace plat
