#include "stats/statpages.h"

#include "core/helpers.h"
#include "stats/stattexts.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace stats {

namespace {

constexpr int kRedIndex = 1;
constexpr int kBlueIndex = 3;

QString Grouped(quint64 n)
{
    const quint64 top = quint64(std::numeric_limits<qint64>::max());
    return core::FormatGrouped(qint64(std::min(n, top)));
}

// Each bar's share of all bars' values; nothing at all gives 0 shares.
void FillShares(std::vector<ChartBar>& bars)
{
    double sum = 0;
    for (const ChartBar& b : bars)
        sum += b.value;
    for (ChartBar& b : bars)
        b.share = sum > 0 ? 100.0 * b.value / sum : 0.0;
}

double Share(quint64 part, quint64 whole)
{
    return whole > 0 ? 100.0 * double(part) / double(whole) : 0.0;
}

quint64 NumberOf(const StatCell& c)
{
    return c.kind == CellKind::Number ? c.number : 0;
}

}  // namespace

StatCell StatCell::Text(const QString& text)
{
    StatCell c;
    c.text = text;
    return c;
}

StatCell StatCell::Number(quint64 number)
{
    StatCell c;
    c.kind = CellKind::Number;
    c.number = number;
    return c;
}

StatCell StatCell::Percent(double percent)
{
    StatCell c;
    c.kind = CellKind::Percent;
    c.percent = std::isfinite(percent) ? percent : 0.0;
    return c;
}

QString CellText(const StatCell& cell, bool grouped)
{
    switch (cell.kind) {
    case CellKind::Text:
        return cell.text;
    case CellKind::Number:
        return grouped ? Grouped(cell.number) : QString::number(cell.number);
    case CellKind::Percent:
        return grouped ? QLocale().toString(cell.percent, 'f', 2) : QString::number(cell.percent, 'f', 2);
    }
    return QString();
}

QStringList StatGrid::rowTexts(int row, bool grouped) const
{
    QStringList texts;
    if (row < 0 || row >= rowCount())
        return texts;
    for (const StatCell& c : rows[size_t(row)])
        texts << CellText(c, grouped);
    return texts;
}

quint32 PaletteColour(int index)
{
    static const quint32 palette[12] = {0xFF0000, 0x800000, 0x0000FF, 0xFFFF00, 0x008000, 0x00FF00,
                                        0xFF00FF, 0x008080, 0x000080, 0x00FFFF, 0xFFFFFF, 0x808080};
    if (index < 1 || index > 12)
        return 0;
    return palette[index - 1];
}

