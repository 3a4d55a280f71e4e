#include "components/resultgridview.h"

#include "components/look.h"

#include "core/settings.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>

namespace comp {

// Paints a cell the way the windows expect: text 2 pixels in from the left
// (or from the right in a right-aligned column) and 2 below the top; the
// mark picture in the mark column of a marked row, with the text after it;
// shading, then the window's own look on top. A text too long for its cell
// is elided, never cut off at the edge.
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
            background = view_->shownShadeColor(grid->shade(row));
        if (background.isValid())
            painter->fillRect(option.rect, background);

        painter->save();
        painter->setClipRect(option.rect);
        const bool marked = view_->markShown(row, column);
        const QRect textRect = ResultGridView::textRectIn(option.rect, marked);
        if (marked) {
            static const QPixmap mark = ResultGridView::markPicture();
            painter->drawPixmap(option.rect.topLeft() + QPoint(2, 2), mark);
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
        const QString shown = ResultGridView::fitText(grid->cell(row, column), painter->fontMetrics(),
                                                      textRect.width(), !view_->fitsContents(column));
        painter->drawText(textRect, int(align) | Qt::TextSingleLine, shown);
        painter->restore();
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() == QEvent::ToolTip && index.isValid()) {
            const QString tip = view_->cellToolTip(index.row() + 1, index.column());
            if (!tip.isEmpty()) {
                QToolTip::showText(event->globalPos(), tip, view->viewport(), option.rect);
                return true;
            }
        }
        return QStyledItemDelegate::helpEvent(event, view, option, index);
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
    watchModel();
}

void ResultGridView::watchModel()
{
    connect(model_, &ResultGridModel::synced, this, &ResultGridView::catchUp);
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
    connect(titles, &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { keepNeededWidth(column, newSize); });

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
    model_->setRightAlignedTitles(rightAligned_);
    watchModel();
    startOver();
}

