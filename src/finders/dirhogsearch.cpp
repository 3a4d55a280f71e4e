#include "finders/dirhogsearch.h"

#include "finders/folderrefusal.h"
#include "finders/scanscope.h"
#include "platform/drives.h"
#include "platform/folderwalk.h"
#include "reports/sortcommand.h"

#include <QLocale>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_set>

namespace finders {

const char* const kDirHogResourceLimitMessage = "Resource limit reached ... cannot process any more files.";
const char* const kDirHogFolderGoneMessage = "Folder already deleted/recycled";

namespace {

constexpr int kColumns = 6;
constexpr int kDateColumn = 4;
constexpr int kNameColumn = 5;

struct IdentityHash {
    size_t operator()(const plat::FileIdentity& id) const { return std::hash<quint64>()(id.inode * 31 + id.device); }
};

double DriveTotal(const QString& entry)
{
    double free = 0, total = 0;
    if (entry.isEmpty() || !core::GetDiskSpace(plat::driveRoot(entry[0].toUpper()), free, total))
        return 0;
    return total;
}

}  // namespace

QString DirHogRefusalMessage(const QString& folder)
{
    switch (RefuseFolder(folder)) {
    case FolderRefusal::Root:
        return QStringLiteral("You cannot delete the root folder using Trovik");
    case FolderRefusal::Windows:
        return QStringLiteral("You cannot delete the Windows folder using Trovik");
    case FolderRefusal::None:
        break;
    }
    return QString();
}

QString DirHogName(const QString& drivePath)
{
    QString name = drivePath;
    if (!name.isEmpty())
        name[0] = name[0].toLower();
    return name;
}

struct DirHogSearch::Line {
    quint64 bytes = 0;
    quint64 files = 0;
    quint64 subFolders = 0;
    plat::FileTime latest = 0;  // raw: converted once, when the line is written
};

// lineDepth: the depth of the folders that get a line in Main folders mode
// (1 below a start folder, 0 when one folder is measured again); every
// folder below them is totalled into their line, hidden ones included, so
// that a line holds what deleting its folder would remove.
class DirHogSearch::Visitor : public plat::WalkVisitor {
public:
    using Sink = std::function<void(const Line&, const QString& path, const plat::FileIdentity&)>;
    Visitor(const DirHogSearch& s, const bool& abortFlag, DirHogMode mode, int lineDepth, Sink sink)
        : s_(s), abortFlag_(abortFlag), mode_(mode), lineDepth_(lineDepth), sink_(std::move(sink))
    {
    }

    bool aborted() override { return abortFlag_; }
    void pump() override
    {
        if (s_.pump)
            s_.pump();
    }
    bool walkInto(const plat::FindData& e) override
    {
        if (mode_ == DirHogMode::MainFolders && depth_ >= lineDepth_)
            return true;
        return !(e.attributes & (plat::faHidden | plat::faSystem));
    }
    void enterFolder(const plat::WalkFolder& f) override
    {
        ++depth_;
        if (s_.status)
            s_.status(f.path());
        if (mode_ != DirHogMode::MainFolders)
            return;
        if (depth_ == lineDepth_) {
            line_ = Line();
            path_ = f.path();
            id_ = f.identity();
        } else if (depth_ > lineDepth_) {
            ++line_.subFolders;
        }
    }
    void leaveFolder(const plat::WalkFolder& f) override
    {
        const int depth = depth_--;
        if (mode_ == DirHogMode::MainFolders) {
            if (depth < lineDepth_)
                return;
            if (!aborted())
                count(f, line_, false);
            if (depth == lineDepth_)
                sink_(line_, path_, id_);
            return;
        }
        if (aborted())
            return;
        Line own;
        count(f, own, true);
        sink_(own, f.path(), f.identity());
    }

private:
    void count(const plat::WalkFolder& f, Line& line, bool countFolders)
    {
        bool first = true;
        for (const plat::FindData& e : f.entries()) {
            if (!first) {
                pump();
                if (aborted())
                    return;
            }
            first = false;
            if (e.attributes & plat::faDirectory) {
                if (countFolders)
                    ++line.subFolders;
                continue;
            }
            if (e.linkCount > 1 && !links_.insert(plat::FileIdentity{e.device, e.inode}).second)
                continue;
            line.bytes += e.size();
            ++line.files;
            line.latest = std::max(line.latest, e.lastAccessTime);
        }
    }