QString PercentMark(double value, int decimals)
{
    if (!std::isfinite(value))
        value = 0;
    const QLocale locale;
    QString text = locale.toString(value, 'f', std::max(decimals, 0));
    const QString point = locale.decimalPoint();
    if (decimals > 0 && text.contains(point)) {
        while (text.endsWith(locale.zeroDigit()))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    if (text == QLatin1String("-0"))
        text = locale.zeroDigit();
    return text + QStringLiteral(" %");
}

double Megabytes(quint64 bytes)
{
    return double(bytes) / 1048576.0;
}

// --- Types ------------------------------------------------------------------

StatGrid TypesGrid(const ExtensionTotals& types)
{
    StatGrid g;
    g.titles = {QStringLiteral("Extension"), QStringLiteral("Type"), QStringLiteral("Size"),
                QStringLiteral("# Files"), QStringLiteral("Avg File Size")};
    quint64 bytes = 0, files = 0;
    for (const ExtensionRow& r : types.rows()) {
        g.rows.push_back({StatCell::Text(r.extension), StatCell::Text(core::FileTypeName(r.extension)),
                          StatCell::Number(r.bytes), StatCell::Number(r.count),
                          StatCell::Number(r.count ? r.bytes / r.count : 0)});
        bytes += r.bytes;
        files += r.count;
    }
    g.rows.push_back({StatCell::Text(QString()), StatCell::Text(QStringLiteral("Totals")), StatCell::Number(bytes),
                      StatCell::Number(files), StatCell::Text(QString())});
    return g;
}

void SortTypeRows(StatGrid& grid, int column)
{
    const int extensionRows = grid.rowCount() - 1;  // the totals row is last
    if (extensionRows < 2 || column < tcExtension || column > tcAverage)
        return;
    const auto begin = grid.rows.begin();
    const auto end = begin + extensionRows;
    const size_t c = size_t(column);
    if (column == tcExtension || column == tcType) {
        std::stable_sort(begin, end, [c](const auto& a, const auto& b) {
            return QString::compare(a[c].text, b[c].text, Qt::CaseInsensitive) < 0;
        });
    } else {
        std::stable_sort(begin, end, [c](const auto& a, const auto& b) { return NumberOf(a[c]) > NumberOf(b[c]); });
    }
}

std::vector<ChartBar> TypePieSlices(const ExtensionTotals& types, TypePieMode mode)
{
    struct Item {
        quint64 value;
        const ExtensionRow* row;
    };
    std::vector<Item> items;
    for (const ExtensionRow& r : types.rows()) {
        quint64 v = r.bytes;
        if (mode == TypePieMode::ByFiles)
            v = r.count;
        else if (mode == TypePieMode::ByAverage)
            v = r.count ? r.bytes / r.count : 0;
        items.push_back({v, &r});
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.value > b.value; });
    std::vector<ChartBar> slices;
    const size_t n = std::min<size_t>(12, items.size());
    for (size_t i = 0; i < n; ++i) {
        if (items[i].value == 0)
            continue;
        ChartBar s;
        s.label = core::FileTypeName(items[i].row->extension);
        s.value = double(items[i].value);
        s.colour = int(i) + 1;
        slices.push_back(s);
    }
    FillShares(slices);
    return slices;
}

// --- Sizes ------------------------------------------------------------------

StatGrid SizesGrid(const StatTotals& totals)
{
    StatGrid g;
    g.titles = {QStringLiteral("File size"), QStringLiteral("Total file size"), QStringLiteral("Number of files")};
    for (int c = kSizeClasses; c >= 1; --c)
        g.rows.push_back({StatCell::Text(SizeClassLabel(c)), StatCell::Number(totals.sizeBytes[size_t(c)]),
                          StatCell::Number(totals.sizeCount[size_t(c)])});
    return g;
}

std::vector<ChartBar> SizeBars(const StatTotals& totals, bool bySize)
{
    std::vector<ChartBar> bars;
    for (int c = 1; c <= kSizeClasses; ++c) {
        ChartBar b;
        b.label = SizeClassLabel(c);
        b.value = bySize ? Megabytes(totals.sizeBytes[size_t(c)]) : double(totals.sizeCount[size_t(c)]);
        b.colour = c;
        bars.push_back(b);
    }
    FillShares(bars);
    return bars;
}

QString SizeChartTitle(bool bySize)
{
    return bySize ? QStringLiteral("File Sizes in MB") : QStringLiteral("Number of Files");
}

// --- Overhang ---------------------------------------------------------------

QString OverhangSizeText(quint64 bytes, bool megabytes)
{
    return megabytes ? core::FormatGroupedF(double(bytes) / 1048576.0) + QStringLiteral(" MB")
                     : core::FormatGroupedF(double(bytes) / 1024.0) + QStringLiteral(" KB");
}