void ResultGridView::setRightAligned(int column, bool on)
{
    if (on)
        rightAligned_.insert(column);
    else
        rightAligned_.remove(column);
    model_->setRightAlignedTitles(rightAligned_);
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

QColor ResultGridView::shownShadeColor(quint8 shade) const
{
    const QColor classic = shadeColor(shade);
    if (!classic.isValid() || classicLook())
        return classic;
    return mixColors(palette().color(QPalette::Base), palette().color(QPalette::Text), 1.0 / 8);
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
    fitting_ = true;
    for (int c = 0; c < n; ++c) {
        setWidths_[c] = widths[c];
        setColumnWidth(c, std::max(widths[c], neededWidth(c)));
    }
    fitting_ = false;
}

void ResultGridView::setColumnKind(int column, ColumnKind kind)
{
    if (kind == ColumnKind::Text)
        kinds_.erase(column);
    else
        kinds_[column] = kind;
    startOver();
}

ResultGridView::ColumnKind ResultGridView::columnKind(int column) const
{
    const auto it = kinds_.find(column);
    return it == kinds_.end() ? ColumnKind::Text : it->second;
}

void ResultGridView::fitColumns()
{
    startOver();
}

void ResultGridView::startOver()
{
    tallies_.clear();
    measuredRows_ = 0;
    catchUp();
}

void ResultGridView::catchUp()
{
    const ResultGrid* grid = model_->grid();
    const int columns = model_->columnCount();
    if (!grid || columns == 0) {
        tallies_.clear();
        measuredRows_ = 0;
        return;
    }
    // A grid filled row by row says how many rows it holds (rows beyond
    // that are empty room to grow into); another is measured whole.
    const bool byUsed = grid->rowsUsed() > 0;
    const int last = byUsed ? std::min(grid->rowsUsed(), grid->rowCount() - 1) : grid->rowCount() - 1;
    bool fresh = false;
    if (int(tallies_.size()) != columns || byUsed != measuredUsedRows_ || last < measuredRows_) {
        tallies_.clear();
        const QFontMetricsF metrics(font(), viewport());
        for (int c = 0; c < columns; ++c)
            tallies_.push_back(fitsContents(c) ? std::make_unique<TextWidthTally>(metrics) : nullptr);
        measuredRows_ = 0;
        measuredUsedRows_ = byUsed;
        fresh = true;
    }
    std::vector<int> fit;
    for (int c = 0; c < columns; ++c)
        if (tallies_[size_t(c)])
            fit.push_back(c);
    if (!fit.empty())
        for (int r = measuredRows_ + 1; r <= last; ++r)
            for (int c : fit)
                tallies_[size_t(c)]->add(grid->cellView(r, c));
    measuredRows_ = std::max(last, 0);
    applyFit(fresh);
}

void ResultGridView::applyFit(bool fresh)
{
    bool changed = false;
    fitting_ = true;
    for (int c = 0; c < int(tallies_.size()); ++c) {
        if (!tallies_[size_t(c)])
            continue;
        const int need = neededWidth(c);
        const int current = columnWidth(c);
        int target = std::max(current, need);
        // A new fill starts again from the width set; the last one's widest
        // cells are gone.
        if (fresh) {
            const auto set = setWidths_.find(c);
            target = std::max(set == setWidths_.end() ? current : set->second, need);
        }
        if (target != current) {
            setColumnWidth(c, target);
            changed = true;
        }
    }
    fitting_ = false;
    if (changed)
        emit columnsFitted();
}

void ResultGridView::keepNeededWidth(int column, int newSize)
{
    // Dragging a number, date or time column narrower than its widest cell
    // would cut the cell's leading digits: it stops at that width.
    if (fitting_ || !fitsContents(column) || isColumnHidden(column))
        return;
    const int need = neededWidth(column);
    if (newSize < need) {
        fitting_ = true;
        setColumnWidth(column, need);
        fitting_ = false;
    }
}

int ResultGridView::neededWidth(int column) const
{
    if (column < 0 || size_t(column) >= tallies_.size() || !tallies_[size_t(column)])
        return 0;
    // Room beside the text: its margins, the mark picture in the mark
    // column, and the grid line.
    const QRect wide(0, 0, 1000, 20);
    const int beside = wide.width() - textRectIn(wide, column == markColumn_).width() + (showGrid() ? 1 : 0);
    const int cells = tallies_[size_t(column)]->width() + beside;
    return std::max(cells, horizontalHeader()->sectionSizeHint(column));
}

void ResultGridView::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        startOver();
}

QRect ResultGridView::textRectIn(const QRect& cell, bool marked)
{
    QRect r = cell.adjusted(2, 2, -2, 0);
    if (marked)
        r.setLeft(cell.left() + 18);
    return r;
}

QString ResultGridView::fitText(const QString& text, const QFontMetrics& metrics, int width, bool middle)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    return metrics.elidedText(text, middle ? Qt::ElideMiddle : Qt::ElideLeft, std::max(width, 0));
}

bool ResultGridView::markShown(int row, int column) const
{
    const ResultGrid* grid = model_->grid();
    return grid && column == markColumn_ && grid->marked(row);
}

QFont ResultGridView::cellFont(int row, int column) const
{
    QFont f = font();
    if (lookHook_) {
        CellLook look;
        lookHook_(row, column, look);
        if (look.bold)
            f.setBold(true);
    }
    return f;
}

QRect ResultGridView::cellTextRect(int row, int column) const
{
    const QRect cell = visualRect(model_->index(row - 1, column));
    return cell.isValid() ? textRectIn(cell, markShown(row, column)) : QRect();
}

QString ResultGridView::shownText(int row, int column) const
{
    const ResultGrid* grid = model_->grid();
    if (!grid)
        return QString();
    const QFontMetrics metrics(cellFont(row, column), viewport());
    return fitText(grid->cell(row, column), metrics, cellTextRect(row, column).width(), !fitsContents(column));
}

QString ResultGridView::cellToolTip(int row, int column) const
{
    const ResultGrid* grid = model_->grid();
    if (!grid)
        return QString();
    const QString text = grid->cell(row, column);
    return shownText(row, column) == text ? QString() : text;
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
