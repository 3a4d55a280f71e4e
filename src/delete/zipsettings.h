#pragma once
// Where the archives go and the comment they carry: the settings "ZipFile" /
// "Path" and "ZipFile" / "Comment", which the zip options window reads when
// it opens and writes when it closes. No widgets.

#include <QString>
#include <functional>

namespace del {

// The archive folder when none was ever stored: the user's home folder as a
// drive path.
QString defaultZipFolder();
// "ZipFile" / "Path"; defaultZipFolder() when absent or empty.
QString readZipFolderSetting();
// "ZipFile" / "Comment", default empty.
QString readZipCommentSetting();
// Writes both and tells the observer the folder (the default for an empty
// one), so that the program-wide archive folder follows the window.
void writeZipSettings(const QString& zipFolder, const QString& comment);

// Called with the new folder after every writeZipSettings (one observer; an
// empty function removes it). The launcher keeps its ZipFolder with it.
void setZipFolderObserver(std::function<void(const QString& zipFolder)> observer);

}  // namespace del