OverhangPage MakeOverhangPage(const StatTotals& totals)
{
    OverhangPage p;
    p.total = totals.foundBytes();
    p.enabled = p.total > 0;
    p.filesFound = totals.filesFound;
    p.clusterSize = totals.clusterSize;
    for (int i = 0; i < kOverhangSizes; ++i) {
        const quint64 w = totals.overhang[size_t(i)];
        p.wasted[size_t(i)] = w;
        p.percent[size_t(i)] = Share(w, p.total + w);
        if (kOverhangClusters[size_t(i)] == totals.clusterSize)
            p.arrowRow = i;
    }
    const bool megabytes = p.total >= 1048576;
    p.totalText = OverhangSizeText(p.total, megabytes);
    p.filesText = kFilesScannedCaption + Grouped(p.filesFound);
    if (p.arrowRow >= 0) {
        p.actualBytes = p.total + p.wasted[size_t(p.arrowRow)];
        p.actualText = kActualSpaceCaption + OverhangSizeText(p.actualBytes, megabytes);
    }
    return p;
}

std::vector<ChartBar> OverhangBars(const OverhangPage& page)
{
    std::vector<ChartBar> bars;
    for (int i = kOverhangSizes - 1; i >= 0; --i) {
        ChartBar b;
        b.label = OverhangLabel(i);
        b.value = page.percent[size_t(i)];
        b.colour = kRedIndex;
        bars.push_back(b);
    }
    FillShares(bars);
    return bars;
}

StatGrid OverhangGrid(const OverhangPage& page)
{
    StatGrid g;
    g.titles = {QStringLiteral("Cluster size"), QStringLiteral("Wasted space"), QStringLiteral("Percent wasted")};
    for (int i = 0; i < kOverhangSizes; ++i)
        g.rows.push_back({StatCell::Text(OverhangLabel(i)), StatCell::Number(page.wasted[size_t(i)]),
                          StatCell::Percent(page.percent[size_t(i)])});
    g.rows.push_back({StatCell::Text(QStringLiteral("Cluster size")), StatCell::Number(page.clusterSize)});
    g.rows.push_back({StatCell::Text(QStringLiteral("Total file sizes")), StatCell::Number(page.total)});
    g.rows.push_back({StatCell::Text(QStringLiteral("Actual space used")),
                      page.arrowRow >= 0 ? StatCell::Number(page.actualBytes) : StatCell::Text(QString())});
    return g;
}

// --- Dates ------------------------------------------------------------------

const DateTally& TallyOf(const StatTotals& totals, DateKind kind)
{
    switch (kind) {
    case DateKind::Access:
        return totals.access;
    case DateKind::Created:
        return totals.created;
    case DateKind::Modified:
        break;
    }
    return totals.modified;
}

StatGrid DateGrid(const StatTotals& totals, DateKind kind)
{
    static const char* const titles[] = {"Accessed Date", "Created Date", "Modified Date"};
    const DateTally& t = TallyOf(totals, kind);
    StatGrid g;
    g.titles = {QString::fromLatin1(titles[int(kind)]), QStringLiteral("Total file size"),
                QStringLiteral("Number of files")};
    for (int b = kAgeBuckets - 1; b >= 0; --b)
        g.rows.push_back({StatCell::Text(AgeBucketLabel(b)), StatCell::Number(t.ageBytes[size_t(b)]),
                          StatCell::Number(t.ageCount[size_t(b)])});
    return g;
}

StatGrid CombinedGrid(const StatTotals& totals)
{
    StatGrid g;
    g.titles = {QStringLiteral("Combined dates"), QStringLiteral("Access Size"), QStringLiteral("Access # files"),
                QStringLiteral("Create Size"),    QStringLiteral("Create # files"), QStringLiteral("Modify Size"),
                QStringLiteral("Modify # files")};
    for (int b = kAgeBuckets - 1; b >= 0; --b) {
        std::vector<StatCell> row{StatCell::Text(AgeBucketLabel(b))};
        for (DateKind k : {DateKind::Access, DateKind::Created, DateKind::Modified}) {
            const DateTally& t = TallyOf(totals, k);
            row.push_back(StatCell::Number(t.ageBytes[size_t(b)]));
            row.push_back(StatCell::Number(t.ageCount[size_t(b)]));
        }
        g.rows.push_back(std::move(row));
    }
    return g;
}

