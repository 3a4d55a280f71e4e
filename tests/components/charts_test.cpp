// The chart pieces: the pie's plan (slices above 0, "Other" under 5 %, the
// biggest pulled out), value axes whose numbers stand apart and fit, and
// names shown as written (the charts take texts as rich text).
#include "components/barchart.h"
#include "components/chartmarks.h"
#include "components/piechart.h"
#include "support/localescope.h"

#include <QChart>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLegend>
#include <QLegendMarker>
#include <QLocale>
#include <QSet>
#include <gtest/gtest.h>

using namespace comp;

namespace {

QStringList describe(const QList<PieSlicePlan>& plan)
{
    QStringList out;
    for (const PieSlicePlan& s : plan)
        out << s.label + "=" + s.mark + (s.exploded ? "*" : "");
    return out;
}

}  // namespace

TEST(Charts, PiePlan)
{
    const testing_support::LocaleScope locale(QLocale::c());
    const struct {
        QList<double> values;
        QStringList expected;
    } cases[] = {
        {{50, 30, 15, 3, 2}, {"a=50 %*", "b=30 %", "c=15 %", "Other=5 %"}},
        {{0, 40, 60, -5}, {"b=40 %", "c=60 %*"}},
        {{0, 0}, {}},
        {{96, 4}, {"a=96 %*", "Other=4 %"}},
        {{1, 2, 3, 4}, {"a=10 %", "b=20 %", "c=30 %", "d=40 %*"}},
    };
    for (const auto& c : cases) {
        QList<PieInput> inputs;
        for (int i = 0; i < c.values.size(); ++i)
            inputs.append({QString(QChar('a' + i)), c.values[i], Qt::red});
        EXPECT_EQ(describe(PlanPie(inputs)), c.expected) << c.expected.join(' ').toStdString();
    }
}

TEST(Charts, ValueAxisNumbersStandApartAndFit)
{
    const testing_support::LocaleScope locale(QLocale::c());
    const struct {
        double max;
        QString unit;
        int width;
    } cases[] = {
        {171050.0, "MB", 380},    // long numbers on a narrow chart
        {0.07, "%", 400},         // shares far below 1 %
        {4000, "", 560},
        {0, "MB", 560},           // nothing to show
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.max);
        BarChart chart(Qt::Horizontal, BarChart::Layout::Stacked);
        chart.resize(c.width, 300);
        chart.show();
        QCoreApplication::processEvents();
        chart.setValueUnit(c.unit);
        chart.setClassBars({{"a", c.max, Qt::red, {}}, {"b", c.max / 2, Qt::blue, {}}});
        const QStringList labels = chart.valueAxisLabels();
        ASSERT_GE(labels.size(), 2);
        EXPECT_EQ(QSet<QString>(labels.begin(), labels.end()).size(), labels.size()) << labels.join('|').toStdString();
        EXPECT_GE(chart.axisMax(), c.max);
        QFont f = chart.font();
        f.setPixelSize(11);
        const QFontMetrics metrics(f);
        // Each number within its step of the plot's width, as Qt needs to
        // draw it whole.
        int widest = 0;
        for (const QString& l : labels)
            widest = std::max(widest, metrics.horizontalAdvance(l));
        const double plot = chart.chart()->plotArea().width();
        EXPECT_LE((labels.size() - 1) * (widest + 12), plot) << labels.join('|').toStdString() << " in " << plot;
    }
}

TEST(Charts, NamesAreShownAsWritten)
{
    BarChart bars(Qt::Horizontal, BarChart::Layout::Stacked);
    bars.setClassBars({{"<= 7 days", 3, Qt::red, {}}, {"8 - 30 days", 1, Qt::blue, {}}});
    bars.setTitle("A & B");
    EXPECT_EQ(bars.title(), "A & B");
    EXPECT_EQ(bars.chart()->legend()->markers().first()->label(), ChartText("<= 7 days"));

    PieChart pie;
    pie.setSlices(PlanPie({{"<b>", 60, Qt::red}, {QString(), 40, Qt::blue}}));
    pie.setRotation(90);
    const QList<QLegendMarker*> markers = pie.chart()->legend()->markers();
    ASSERT_EQ(markers.size(), 2);
    EXPECT_EQ(markers[0]->label(), ChartText("<b>"));
    EXPECT_EQ(markers[1]->label(), " ") << "a slice without a name never shows its mark as its name";
}
