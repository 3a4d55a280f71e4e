#pragma once
// The folders of many files reached one after another, as a read of files
// sorted by folder reaches them.

#include "platform/foldertree.h"

#include <QHash>
#include <QString>
#include <list>
#include <memory>

namespace plat {

// Opens each folder as TreeFolder::open does (from its drive root, one
// component at a time, no link followed, nothing on another file system or
// mount than the drive root's) but keeps the handles of the folders it
// opened last, ancestors included, so the next folder is opened from the
// deepest kept ancestor: files read in folder order cost a step or two
// per folder, not one per component. Like a walk, it keeps the folders it
// opened whatever is done to their paths meanwhile; it serves reading, not
// removing.
class FolderChain {
public:
    FolderChain();
    ~FolderChain();
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;

    // The handle of the folder a drive path names, owned by the chain and
    // valid until the next call; -1 with error set when it cannot be opened.
    int open(const QString& drivePath, TreeError& error);

private:
    struct Kept {
        QString path;  // its components, each after a backslash (the drive is the chain's)
        int fd;
    };
    int keep(const QString& path, int fd);
    void forgetAll();
    struct Place;
    std::unique_ptr<Place> drivePlace_;
    QChar letter_;
    int rootFd_ = -1;
    QString lastPath_;  // the path last asked for, and its folder's handle
    int lastFd_ = -1;
    // Most recently used first; at most kMostKept.
    std::list<Kept> kept_;
    QHash<QString, std::list<Kept>::iterator> byPath_;
};

}  // namespace plat