std::vector<ChartBar> DateBars(const StatTotals& totals, DateKind kind, bool bySize)
{
    const DateTally& t = TallyOf(totals, kind);
    std::vector<ChartBar> bars;
    for (int b = 0; b < kAgeBuckets; ++b) {
        ChartBar bar;
        bar.label = AgeBucketLabel(b);
        bar.value = bySize ? Megabytes(t.ageBytes[size_t(b)]) : double(t.ageCount[size_t(b)]);
        bar.colour = b + 1;
        bars.push_back(bar);
    }
    FillShares(bars);
    return bars;
}

QString DateChartTitle(DateKind kind, bool bySize)
{
    static const char* const names[] = {"Access Date", "Created Date", "Modified Date"};
    return QString::fromLatin1(names[int(kind)])
        + (bySize ? QStringLiteral(" (file sizes in MB)") : QStringLiteral(" (Number of files)"));
}

QString CombinedSeriesName(DateKind kind)
{
    static const char* const names[] = {"Accessed", "Created", "Modified"};
    return QString::fromLatin1(names[int(kind)]);
}

quint32 CombinedSeriesColour(DateKind kind)
{
    static const quint32 colours[] = {kBlue, kLime, kRed};
    return colours[int(kind)];
}

// --- Attributes -------------------------------------------------------------

namespace {

struct AttributeRow {
    const char* label;
    Attribute attribute;
};
// Top to bottom as the page shows them.
constexpr AttributeRow kAttributeRows[] = {
    {"Hidden", atHidden}, {"Read-only", atReadOnly}, {"System", atSystem}, {"Archive", atArchive}};

}  // namespace

StatGrid AttributeGrid(const StatTotals& totals)
{
    const quint64 bytes = totals.foundBytes();
    StatGrid g;
    g.titles = {QStringLiteral("Attribute"), QStringLiteral("% of total # files"), QStringLiteral("# Files"),
                QStringLiteral("% of total size"), QStringLiteral("File Sizes")};
    for (const AttributeRow& r : kAttributeRows) {
        const quint64 n = totals.attrCount[size_t(r.attribute)];
        const quint64 b = totals.attrBytes[size_t(r.attribute)];
        g.rows.push_back({StatCell::Text(QString::fromLatin1(r.label)),
                          StatCell::Percent(Share(n, totals.filesFound)), StatCell::Number(n),
                          StatCell::Percent(Share(b, bytes)), StatCell::Number(b)});
    }
    return g;
}

std::vector<ChartBar> AttributeBars(const StatTotals& totals, bool bySize)
{
    const quint64 bytes = totals.foundBytes();
    std::vector<ChartBar> bars;
    for (auto it = std::rbegin(kAttributeRows); it != std::rend(kAttributeRows); ++it) {
        ChartBar b;
        b.label = QString::fromLatin1(it->label);
        b.value = bySize ? Share(totals.attrBytes[size_t(it->attribute)], bytes)
                         : Share(totals.attrCount[size_t(it->attribute)], totals.filesFound);
        b.colour = bySize ? kBlueIndex : kRedIndex;
        bars.push_back(b);
    }
    FillShares(bars);
    return bars;
}

// --- Time -------------------------------------------------------------------

StatGrid TimeGrid(const StatTotals& totals)
{
    StatGrid g;
    g.titles = {QStringLiteral("Time"), QStringLiteral("Modified time"), QStringLiteral("Created time"),
                QStringLiteral("Access Time")};
    for (int s = 0; s < kHourSlots; ++s)
        g.rows.push_back({StatCell::Text(HourSlotLabel(s)), StatCell::Number(totals.modified.hourCount[size_t(s)]),
                          StatCell::Number(totals.created.hourCount[size_t(s)]),
                          StatCell::Number(totals.access.hourCount[size_t(s)])});
    return g;
}

bool AccessTimeShown(const StatTotals& totals)
{
    for (quint64 n : totals.access.hourCount)
        if (n > 0)
            return true;
    return false;
}

}  // namespace stats
