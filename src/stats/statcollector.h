#pragma once
// A statistics collection: walks each entry of the scan list (drives and
// folders from the scope window) and tallies every file into StatTotals and
// ExtensionTotals. One walk context serves the whole scan list, so a folder
// reached again through overlapping entries counts once; hidden folders and
// files are walked and counted, links never, nor anything on another mount.
//
// The window owns one collector for the whole run: the totals of the last
// collection stay until the next one starts. Everything runs on the caller's
// thread; the pump hook lets the window's events run between files, and
// abort() (Abort, Esc, Close, the main window closing) stops the walk at the
// next file or folder.

#include "finders/scanscope.h"
#include "stats/stattotals.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace plat {
class WalkContext;
}

namespace stats {

class LocalClock;

class StatCollector {
public:
    StatCollector();
    ~StatCollector();
    StatCollector(const StatCollector&) = delete;
    StatCollector& operator=(const StatCollector&) = delete;

    // The scan list and the type filter (the scope window's roots, typeMode
    // and typeEntries; its wildcard is not used). Set before collect().
    void setScope(const finders::ScanScope& scope);
    const finders::ScanScope& scope() const { return scope_; }

    // The day the ages count from; an invalid date (the default) takes the
    // current date when collect() starts.
    QDate today;

    // Hooks of the window, all optional.
    // The status bar text.
    std::function<void(const QString&)> status;
    // The window caption ("Stats done for ...", the abort caption).
    std::function<void(const QString&)> caption;
    // The information box before the walk (kScanOneEntry..., kScanSeveral...);
    // unset: core::InfoBox.
    std::function<void(const QString&)> announce;
    // After the totals were cleared at the start of a collection: the
    // window blanks its type grid and enables the Overhang page exactly when
    // overhangEnabled().
    std::function<void()> cleared;
    // Before the walk of an entry (the not-yet panel shows kCollectingText
    // with its Abort button, the controls are disabled, the busy cursor on,
    // the pie animation paused) and after it (the reverse).
    std::function<void()> beginEntry;
    std::function<void()> endEntry;
    // After the walk of an entry, before the finishing status: the pages
    // are refreshed from totals() and types().
    std::function<void()> refreshPages;
    // Pending window events; called between files and folders.
    std::function<void()> pump;
    // A file or folder left out because its path is too long to hand on
    // (finders::kPathTooLongNote + path); unset: the status hook.
    std::function<void(const QString&)> note;

    // Runs a collection over the scan list. False when it did not start:
    // an empty scan list (nothing said), or no capacity among the entries
    // (kNoCapacityMessage in an error box); the earlier totals then stay.
    bool collect();

    // Asks a running collection to stop; does nothing otherwise.
    void abort();

    bool collecting() const { return collecting_; }
    bool abortRequested() const { return abort_; }
    // True once any entry has been walked; never false again.
    bool collected() const { return collected_; }
    // True when the scan list held one entry: only then is overhang tallied.
    bool overhangEnabled() const { return overhangEnabled_; }
    const QString& currentEntry() const { return currentEntry_; }
    // The entries started so far, each followed by a blank.
    const QString& doneList() const { return doneList_; }

    const StatTotals& totals() const { return totals_; }
    const ExtensionTotals& types() const { return types_; }

    // The steps of a collection, public for the window and the tests.
    // Resets the totals (all but the cluster size) and the extension table.
    void clearVariables();
    // The capacity in bytes of the drives of the scan list: each entry whose
    // drive is ready adds its drive's total (two entries on one drive add it
    // twice).
    quint64 computePickListTotal() const;
    // The cluster size of an entry's drive (its fragment size), 0 when the
    // drive is not ready.
    void computeClusterSize(const QString& entry);
    // Tallies one file met by the walk (files processed + 1).
    void crunchNumbers(const QString& folder, const plat::FindData& file);
    void collectFileAttr(const plat::FindData& file);

private:
    class Walker;
    void scan(plat::WalkContext& context);
    void ScanAllDrives(plat::WalkContext& context);
    void registerSelectedTypes();
    void setStatus(const QString& text);

    finders::ScanScope scope_;
    finders::TypeFilter filter_;
    std::unique_ptr<LocalClock> clock_;
    StatTotals totals_;
    ExtensionTotals types_;
    QDate day_;
    QString currentEntry_;
    QString doneList_;
    bool collecting_ = false;
    bool abort_ = false;
    bool collected_ = false;
    bool overhangEnabled_ = false;
    // The status text of the folder being tallied, made when first needed.
    QString statusFolder_;
    QString statusText_;
};

}  // namespace stats
