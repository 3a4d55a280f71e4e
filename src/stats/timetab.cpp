#include "stats/timetab.h"

#include "components/linechart.h"
#include "stats/statpages.h"
#include "stats/statwidgets.h"

#include <QLocale>
#include <QScrollBar>
#include <QTime>
#include <QToolButton>

namespace stats {

TimeTab::TimeTab(QWidget* parent) : QWidget(parent)
{
    Chart4 = new comp::LineChart(this);
    Chart4->setObjectName(QStringLiteral("Chart4"));
    Chart4->setAxisTitles(QStringLiteral("Time of day file was accessed/modified/created"),
                          QStringLiteral("Numer of files"));
    sbTime = new QScrollBar(Qt::Vertical, this);
    sbTime->setObjectName(QStringLiteral("sbTime"));
    sbTime->setRange(8, 70);
    sbTime->setValue(15);
    sbTime->setToolTip(QStringLiteral("Line width"));
    SpeedButton5 = MakeInfoButton(this, QStringLiteral("SpeedButton5"), 4, 4);
    connect(sbTime, &QScrollBar::valueChanged, this, [this] { sbTimeChange(); });
    sbTimeChange();
    doFileTimes(StatTotals());
}

void TimeTab::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Chart4->setGeometry(32, 4, width() - 60, height() - 8);
    sbTime->setGeometry(width() - 22, 30, 16, height() - 60);
}

QString TimeTab::SlotText(int slot)
{
    return QLocale().toString(QTime(slot / 2, slot % 2 ? 30 : 0), QLocale::ShortFormat);
}

void TimeTab::doFileTimes(const StatTotals& totals)
{
    QStringList labels;
    for (int slot = 0; slot < kHourSlots; ++slot)
        labels << SlotText(slot);
    const auto values = [](const DateTally& t) {
        QList<double> v;
        for (quint64 n : t.hourCount)
            v << double(n);
        return v;
    };
    Chart4->setLines(labels, {{QStringLiteral("Modified time"), QColor(255, 0, 0), values(totals.modified), true},
                              {QStringLiteral("Created time"), QColor(0, 160, 0), values(totals.created), true},
                              {QStringLiteral("Access Time"), QColor(0, 0, 255), values(totals.access),
                               AccessTimeShown(totals)}},
                      // A label every three hours: more would not fit side by side.
                      6);
}

void TimeTab::sbTimeChange()
{
    // The depth of the original's 3D lines becomes the lines' width.
    Chart4->setLineWidth(1 + (sbTime->value() - 8) / 10.0);
}

}  // namespace stats
