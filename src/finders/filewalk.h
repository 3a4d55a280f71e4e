#pragma once
// The walk every finder runs over the ticked entries of its drive list: each
// root is entered as a drive-list entry (EnterRoot), every folder is read
// once, its sub-folders are walked before its own files are handed over, and
// the window's hooks see the folders go by, let pending events run and can
// stop the walk between entries.

#include "platform/folderwalk.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace finders {

struct FileWalkOptions {
    // Hidden files ("." names) handed over; hidden folders walked. Devices,
    // FIFOs, sockets and links never are.
    bool hiddenFiles = false;
    bool hiddenFolders = false;
    // The files handed over are those whose names match; "*.*" and "*"
    // match every name. Folders are walked whatever their names.
    QString wildcard = QStringLiteral("*.*");
    // One walk context for all roots (a folder reached again through a
    // nested or repeated root is not walked twice), or one for each root.
    bool contextPerRoot = false;
};

class FileWalk {
public:
    explicit FileWalk(FileWalkOptions options = {});

    // The folder being read, for the status line.
    std::function<void(const QString&)> status;
    // Pending events: after each sub-folder but the first, and before each
    // file of a folder but the first.
    std::function<void()> pump;
    // Tested before each folder and each file; true stops the walk.
    std::function<bool()> aborted;
    // An entry left out because its path is longer than the system allows.
    std::function<void(const QString&)> leftOut;
    // Each file the options let through, folder by folder after the
    // folder's sub-folders, in the order read. first: the folder's first.
    std::function<void(const plat::WalkFolder& folder, const plat::FindData& file, bool first)> file;

    // Walks the roots in their order. A root that cannot be entered has
    // been reported by EnterRoot and is passed over.
    void run(const QStringList& roots);

    const FileWalkOptions& options() const { return options_; }

private:
    class Visitor;
    FileWalkOptions options_;
};

}  // namespace finders
