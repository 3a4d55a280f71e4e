#include "components/picklist.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

namespace comp {

namespace {

// Draws "pattern<TAB>name" as two columns: the style paints the row
// (selection, check, icon, focus) without text, the two fields follow.
class TabStopDelegate : public QStyledItemDelegate {
public:
    TabStopDelegate(int tabStop, QObject* parent) : QStyledItemDelegate(parent), tabStop_(tabStop) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);

        QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w);
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        const QString first = tab < 0 ? text : text.left(tab);
        const QString second = tab < 0 ? QString() : text.mid(tab + 1);
        painter->save();
        const bool selected = opt.state & QStyle::State_Selected;
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(opt.font);
        const int gap = 4;
        const QRect firstRect(r.left() + 2, r.top(), tabStop_ - gap, r.height());
        painter->drawText(firstRect, Qt::AlignLeft | Qt::AlignVCenter,
                          opt.fontMetrics.elidedText(first, Qt::ElideRight, firstRect.width()));
        if (!second.isEmpty()) {
            const QRect secondRect(r.left() + 2 + tabStop_, r.top(), r.width() - tabStop_ - 2, r.height());
            painter->drawText(secondRect, Qt::AlignLeft | Qt::AlignVCenter,
                              opt.fontMetrics.elidedText(second, Qt::ElideRight, secondRect.width()));
        }
        painter->restore();
    }

private:
    int tabStop_;
};

}  // namespace

PickList::PickList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    menu_ = new QMenu(this);
    selectAll_ = menu_->addAction(QStringLiteral("Select All"));
    selectAll_->setObjectName(QStringLiteral("SelectAll1"));
    deselectAll_ = menu_->addAction(QStringLiteral("Deselect All"));
    deselectAll_->setObjectName(QStringLiteral("DeselectAll1"));
    connect(selectAll_, &QAction::triggered, this, [this] { selectAll(); });
    connect(deselectAll_, &QAction::triggered, this, [this] { deselectAll(); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { menu_->popup(viewport()->mapToGlobal(pos)); });
}

void PickList::setLines(const QStringList& lines)
{
    clear();
    QStringList ordered = lines;
    if (sorted_)
        std::stable_sort(ordered.begin(), ordered.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
    for (const QString& line : std::as_const(ordered))
        addItem(newItem(line));
}

QStringList PickList::lines() const
{
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i)
        out << item(i)->text();
    return out;
}

QList<int> PickList::selectedRows() const
{
    QList<int> rows;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected())
            rows << i;
    return rows;
}

QStringList PickList::selectedLines() const
{
    QStringList out;
    for (int row : selectedRows())
        out << item(row)->text();
    return out;
}

int PickList::selectedCount() const
{
    return int(selectedRows().size());
}

int PickList::addLine(const QString& line)
{
    const int row = sorted_ ? sortedRowFor(line) : count();
    insertItem(row, newItem(line));
    return row;
}

int PickList::removeSelectedLines()
{
    const QList<int> rows = selectedRows();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)  // last to first keeps the rows valid
        delete takeItem(*it);
    return int(rows.size());
}

void PickList::setTabStop(int pixels)
{
    tabStop_ = pixels;
    QAbstractItemDelegate* old = itemDelegate();
    setItemDelegate(pixels > 0 ? new TabStopDelegate(pixels, this) : new QStyledItemDelegate(this));
    if (old && old->parent() == this)
        old->deleteLater();
}

QListWidgetItem* PickList::newItem(const QString& line) const
{
    return new QListWidgetItem(line);
}

int PickList::sortedRowFor(const QString& line) const
{
    int lo = 0;
    int hi = count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (item(mid)->text().compare(line, Qt::CaseInsensitive) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

}  // namespace comp
