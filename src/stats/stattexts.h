#pragma once
// The statistics window's own texts: captions, status texts and messages.

#include <QString>

namespace stats {

// Window caption before anything was collected.
inline const QString kNotCollectedCaption = QStringLiteral("File Statistics Not Yet Collected");
// The not-yet panel, before the first collection and while one runs.
inline const QString kNotYetText = QStringLiteral("Statistics haven't been collected yet!");
inline const QString kCollectingText =
    QStringLiteral("Collecting statistics ... standby.  Press Esc or click Abort to stop.");

inline const QString kNoCapacityMessage = QStringLiteral(
    "Could not compute the total size of the disk drives selected.  Cannot proceed with statistics.");
// The information box before a collection of one entry, and of several.
QString ScanOneEntryMessage(const QString& entry);
inline const QString kScanSeveralMessage = QStringLiteral(
    "Since you selected more than one drive to analyze, the Cluster Overhang tab will be disabled.  You "
    "may quit the analysis at any time by clicking CANCEL or by pressing ESC.");

// Captions after a collection.
inline const QString kAbortedCaption = QStringLiteral("Statistics for drive(s) incomplete ... aborted.");
QString DoneCaption(const QString& doneList);  // "Stats done for " + the entries

// Status bar texts.
QString ProcessingStatus(const QString& entry, const QString& folder);
QString FinishedStatus(quint64 filesProcessed, quint64 filesFound, bool aborted);

// The Overhang page.
inline const QString kClusterNotApplicable =
    QStringLiteral("Cluster overhang analysis is not applicable to this drive.");
inline const QString kTotalFileSizesCaption = QStringLiteral("Total file sizes:");
inline const QString kFilesScannedCaption = QStringLiteral("Number of files scanned: ");
inline const QString kActualSpaceCaption = QStringLiteral("Actual space used ");

}  // namespace stats