    const DirHogSearch& s_;
    const bool& abortFlag_;
    const DirHogMode mode_;
    const int lineDepth_;
    Sink sink_;
    int depth_ = -1;
    Line line_;
    QString path_;
    plat::FileIdentity id_;
    std::unordered_set<plat::FileIdentity, IdentityHash> links_;
};

QStringList DirHogSearch::titles()
{
    return {QStringLiteral("Size"),          QStringLiteral("% Used"),
            QStringLiteral("# Files"),       QStringLiteral("# Sub-folders"),
            QStringLiteral("Latest File Access"), QStringLiteral("Name")};
}

struct DirHogSearch::Cells {
    QString size, used, files, subFolders, date, name;
};

DirHogSearch::DirHogSearch() : grid_(kColumns, 2), cells_(std::make_unique<Cells>())
{
    clear();
}

DirHogSearch::~DirHogSearch() = default;

void DirHogSearch::clear()
{
    grid_.reset(titles());
    // Folder rows of a whole tree share their folders part by part, and
    // the path is the name cell with its drive letter in upper case: a
    // row then keeps little more than its own name and numbers.
    grid_.setColumnStore(kDateColumn, comp::ResultGrid::Shared);
    grid_.setColumnStore(kNameColumn, comp::ResultGrid::ByFolder);
    identities_.clear();
    bytes_.clear();
    groupSeparator_ = QLocale().groupSeparator();
    usedTexts_.clear();
    clock_ = core::LocalDosClock();
    abortFlag_ = false;
    full_ = false;
    lastDateText_.clear();
}

// Taken from the DOS fields directly (a local QDateTime would look the time
// zone up again for every line), and the text of the last date reused
// within a search: the lines of one tree mostly share their dates.
QString DirHogSearch::dateText(core::PackedDosDateTime t)
{
    if (t == 0)
        return QString();
    const quint16 date = quint16(t >> 16);
    if (date != lastDate_ || lastDateText_.isEmpty()) {
        lastDateText_ = core::SafeDateToStr(QDate(1980 + (date >> 9), (date >> 5) & 15, date & 31));
        lastDate_ = date;
    }
    return lastDateText_;
}

QString DirHogSearch::usedText(double percent)
{
    // Most folders share a few shares once rounded: each text is made once
    // per hundredth. The text of a share that is not close to half a
    // hundredth is that of its rounded value; one that is close is made on
    // its own, so the rounding stays the locale's.
    const double hundredths = percent * 100.0;
    const double whole = std::floor(hundredths);
    if (!(percent >= 0 && percent <= 100) || std::fabs(hundredths - whole - 0.5) < 1e-6)
        return QLocale().toString(percent, 'f', 2);
    const auto at = size_t(hundredths - whole < 0.5 ? whole : whole + 1);
    if (usedTexts_.size() <= at)
        usedTexts_.resize(at + 1);
    QString& text = usedTexts_[at];
    if (text.isNull())
        text = QLocale().toString(double(at) / 100.0, 'f', 2);
    return text;
}

void DirHogSearch::fillCells(const Line& line, double driveTotal, Cells& out)
{
    const double bytes = double(line.bytes);
    out.used = driveTotal > bytes ? usedText(bytes / driveTotal * 100.0) : QStringLiteral("???");
    const core::PackedDosDateTime latest = line.latest ? clock_(line.latest) : 0;
    if (line.bytes > quint64(std::numeric_limits<qint64>::max())) {
        out.size = core::FormatGrouped(qint64(line.bytes));
    } else {
        // FormatGrouped's text, with the separator taken once per search.
        char16_t digits[20];
        int n = 0;
        quint64 v = line.bytes;
        do {
            digits[n++] = char16_t(u'0' + v % 10);
            v /= 10;
        } while (v);
        out.size.resize(0);
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                out.size += groupSeparator_;
            out.size += QChar(digits[n - 1 - i]);
        }
    }
    out.files.setNum(line.files);
    out.subFolders.setNum(line.subFolders);
    out.date = dateText(latest);
}

QStringList DirHogSearch::cells(const Line& line, double driveTotal)
{
    Cells c;
    fillCells(line, driveTotal, c);
    return {c.size, c.used, c.files, c.subFolders, c.date};
}

bool DirHogSearch::addLine(const Line& line, const QString& path, const plat::FileIdentity& id, double driveTotal)
{
    if (full_)
        return false;
    if (grid_.rowsUsed() >= capacity) {
        full_ = true;
        abortFlag_ = true;
        if (warning)
            warning(QString::fromLatin1(kDirHogResourceLimitMessage));
        return false;
    }
    Cells& c = *cells_;
    fillCells(line, driveTotal, c);
    c.name = path;
    if (!c.name.isEmpty())
        c.name[0] = c.name[0].toLower();  // as DirHogName
    const QStringView row[] = {c.size, c.used, c.files, c.subFolders, c.date, c.name};
    const int r = grid_.addRowViews(row, path);
    grid_.setTag(r, identities_.size());
    identities_.push_back(id);
    bytes_.push_back(line.bytes);
    return true;
}

