#include "components/chartpanel.h"

#include <QAbstractSeries>
#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QMouseEvent>
#include <cmath>

namespace comp {

ChartPanel::ChartPanel(QWidget* parent) : QChartView(new QChart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    chart()->setBackgroundRoundness(0);
    QFont titleFont = chart()->titleFont();
    titleFont.setBold(true);
    titleFont.setPixelSize(13);
    chart()->setTitleFont(titleFont);
    connect(chart(), &QChart::plotAreaChanged, this, [this] { placeMarks(); });
}

ChartPanel::~ChartPanel() = default;

QString ChartPanel::title() const
{
    return title_;
}

void ChartPanel::setTitle(const QString& title)
{
    title_ = title;
    chart()->setTitle(ChartText(title));
}

void ChartPanel::setLegendVisible(bool on)
{
    chart()->legend()->setVisible(on);
}

bool ChartPanel::legendVisible() const
{
    return chart()->legend()->isVisible();
}

QStringList ChartPanel::markTexts() const
{
    QStringList texts;
    for (const Mark& m : marks_)
        texts << m.text;
    return texts;
}

QPixmap ChartPanel::picture()
{
    return grab();
}

void ChartPanel::setMarks(const QList<Mark>& marks)
{
    clearMarks();
    marks_ = marks;
    QFont font = chart()->font();
    font.setPixelSize(11);
    for (int i = 0; i < marks_.size(); ++i) {
        auto* item = new QGraphicsSimpleTextItem(marks_[i].text, chart());
        item->setFont(font);
        item->setBrush(marks_[i].color);
        item->setZValue(20);
        markItems_ << item;
    }
    placeMarks();
}

void ChartPanel::clearMarks()
{
    qDeleteAll(markItems_);
    markItems_.clear();
    marks_.clear();
}

void ChartPanel::placeMarks()
{
    for (int i = 0; i < marks_.size() && i < markItems_.size(); ++i) {
        const Mark& m = marks_[i];
        QGraphicsSimpleTextItem* item = markItems_[i];
        if (!m.series || !m.series->isVisible()) {
            item->hide();
            continue;
        }
        const QPointF at = chart()->mapToPosition(m.value, m.series);
        const QRectF box = item->boundingRect();
        QPointF topLeft;
        switch (m.side) {
        case MarkSide::Right:
            topLeft = QPointF(at.x() + 4, at.y() - box.height() / 2);
            break;
        case MarkSide::Above:
            topLeft = QPointF(at.x() - box.width() / 2, at.y() - box.height() - 2);
            break;
        case MarkSide::Centre:
            topLeft = QPointF(at.x() - box.width() / 2, at.y() - box.height() / 2);
            break;
        }
        item->setPos(topLeft);
        item->show();
    }
}

void ChartPanel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit clicked();
    QChartView::mousePressEvent(e);
}

void ChartPanel::resizeEvent(QResizeEvent* e)
{
    QChartView::resizeEvent(e);
    placeMarks();
}

QString ChartText(const QString& plain)
{
    return plain.toHtmlEscaped();
}

double NiceStep(double max, int intervals)
{
    if (!(max > 0) || !std::isfinite(max) || intervals < 1)
        return 1;
    const double raw = max / intervals;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * power >= raw)
            return f * power;
    return 10 * power;
}

}  // namespace comp
