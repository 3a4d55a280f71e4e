#include "browse/filedetails.h"

#include "browse/versionstrings.h"
#include "platform/fileops.h"
#include "platform/findfile.h"

#include <cmath>

namespace browse {

QString ExtensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

QString AttributeWords(quint32 attributes)
{
    static const std::pair<quint32, const char*> words[] = {
        {plat::faReadOnly, " ReadOnly"}, {plat::faHidden, " Hidden"},       {plat::faSystem, " System"},
        {plat::faVolumeId, " VolumeID"}, {plat::faDirectory, " Directory"}, {plat::faArchive, " Archive"},
    };
    QString out;
    for (const auto& [bit, word] : words)
        if (attributes & bit)
            out += QLatin1String(word);
    return out;
}

QString DateAgeText(core::PackedDosDateTime t)
{
    const QString date = core::DosDateText(t);
    if (date.isEmpty())
        return QStringLiteral("???");
    return date + QStringLiteral("  ") + core::AgeText(core::DosToDateTime(t));
}

QString DateTimeAgeText(core::PackedDosDateTime t)
{
    const QString date = core::DosDateText(t);
    if (date.isEmpty())
        return QStringLiteral("???");
    return date + QLatin1Char(' ') + core::DosTimeText(t) + QStringLiteral("  ") + core::AgeText(core::DosToDateTime(t));
}

QString ClusterText(double size, std::optional<quint64> clusterSize)
{
    if (!clusterSize || *clusterSize == 0)
        return QString();
    const quint64 c = *clusterSize;
    QString text = QStringLiteral("Cluster size: ") + core::FormatGrouped(qint64(c));
    if (size < 4294967295.0) {
        const quint64 bytes = size > 0 ? quint64(size) : 0;
        text += QStringLiteral("  Clusters used : ") + core::FormatGrouped(qint64((bytes + c - 1) / c));
    }
    return text;
}

QString wastedClusterSpace(const QString& drivePath, double size)
{
    if (drivePath.size() < 2 || drivePath[1] != QLatin1Char(':'))
        return QString();
    const auto space = plat::diskSpace(drivePath.left(1) + QStringLiteral(":\\"));
    return ClusterText(size, space ? std::optional<quint64>(space->clusterSize) : std::nullopt);
}

FileDetails ReadFileDetails(const QString& drivePath)
{
    FileDetails d;
    d.path = drivePath;
    plat::FindData f;
    if (!plat::statPath(drivePath, f) || (f.attributes & plat::faReparse))
        return d;
    d.found = true;
    d.attributes = f.attributes;
    d.size = core::FindDataSize(f);
    d.typeText = core::FileTypeName(ExtensionOf(f.name));
    d.sizeText = core::FormatGroupedF(d.size) + QStringLiteral(" bytes");
    d.clusterText = wastedClusterSpace(drivePath, d.size);
    d.createText = DateAgeText(core::CreationDosTime(f));
    d.modifyText = DateAgeText(core::LastWriteDosTime(f));
    d.accessText = DateAgeText(core::LastAccessDosTime(f));
    d.attributesText = AttributeWords(f.attributes);
    if (!(f.attributes & plat::faDirectory))
        ReadVersionStrings(drivePath, d.versionLines, true);
    return d;
}

QStringList DetailsPrintLines(const FileDetails& d)
{
    const QString tab = QStringLiteral("\t");
    QStringList lines = {
        QStringLiteral("Name of file : ") + tab + d.path,
        QStringLiteral("Type of file : ") + tab + d.typeText,
        QStringLiteral(" "),
        QStringLiteral("Size of file : ") + tab + d.sizeText,
        QStringLiteral("               ") + tab + d.clusterText,
        QStringLiteral(" "),
        QStringLiteral("Creation date     : ") + tab + d.createText,
        QStringLiteral("Modification date : ") + tab + d.modifyText,
        QStringLiteral("Access date       : ") + tab + d.accessText,
        QStringLiteral(" "),
        QStringLiteral("Attributes : ") + tab + d.attributesText,
        QStringLiteral(" "),
    };
    lines += d.versionLines;
    return lines;
}

QString DetailsPrintTitle(const QString& drivePath)
{
    return QStringLiteral("File details of ") + drivePath;
}

}  // namespace browse
