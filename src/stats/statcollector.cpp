#include "stats/statcollector.h"

#include "core/helpers.h"
#include "finders/dupsearch.h"
#include "platform/drives.h"
#include "platform/fileops.h"
#include "platform/folderwalk.h"
#include "stats/localclock_p.h"
#include "stats/stattexts.h"

namespace stats {

namespace {

// The space of an entry's drive (its first character is the drive letter);
// empty when the drive is not ready.
std::optional<plat::DiskSpace> EntryDriveSpace(const QString& entry)
{
    if (entry.isEmpty())
        return std::nullopt;
    try {
        return plat::diskSpace(plat::driveRoot(entry[0].toUpper()));
    } catch (...) {
        return std::nullopt;
    }
}

QStringView ExtensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QStringView() : QStringView(name).mid(dot);
}

}  // namespace

// The walk of one entry: sub-folders first, in the order read, then the
// folder's own files, each tallied. Hidden entries and devices, FIFOs and
// sockets are listed; links never.
class StatCollector::Walker : public plat::WalkVisitor {
public:
    explicit Walker(StatCollector& c) : c_(c) {}

    bool aborted() override { return c_.abort_; }
    void pump() override
    {
        if (c_.pump)
            c_.pump();
    }
    void leftOut(const QString& path) override
    {
        const QString text = QString::fromLatin1(finders::kPathTooLongNote) + path;
        if (c_.note)
            c_.note(text);
        else
            c_.setStatus(text);
    }
    void leaveFolder(const plat::WalkFolder& folder) override
    {
        bool first = true;
        for (const plat::FindData& f : folder.entries()) {
            if (c_.abort_)
                return;
            if (core::EntryKind(f) != core::ekFile)
                continue;
            if (!first && c_.pump) {
                c_.pump();
                if (c_.abort_)
                    return;
            }
            first = false;
            c_.crunchNumbers(folder.path(), f);
        }
    }

private:
    StatCollector& c_;
};

StatCollector::StatCollector() : clock_(std::make_unique<LocalClock>()) {}

StatCollector::~StatCollector() = default;

void StatCollector::setScope(const finders::ScanScope& scope)
{
    scope_ = scope;
}

void StatCollector::setStatus(const QString& text)
{
    if (status)
        status(text);
}

void StatCollector::abort()
{
    if (collecting_)
        abort_ = true;
}

void StatCollector::clearVariables()
{
    totals_.clear();
    types_.clear();
}

quint64 StatCollector::computePickListTotal() const
{
    quint64 total = 0;
    for (const QString& entry : scope_.roots)
        if (const auto space = EntryDriveSpace(entry))
            total += space->totalBytes;
    return total;
}

void StatCollector::computeClusterSize(const QString& entry)
{
    totals_.clusterSize = 0;
    if (const auto space = EntryDriveSpace(entry))
        totals_.clusterSize = space->clusterSize;
}

void StatCollector::collectFileAttr(const plat::FindData& file)
{
    static constexpr quint32 bits[kAttributes] = {plat::faReadOnly, plat::faHidden, plat::faSystem,
                                                  plat::faArchive};
    const quint64 size = file.size();
    for (int a = 0; a < kAttributes; ++a) {
        if (file.attributes & bits[a]) {
            ++totals_.attrCount[size_t(a)];
            totals_.attrBytes[size_t(a)] += size;
        }
    }
}

void StatCollector::crunchNumbers(const QString& folder, const plat::FindData& file)
{
    if (status && totals_.filesProcessed % 3 == 0) {
        // The text changes with the folder only; it is made once per folder.
        if (statusText_.isEmpty() || statusFolder_ != folder) {
            statusText_ = ProcessingStatus(currentEntry_, folder);
            statusFolder_ = folder;
        }
        status(statusText_);
    }
    ++totals_.filesProcessed;
    if (!filter_.isThisSelected(file.name))
        return;
    ++totals_.filesFound;
    collectFileAttr(file);

    const quint64 size = file.size();
    struct Time {
        plat::FileTime time;
        DateTally& tally;
    };
    const Time times[] = {{file.creationTime, totals_.created},
                          {file.lastWriteTime, totals_.modified},
                          {file.lastAccessTime, totals_.access}};
    for (const Time& t : times) {
        const LocalStamp stamp = clock_->stamp(t.time);
        const int slot = DropIntoHourSlot(stamp);
        if (slot >= 0)
            ++t.tally.hourCount[size_t(slot)];
        const int bucket = AgeBucketOf(stamp, day_);
        ++t.tally.ageCount[size_t(bucket)];
        t.tally.ageBytes[size_t(bucket)] += size;
    }

    types_.insertType(ExtensionOf(file.name), false, size);

    const int sizeClass = SizeClassOf(size);
    ++totals_.sizeCount[size_t(sizeClass)];
    totals_.sizeBytes[size_t(sizeClass)] += size;

    if (overhangEnabled_)
        for (int i = 0; i < kOverhangSizes; ++i)
            totals_.overhang[size_t(i)] += OverhangOf(size, kOverhangClusters[size_t(i)]);
}

void StatCollector::registerSelectedTypes()
{
    if (scope_.typeMode != finders::TypeMode::Include)
        return;
    for (const QString& entry : scope_.typeEntries)
        types_.insertType(finders::TypeEntryExtension(entry), true, 0);
}

void StatCollector::ScanAllDrives(plat::WalkContext& context)
{
    plat::WalkOptions options;
    options.hidden = true;
    options.system = true;
    std::unique_ptr<plat::WalkFolder> folder;
    if (finders::EnterRoot(currentEntry_, options, folder) != finders::RootStart::Entered)
        return;
    Walker walker(*this);
    plat::walkTree(*folder, context, walker);
}

void StatCollector::scan(plat::WalkContext& context)
{
    setStatus(QString());
    statusText_.clear();
    ScanAllDrives(context);
    statusText_.clear();
    registerSelectedTypes();
    if (refreshPages)
        refreshPages();
    setStatus(FinishedStatus(totals_.filesProcessed, totals_.filesFound, abort_));
}

bool StatCollector::collect()
{
    if (collecting_ || scope_.roots.isEmpty())
        return false;
    if (!(computePickListTotal() > 0)) {
        core::ErrorBox(kNoCapacityMessage);
        return false;
    }
    abort_ = false;
    doneList_.clear();
    const QString message = scope_.roots.size() == 1 ? ScanOneEntryMessage(scope_.roots.first()) : kScanSeveralMessage;
    if (announce)
        announce(message);
    else
        core::InfoBox(message);

    clearVariables();
    overhangEnabled_ = scope_.roots.size() == 1;
    filter_ = finders::TypeFilter(scope_);
    day_ = today.isValid() ? today : QDate::currentDate();
    clock_ = std::make_unique<LocalClock>();
    if (cleared)
        cleared();

    // One context for the whole scan list: a folder met again through an
    // overlapping entry is not walked twice.
    plat::WalkContext context;
    for (const QString& entry : std::as_const(scope_.roots)) {
        if (abort_)
            break;
        currentEntry_ = entry;
        doneList_ += entry + QLatin1Char(' ');
        if (!EntryDriveSpace(entry))
            continue;
        computeClusterSize(entry);
        collecting_ = true;
        if (beginEntry)
            beginEntry();
        try {
            scan(context);
        } catch (...) {
            collecting_ = false;
            throw;
        }
        collected_ = true;
        collecting_ = false;
        if (endEntry)
            endEntry();
        if (caption)
            caption(abort_ ? kAbortedCaption : DoneCaption(doneList_));
        if (abort_)
            break;
    }
    return true;
}

}  // namespace stats
