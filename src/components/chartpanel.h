#pragma once
// The common ground of the charts: a chart in a view, a title, text marks
// that the chart places itself (Qt's own labels can only show the values),
// a click signal, and the picture that printing takes.

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

class QAbstractSeries;
class QGraphicsSimpleTextItem;

namespace comp {

class ChartPanel : public QChartView {
    Q_OBJECT
public:
    explicit ChartPanel(QWidget* parent = nullptr);
    ~ChartPanel() override;

    QString title() const;
    void setTitle(const QString& title);
    void setLegendVisible(bool on);
    bool legendVisible() const;

    // The marks shown now, in the order they were given.
    QStringList markTexts() const;

    // The chart as it stands on screen, for printing.
    QPixmap picture();

signals:
    // The left mouse button was pressed on the chart.
    void clicked();

protected:
    // Where a mark goes: a point in value space of a series, and the side of
    // that point the text is put on.
    enum class MarkSide { Right, Above, Centre };
    struct Mark {
        QPointF value;
        QAbstractSeries* series = nullptr;
        QString text;
        MarkSide side = MarkSide::Right;
        QColor color = Qt::black;
    };
    void setMarks(const QList<Mark>& marks);
    void clearMarks();
    // Puts the marks where their values are drawn now.
    void placeMarks();

    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QString title_;
    QList<Mark> marks_;
    QList<QGraphicsSimpleTextItem*> markItems_;
};

// Qt Charts takes titles, legend entries and axis labels as rich text, so
// "<= 7 days" would vanish as a tag: every such text goes through this.
QString ChartText(const QString& plain);

// Axis steps a reader can add up in the head: 1, 2 or 5 times a power of
// ten, about `intervals` of them up to max (never 0).
double NiceStep(double max, int intervals = 5);

}  // namespace comp