void DirHogSearch::measure(const QString& root, DirHogMode mode)
{
    plat::WalkOptions options;
    options.hidden = true;
    options.system = true;
    options.fileNames = false;  // files are counted and summed, never named
    std::unique_ptr<plat::WalkFolder> folder;
    if (EnterRoot(root, options, folder) != RootStart::Entered)
        return;
    // Each entry has a context of its own: an entry nested in another still
    // gets its lines, and its hard links are counted for it.
    plat::WalkContext context;
    const double total = DriveTotal(root);
    Visitor visitor(*this, abortFlag_, mode, mode == DirHogMode::MainFolders ? 1 : 0,
                    [&](const Line& line, const QString& path, const plat::FileIdentity& id) {
                        addLine(line, path, id, total);
                    });
    plat::walkTree(*folder, context, visitor);
}

void DirHogSearch::search(const QStringList& roots, DirHogMode mode)
{
    clear();
    mode_ = mode;
    for (const QString& root : roots) {
        if (abortFlag_)
            break;
        measure(root, mode);
    }
    if (status)
        status(QString());
    grid_.fitRowCount();
    const reports::SortCommand* bySize = reports::FindSortCommand(u"TfrmDirHog", u"Sort by &Size");
    reports::SetSortDescending(*bySize, true);
    // The sort would read each Size cell back as a number; the numbers are
    // at hand.
    const QString point = QLocale().decimalPoint();
    if (bySize->column == 0 && reports::GroupedDigitsReadAsValue(groupSeparator_, point.isEmpty() ? u'.' : point[0])) {
        reports::RunSortCommand(grid_, *bySize, [this](int row) {
            const quint64 tag = grid_.tag(row);
            const quint64 bytes = tag < bytes_.size() ? bytes_[tag] : 0;
            if (tag >= bytes_.size() || bytes > quint64(std::numeric_limits<qint64>::max()))
                return reports::NumberSortKey(grid_.cellView(row, 0));
            return (long double)bytes;
        });
    } else {
        reports::RunSortCommand(grid_, *bySize);
    }
}

int DirHogSearch::folderCount() const
{
    return mode_ == DirHogMode::MainFolders ? lines() : lines() - 1;
}

bool DirHogSearch::noResult() const
{
    if (abortFlag_)
        return lines() == 0;
    return lines() < (mode_ == DirHogMode::MainFolders ? 1 : 2);
}

bool DirHogSearch::stillMeasured(int row) const
{
    const quint64 tag = grid_.tag(row);
    if (row < 1 || row >= grid_.rowCount() || grid_.path(row).isEmpty() || tag >= identities_.size())
        return false;
    plat::FindData now;
    if (!plat::statPath(grid_.path(row), now) || (now.attributes & plat::faReparse)
        || !(now.attributes & plat::faDirectory))
        return false;
    return plat::FileIdentity{now.device, now.inode} == identities_[tag];
}

bool DirHogSearch::measureAgain(int row)
{
    if (!stillMeasured(row))
        return false;
    const QString path = grid_.path(row);
    plat::WalkOptions options;
    options.hidden = true;
    options.system = true;
    options.fileNames = false;  // files are counted and summed, never named
    plat::TreeError error = plat::TreeError::None;
    auto folder = plat::WalkFolder::openRoot(path, options, error);
    if (!folder || folder->identity() != identities_[grid_.tag(row)])
        return false;
    const bool notAborted = false;
    std::optional<Line> fresh;
    plat::WalkContext context;
    Visitor visitor(*this, notAborted, mode_, 0,
                    [&](const Line& line, const QString&, const plat::FileIdentity&) { fresh = line; });
    if (mode_ == DirHogMode::AllFolders) {
        // Only the folder's own files: read it without walking below.
        struct OwnOnly : plat::WalkVisitor {
            Visitor& v;
            explicit OwnOnly(Visitor& visitor) : v(visitor) {}
            bool walkInto(const plat::FindData&) override { return false; }
            void enterFolder(const plat::WalkFolder& f) override { v.enterFolder(f); }
            void leaveFolder(const plat::WalkFolder& f) override { v.leaveFolder(f); }
        } own(visitor);
        plat::walkTree(*folder, context, own);
    } else {
        plat::walkTree(*folder, context, visitor);
    }
    if (!fresh)
        return false;
    const QStringList cellsNow = cells(*fresh, DriveTotal(path));
    bytes_[grid_.tag(row)] = fresh->bytes;
    for (int c = 0; c < kColumns - 1; ++c)
        grid_.setCell(row, c, cellsNow.value(c));
    return true;
}

void DirHogSearch::writeGridLines(const std::function<void(QStringView)>& write) const
{
    QString line;
    for (int r = 0; r < grid_.rowCount(); ++r) {
        if (r > 0 && r > grid_.rowsUsed())
            break;
        line.resize(0);
        grid_.appendJoinedCells(r, u'\t', line);
        write(line);
    }
}

}  // namespace finders
