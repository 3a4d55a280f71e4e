#pragma once
// The Space page's contents without widgets: the stacked bars of free and
// used space of the ticked drives, the captions, and the pies. A drive that
// does not answer within 2 seconds is not ready and is left out, so a dead
// mount never hangs a refresh.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace stats {

enum class SpaceUnit { KB, MB };

// One stacked bar, in the page's unit.
struct SpaceBar {
    QString label;  // the drive letter, or "Total"
    double free = 0;
    double used = 0;
};

struct SpacePage {
    int drivesShown = 0;
    // One bar per drive shown, in list order; then "Total" when two or more
    // drives show and the total was asked for. All in the page's one unit.
    std::vector<SpaceBar> bars;
    bool hasData = false;  // total above 0: the chart and captions show
    SpaceUnit unit = SpaceUnit::KB;
    double total = 0;  // in the unit
    double free = 0;
    double used = 0;   // never below 0
    bool lowSpace = false;  // free under 10 % of the total: drawn in red

    QString unitText() const;     // "KB" / "MB" (lblTot)
    QString unitCaption() const;  // "KB " / "MB " (lblPct, lblPct2)
    QString valueFormat() const;  // "#,##0 KB" / "#,##0 MB"
    QString totalText() const;    // grouped, fraction cut off (lblTotal)
    QString freeText() const;     // rounded, grouped (lblFree)
    QString usedText() const;     // rounded, grouped (lblUsed)
};

// The refresh of the bar view for the ticked entries of the drive list
// (each entry's first character is its drive letter).
SpacePage doDiskSize(const QStringList& tickedEntries, bool showTotal);

struct SpacePie {
    QString title;        // "C:\  37.5% free", "TOTAL 37.5% free"
    quint64 usedBytes = 0;  // slice in blue
    quint64 freeBytes = 0;  // slice in fuchsia
};

struct SpacePies {
    std::vector<SpacePie> drives;  // pie1 .. pie11
    std::optional<SpacePie> total;  // pieTotal; none when nothing had capacity
};
constexpr int kMaxDrivePies = 11;
// The pies for the entries of the drive list, ticked or not: the first 11
// ready drives with a capacity above 0, and their sum.
SpacePies doPieCharts(const QStringList& entries);

// 100 x free / total with two decimals, then its last digit dropped
// ("37.5" for 37.528 %); "0.0" when total is 0.
QString FreePercentText(quint64 freeBytes, quint64 totalBytes);

}  // namespace stats
