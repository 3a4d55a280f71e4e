#pragma once
// A read-only tree of keys and string values, standing in for the parts of a
// registry that the Safe Harbor builder scans. Paths are key paths with
// backslashes ("\SOFTWARE\coreutils"); values are drive paths.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>

namespace plat {

class KeyTree {
public:
    virtual ~KeyTree() = default;
    // Sub-key names of a key, in order; empty for a missing key.
    virtual QStringList subKeys(const QString& key) = 0;
    // True when the key exists.
    virtual bool hasKey(const QString& key) = 0;
    // The string values of a key, in order.
    virtual QStringList values(const QString& key) = 0;
};

// A tree built in memory, for tests and for the system trees below.
class MemoryKeyTree : public KeyTree {
public:
    // Adds a key (and its parents) with values.
    void add(const QString& key, const QStringList& values = {});
    QStringList subKeys(const QString& key) override;
    bool hasKey(const QString& key) override;
    QStringList values(const QString& key) override;

private:
    struct Node {
        QStringList children;  // in insertion order
        QStringList values;
    };
    QMap<QString, Node> nodes_;  // by lower-cased key path
};

// Machine scope: under \SOFTWARE one key per installed package, whose
// values are the package's files and folders (folders with a trailing
// backslash), from the package manager's file lists; and a key
// \SOFTWARE\Applications with one key per system desktop entry, whose
// values are the absolute paths the entry names (Exec, TryExec, Path, Icon).
std::unique_ptr<KeyTree> machineKeyTree();
// User scope: \SOFTWARE\Applications and \SOFTWARE\Autostart from the user's
// desktop entries and autostart entries.
std::unique_ptr<KeyTree> userKeyTree();

}  // namespace plat
