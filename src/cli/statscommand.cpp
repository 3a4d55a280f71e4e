#include "cli/statscommand.h"

#include "cli/cliargs.h"
#include "components/extensionchoice.h"
#include "core/prompter.h"
#include "core/typelist.h"
#include "stats/statcollector.h"
#include "stats/statpages.h"
#include "stats/statspace.h"

#include <QDate>

#include <cmath>

namespace cli {

const char* const kStatsUsage =
    "  trovik-scan stats [--include P,... | --exclude P,...] [--today YYYY-MM-DD] ROOT...\n"
    "      Collects statistics as the \"&Statistics\" window does and prints the\n"
    "      pages' grids, each after a line naming its page ([Types], [Sizes],\n"
    "      [Overhang] (one ROOT only), [Access], [Created], [Modified],\n"
    "      [Attribute], [Time]): titles first, tab-separated, numbers without\n"
    "      grouping, percentages with two decimals. --include counts only files\n"
    "      of the listed types (\"doc\", \".doc\" or \"*.doc\"), --exclude all others.\n"
    "      --today fixes the day that file ages count from.\n"
    "  trovik-scan space [--no-total] DRIVE...\n"
    "      Prints the Space page's bars (drive letter, free, used) in the page's\n"
    "      unit, a \"Total\" bar for two or more drives unless --no-total, then the\n"
    "      unit and the total capacity, free and used space.\n";

namespace {

// Passes every box on to the command line's prompter and remembers whether
// an error was among them.
class CountingPrompter : public core::Prompter {
public:
    explicit CountingPrompter(core::Prompter& inner) : inner_(inner) {}
    void message(core::MessageKind kind, const QString& text, const QString& caption) override
    {
        if (kind != core::MessageKind::Info)
            ++errors;
        inner_.message(kind, text, caption);
    }
    core::Answer confirm(core::ConfirmKind kind, const QString& text, const QString& caption) override
    {
        return inner_.confirm(kind, text, caption);
    }
    std::optional<QString> input(const QString& c, const QString& p, const QString& i) override
    {
        return inner_.input(c, p, i);
    }
    std::optional<QString> pickFolder(const QString& c, const QString& f) override { return inner_.pickFolder(c, f); }
    std::optional<QString> saveFile(const core::SaveRequest& r) override { return inner_.saveFile(r); }
    std::optional<core::PrintTarget> choosePrinter(const QString& c) override { return inner_.choosePrinter(c); }

    int errors = 0;

private:
    core::Prompter& inner_;
};

// Restores the prompter in use when the command ends.
class PrompterScope {
public:
    explicit PrompterScope(core::Prompter* p) : previous_(&core::prompter()) { core::setPrompter(p); }
    ~PrompterScope() { core::setPrompter(previous_); }

private:
    core::Prompter* previous_;
};

bool ParseTypes(const QString& list, QStringList& entries)
{
    for (const QString& typed : list.split(QLatin1Char(','))) {
        const QString pattern = comp::NormalizeExtensionPattern(typed.trimmed());
        if (pattern.isEmpty() || !pattern.startsWith(QLatin1String("*.")))
            return false;
        entries << core::TypeEntry(pattern);
    }
    return !entries.isEmpty();
}

void PrintGrid(const QString& page, const stats::StatGrid& grid)
{
    Out(QLatin1Char('[') + page + QLatin1Char(']'));
    Out(grid.titles.join(QLatin1Char('\t')));
    for (int r = 0; r < grid.rowCount(); ++r)
        Out(grid.rowTexts(r, false).join(QLatin1Char('\t')));
}

QString Whole(double x)
{
    return QString::number(qint64(std::llround(x)));
}

}  // namespace

int RunStats(const QStringList& args)
{
    finders::ScanScope scope;
    QDate today;
    QStringList rest = args;
    while (!rest.isEmpty()) {
        const QString a = rest.takeFirst();
        if (a == "--include" || a == "--exclude") {
            if (rest.isEmpty() || scope.typeMode != finders::TypeMode::AllFiles
                || !ParseTypes(rest.takeFirst(), scope.typeEntries))
                return kUsage;
            scope.typeMode = a == "--include" ? finders::TypeMode::Include : finders::TypeMode::Exclude;
        } else if (a == "--today") {
            if (rest.isEmpty())
                return kUsage;
            today = QDate::fromString(rest.takeFirst(), Qt::ISODate);
            if (!today.isValid())
                return kUsage;
        } else if (a.startsWith("--")) {
            return kUsage;
        } else {
            const auto root = DrivePathArgument(a);
            if (!root) {
                Err("Not a drive entry or an absolute path on a drive: " + a);
                return kUsage;
            }
            scope.roots << *root;
        }
    }
    if (scope.roots.isEmpty())
        return kUsage;

    CountingPrompter counting(core::prompter());
    PrompterScope prompterScope(&counting);
    stats::StatCollector collector;
    collector.setScope(scope);
    collector.today = today;
    collector.announce = [](const QString&) {};
    collector.note = [](const QString& text) { Err(text); };
    if (!collector.collect())
        return kMessage;

    const stats::StatTotals& t = collector.totals();
    Out("Files processed\t" + QString::number(t.filesProcessed));
    Out("Files found\t" + QString::number(t.filesFound));
    PrintGrid("Types", stats::TypesGrid(collector.types()));
    PrintGrid("Sizes", stats::SizesGrid(t));
    const stats::OverhangPage overhang = stats::MakeOverhangPage(t);
    if (collector.overhangEnabled() && overhang.enabled)
        PrintGrid("Overhang", stats::OverhangGrid(overhang));
    PrintGrid("Access", stats::DateGrid(t, stats::DateKind::Access));
    PrintGrid("Created", stats::DateGrid(t, stats::DateKind::Created));
    PrintGrid("Modified", stats::DateGrid(t, stats::DateKind::Modified));
    PrintGrid("Attribute", stats::AttributeGrid(t));
    PrintGrid("Time", stats::TimeGrid(t));
    return counting.errors ? kMessage : kOk;
}

int RunSpace(const QStringList& args)
{
    bool showTotal = true;
    QStringList entries;
    for (const QString& a : args) {
        if (a == "--no-total") {
            showTotal = false;
        } else if (a.startsWith("--")) {
            return kUsage;
        } else {
            const auto drive = DrivePathArgument(a);
            if (!drive) {
                Err("Not a drive or an absolute path on a drive: " + a);
                return kUsage;
            }
            entries << *drive;
        }
    }
    if (entries.isEmpty())
        return kUsage;
    const stats::SpacePage page = stats::doDiskSize(entries, showTotal);
    if (!page.hasData) {
        Err("None of the drives is ready.");
        return kMessage;
    }
    for (const stats::SpaceBar& bar : page.bars)
        Out(bar.label + '\t' + Whole(bar.free) + '\t' + Whole(bar.used));
    Out("Unit\t" + page.unitText());
    Out("Total Capacity\t" + QString::number(qint64(std::floor(page.total))));
    Out("Free Space\t" + Whole(page.free));
    Out("Used Space\t" + Whole(page.used));
    return kOk;
}

}  // namespace cli
