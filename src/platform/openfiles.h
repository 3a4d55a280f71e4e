#pragma once
// The files that running processes hold: open on a descriptor or mapped
// into memory. This system deletes an open file without a word (the
// process keeps writing to a name nobody sees), so the clean-ups that take
// files other programs may be using leave these out.

#include "platform/findfile.h"

#include <QString>
#include <QtGlobal>
#include <unordered_set>

namespace plat {

class OpenFiles {
public:
    // Reads procRoot once: the regular files on every descriptor and in
    // every mapping of each process this user may inspect (others are
    // passed over). Never fails; what cannot be read is simply not known.
    static OpenFiles read(const QString& procRoot = QStringLiteral("/proc"));

    bool holds(quint64 device, quint64 inode) const;
    bool holds(const FindData& f) const { return holds(f.device, f.inode); }
    // How many distinct files are held.
    qsizetype count() const { return qsizetype(held_.size()); }

private:
    struct Id {
        quint64 device;
        quint64 inode;
        bool operator==(const Id&) const = default;
    };
    struct Hash {
        size_t operator()(const Id& id) const { return std::hash<quint64>()(id.inode * 31 + id.device); }
    };
    void add(quint64 device, quint64 inode) { held_.insert(Id{device, inode}); }
    std::unordered_set<Id, Hash> held_;
};

}  // namespace plat
