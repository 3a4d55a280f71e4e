#pragma once
// The contents of the result pages, made from the totals without widgets:
// the listing grids as tables of typed cells, and the bars, slices and
// titles of the charts. The window fills its grids and charts from these;
// trovik-scan prints the same tables. Values are computed from the totals,
// never read back from cell text, and a share of nothing is 0, never NaN.

#include "stats/stattotals.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace stats {

enum class CellKind { Text, Number, Percent };

struct StatCell {
    CellKind kind = CellKind::Text;
    QString text;        // Text cells
    quint64 number = 0;  // Number cells: a count or bytes
    double percent = 0;  // Percent cells

    static StatCell Text(const QString& text);
    static StatCell Number(quint64 number);
    static StatCell Percent(double percent);
};

// A cell as text. grouped: whole numbers with thousands separators (the
// window's grids); otherwise plain digits. Percentages always show two
// decimals ("37.53").
QString CellText(const StatCell& cell, bool grouped);

struct StatGrid {
    QStringList titles;
    std::vector<std::vector<StatCell>> rows;  // the data rows, titles not among them

    int rowCount() const { return int(rows.size()); }
    QStringList rowTexts(int row, bool grouped) const;
};

// One bar of a per-class chart, or one pie slice.
struct ChartBar {
    QString label;
    double value = 0;  // megabytes, a count, or a percentage, as the chart shows
    double share = 0;  // percent of all bars' values together; 0 when they add up to 0
    int colour = 0;    // palette index 1..12
};

// The chart palette by index 1..12, as 0xRRGGBB (red, maroon, blue,
// yellow, green, lime, fuchsia, teal, navy, aqua, white, gray).
quint32 PaletteColour(int index);
constexpr quint32 kRed = 0xFF0000;
constexpr quint32 kBlue = 0x0000FF;
constexpr quint32 kLime = 0x00FF00;
constexpr quint32 kFuchsia = 0xFF00FF;

// A chart mark: the value with up to `decimals` decimals, thousands
// separators and " %" ("12.3 %", "1,234.56 %", "0 %").
QString PercentMark(double value, int decimals);

// Megabytes, as the charts show byte totals.
double Megabytes(quint64 bytes);

// --- Types page -------------------------------------------------------------

enum TypeColumn { tcExtension = 0, tcType = 1, tcSize = 2, tcFiles = 3, tcAverage = 4 };
// One row per extension in table order, then the totals row ("Totals",
// the sums of bytes and files; its extension and average cells empty).
StatGrid TypesGrid(const ExtensionTotals& types);
// Sorts the extension rows (never the totals row, which stays last):
// extension and type as text ascending without regard to case, size,
// files and average as numbers descending. Rows with equal keys keep
// their order. Fewer than 2 extension rows: nothing changes.
void SortTypeRows(StatGrid& grid, int column);

enum class TypePieMode { BySize, ByFiles, ByAverage };
// The slices of the type pie: the (at most) 12 largest values of the
// chosen kind, largest first, each above 0, labelled with the type name,
// in palette colours 1, 2, ... in that order.
std::vector<ChartBar> TypePieSlices(const ExtensionTotals& types, TypePieMode mode);

// --- Sizes page -------------------------------------------------------------

// "File size", "Total file size", "Number of files"; classes 12 down to 1.
StatGrid SizesGrid(const StatTotals& totals);
// Twelve bars for classes 1 to 12: megabytes (bySize) or counts.
std::vector<ChartBar> SizeBars(const StatTotals& totals, bool bySize);
QString SizeChartTitle(bool bySize);  // "File Sizes in MB", "Number of Files"

// --- Overhang page ----------------------------------------------------------

struct OverhangPage {
    bool enabled = false;  // some bytes were found: the page can be shown
    quint64 total = 0;     // bytes of the files found
    quint64 filesFound = 0;
    std::array<quint64, kOverhangSizes> wasted{};
    std::array<double, kOverhangSizes> percent{};  // 100 x wasted / (total + wasted)
    quint64 clusterSize = 0;
    int arrowRow = -1;             // index into kOverhangClusters; -1: no arrow
    quint64 actualBytes = 0;       // total + the wasted bytes at the cluster size, with the arrow
    QString totalText;             // "12 MB" or "900 KB"
    QString filesText;             // kFilesScannedCaption + files found, grouped
    QString actualText;            // kActualSpaceCaption + size; empty without the arrow
};
OverhangPage MakeOverhangPage(const StatTotals& totals);
// "12 MB" from 1,048,576 bytes up, else "900 KB" (whole units, grouped).
QString OverhangSizeText(quint64 bytes, bool megabytes);
// Five red bars, 64K first, so that each sits beside its row.
std::vector<ChartBar> OverhangBars(const OverhangPage& page);
// The page as a table: "4K".."64K" with wasted bytes and percent, then
// "Cluster size", "Total file sizes" and "Actual space used" (empty
// without the arrow).
StatGrid OverhangGrid(const OverhangPage& page);

// --- Access, Created, Modified and Combined pages ---------------------------

enum class DateKind { Access, Created, Modified };
const DateTally& TallyOf(const StatTotals& totals, DateKind kind);
// Its title, "Total file size", "Number of files"; buckets 9 down to 0.
StatGrid DateGrid(const StatTotals& totals, DateKind kind);
// "Combined dates" and size and count per kind; buckets 9 down to 0.
StatGrid CombinedGrid(const StatTotals& totals);
// Ten bars for buckets 0 to 9, in palette colours 1 to 10.
std::vector<ChartBar> DateBars(const StatTotals& totals, DateKind kind, bool bySize);
QString DateChartTitle(DateKind kind, bool bySize);
// The Combined chart's series: "Accessed" (blue), "Created" (lime),
// "Modified" (red).
QString CombinedSeriesName(DateKind kind);
quint32 CombinedSeriesColour(DateKind kind);

// --- Attribute page ---------------------------------------------------------

// Rows "Hidden", "Read-only", "System", "Archive"; columns "% of total #
// files", "# Files", "% of total size", "File Sizes". The shares are of the
// files found and of their bytes, so a file with several attributes never
// makes them add up past 100.
StatGrid AttributeGrid(const StatTotals& totals);
// Four bars, Archive first (so that they line up with the rows from the
// bottom): percent of files (red) or of bytes (blue).
std::vector<ChartBar> AttributeBars(const StatTotals& totals, bool bySize);

// --- Time page --------------------------------------------------------------

// "Time", "Modified time", "Created time", "Access Time"; slots 0 to 47.
StatGrid TimeGrid(const StatTotals& totals);
// The access line is shown only when some access time was counted.
bool AccessTimeShown(const StatTotals& totals);

}  // namespace stats
