#include "stats/stattexts.h"

#include "core/helpers.h"

namespace stats {

QString ScanOneEntryMessage(const QString& entry)
{
    return QStringLiteral("Disk Drive ") + entry
        + QStringLiteral(" will be scanned.  The analysis may take some time.  You may quit at any time by "
                         "clicking Abort or pressing ESC.");
}

QString DoneCaption(const QString& doneList)
{
    return QStringLiteral("Stats done for ") + doneList;
}

QString ProcessingStatus(const QString& entry, const QString& folder)
{
    return QStringLiteral("Processing drive ") + entry + QStringLiteral(" ... standby : ") + folder;
}

QString FinishedStatus(quint64 filesProcessed, quint64 filesFound, bool aborted)
{
    QString text = QStringLiteral("Finished - ") + core::FormatGrouped(qint64(filesProcessed))
        + QStringLiteral(" files processed");
    if (filesFound != filesProcessed)
        text += QLatin1Char(' ') + core::FormatGrouped(qint64(filesFound)) + QStringLiteral(" files found");
    if (aborted)
        text += QStringLiteral(" INCOMPLETE ... ABORTED");
    return text;
}

}  // namespace stats
