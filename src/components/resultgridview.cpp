#include "components/resultgridview.h"

#include "core/settings.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>

#include <algorithm>

namespace comp {

// Paints a cell the way the windows expect: text 2 pixels in from the left
// (or from the right in a right-aligned column) and 2 below the top, clipped
// rather than elided; the mark picture in the mark column of a marked row,
// with the text after it; shading, then the window's own look on top.
class ResultGridDelegate : public QStyledItemDelegate {
public:
    explicit ResultGridDelegate(ResultGridView* view) : QStyledItemDelegate(view), view_(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const ResultGrid* grid = view_->gridModel()->grid();
        if (!grid)
            return;
        const int row = index.row() + 1;
        const int column = index.column();

        ResultGridView::CellLook look;
        if (view_->lookHook_)
            view_->lookHook_(row, column, look);

        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        QColor background;
        if (selected)
            background = option.palette.color(group, QPalette::Highlight);
        else if (look.background.isValid())
            background = look.background;
        else if (view_->shading_)
            background = view_->shadeColor(grid->shade(row));
        if (background.isValid())
            painter->fillRect(option.rect, background);

        painter->save();
        painter->setClipRect(option.rect);
        QRect textRect = option.rect.adjusted(2, 2, -2, 0);
        if (column == view_->markColumn_ && grid->marked(row)) {
            static const QPixmap mark = ResultGridView::markPicture();
            painter->drawPixmap(option.rect.topLeft() + QPoint(2, 2), mark);
            textRect.setLeft(option.rect.left() + 18);
        }
        QFont font = option.font;
        if (look.bold)
            font.setBold(true);
        painter->setFont(font);
        QColor text = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
        if (!selected && look.text.isValid())
            text = look.text;
        painter->setPen(text);
        const Qt::Alignment align = (view_->rightAligned(column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
        painter->drawText(textRect, int(align) | Qt::TextSingleLine, grid->cell(row, column));
        painter->restore();
    }

private:
    ResultGridView* view_;
};

ResultGridView::ResultGridView(QWidget* parent) : QTableView(parent)
{
    shadeColors_[ResultGrid::ShadeA] = QColor(223, 223, 223);
    model_ = new ResultGridModel(this);
    setModel(model_);
    setUp();
}

void ResultGridView::setUp()
{
    setItemDelegate(new ResultGridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setShowGrid(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // Fixed row heights keep the vertical header from measuring rows: with
    // a million rows anything per row on show or scroll would be felt.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(std::max(18 * logicalDpiY() / 96, fontMetrics().height() + 4));

    QHeaderView* titles = horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setStretchLastSection(false);
    titles->setHighlightSections(false);
    titles->setSectionsClickable(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->viewport()->installEventFilter(this);

    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row() + 1); });
}

ResultGrid& ResultGridView::grid() const
{
    return *model_->grid();
}

void ResultGridView::setGrid(ResultGrid* grid)
{
    auto* old = model_;
    QItemSelectionModel* oldSelection = selectionModel();
    model_ = new ResultGridModel(grid, this);
    setModel(model_);
    delete oldSelection;
    delete old;
}

void ResultGridView::setRightAligned(int column, bool on)
{
    if (on)
        rightAligned_.insert(column);
    else
        rightAligned_.remove(column);
    viewport()->update();
}

void ResultGridView::setMarkColumn(int column)
{
    markColumn_ = column;
    viewport()->update();
}

void ResultGridView::setShadingEnabled(bool on)
{
    shading_ = on;
    viewport()->update();
}

void ResultGridView::setShadeColor(quint8 shade, const QColor& color)
{
    shadeColors_[shade] = color;
    viewport()->update();
}

QColor ResultGridView::shadeColor(quint8 shade) const
{
    if (shade == ResultGrid::NoShade)
        return {};
    const auto it = shadeColors_.find(shade);
    return it == shadeColors_.end() ? QColor() : it->second;
}

void ResultGridView::setCellLookHook(CellLookHook hook)
{
    lookHook_ = std::move(hook);
    viewport()->update();
}

QPixmap ResultGridView::markPicture()
{
    // A red check mark on a clear 16 x 16 ground.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(220, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.0, 12.5);
    tick.lineTo(13.5, 3.0);
    p.drawPath(tick);
    return pixmap;
}

int ResultGridView::currentRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() + 1 : 0;
}

void ResultGridView::setCurrentRow(int row)
{
    const int column = std::max(currentIndex().column(), 0);
    const QModelIndex index = model_->index(row - 1, column);
    if (index.isValid()) {
        setCurrentIndex(index);
        scrollTo(index);
    }
}

int ResultGridView::gridRowAt(const QPoint& viewportPos) const
{
    const int row = rowAt(viewportPos.y());
    return row < 0 ? 0 : row + 1;
}

QList<int> ResultGridView::columnWidths() const
{
    QList<int> widths;
    for (int c = 0; c < model_->columnCount(); ++c)
        widths.append(columnWidth(c));
    return widths;
}

void ResultGridView::setColumnWidths(const QList<int>& widths)
{
    const int n = std::min(int(widths.size()), model_->columnCount());
    for (int c = 0; c < n; ++c)
        setColumnWidth(c, widths[c]);
}

void ResultGridView::loadColumnWidths(const QString& section, const QList<int>& bases96)
{
    QList<int> widths;
    for (int c = 0; c < bases96.size(); ++c)
        widths.append(core::SettingsStore::readColumnWidth(section, c, bases96[c], logicalDpiX()));
    setColumnWidths(widths);
}

void ResultGridView::saveColumnWidths(const QString& section) const
{
    const QList<int> widths = columnWidths();
    for (int c = 0; c < widths.size(); ++c)
        core::SettingsStore::writeColumnWidth(section, c, widths[c]);
}

bool ResultGridView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* e = static_cast<QMouseEvent*>(event);
            pressed_ = e->button() == Qt::LeftButton;
            pressPos_ = e->position().toPoint();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* e = static_cast<QMouseEvent*>(event);
            const QPoint pos = e->position().toPoint();
            const bool click = pressed_ && e->button() == Qt::LeftButton && pos == pressPos_;
            pressed_ = false;
            if (click) {
                const int column = horizontalHeader()->logicalIndexAt(pos);
                if (column >= 0)
                    emit titleClicked(column);
            }
        }
    }
    return QTableView::eventFilter(watched, event);
}

}  // namespace comp
