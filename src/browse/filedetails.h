#pragma once
// What the file details window shows about one file, as texts, and the
// lines it prints. No widgets: the command line prints the same lines.

#include "core/helpers.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace browse {

struct FileDetails {
    bool found = false;  // the path names a file or folder (not a link)
    QString path;
    quint32 attributes = 0;
    double size = 0;
    QString typeText;
    QString sizeText;
    QString clusterText;
    QString createText;
    QString modifyText;
    QString accessText;
    QString attributesText;
    QStringList versionLines;  // TAB separators; empty when there are none
};

// Looks the path up (without following a link) and fills every text; only
// path is set when nothing is found there.
FileDetails ReadFileDetails(const QString& drivePath);

// The extension of a file name with its dot, lower case; empty when none.
QString ExtensionOf(const QString& name);
// " ReadOnly Hidden System VolumeID Directory Archive", each word after one
// blank, for the bits that are set, in that order.
QString AttributeWords(quint32 attributes);
// The date text, two blanks and how long ago; "???" when not recorded.
QString DateAgeText(core::PackedDosDateTime t);
// The same with the time after the date and one blank.
QString DateTimeAgeText(core::PackedDosDateTime t);
// "Cluster size: C" and, below 4,294,967,295 bytes, "  Clusters used : N"
// (the size in clusters, rounded up). Empty when the cluster size is not
// known or 0: there is nothing to divide by.
QString ClusterText(double size, std::optional<quint64> clusterSize);
// The cluster text of a file on its drive (the drive root's cluster size).
QString wastedClusterSpace(const QString& drivePath, double size);

// The printed lines 1-12 and the version lines, TABs kept.
QStringList DetailsPrintLines(const FileDetails& d);
QString DetailsPrintTitle(const QString& drivePath);

}  // namespace browse
