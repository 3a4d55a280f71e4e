#include "components/drivechecklist.h"

#include <QIcon>

namespace comp {

DriveCheckList::DriveCheckList(QWidget* parent) : PickList(parent)
{
    // Ticking is selecting: a click toggles one line without touching the
    // others, as a check list does.
    setSelectionMode(QAbstractItemView::MultiSelection);
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemSelectionChanged, this, &DriveCheckList::showTicks);
}

void DriveCheckList::addEntry(const QString& text, const QPixmap& picture)
{
    QListWidgetItem* it = newItem(text);
    if (!picture.isNull())
        it->setIcon(QIcon(picture));
    addItem(it);
}

bool DriveCheckList::isTicked(int row) const
{
    const QListWidgetItem* it = item(row);
    return it && it->isSelected();
}

void DriveCheckList::setTicked(int row, bool on)
{
    if (QListWidgetItem* it = item(row))
        it->setSelected(on);
}

QListWidgetItem* DriveCheckList::newItem(const QString& line) const
{
    auto* it = new QListWidgetItem(line);
    // The check mark is drawn from the data alone; without the user-checkable
    // flag a click on it selects the line instead of toggling the mark, so the
    // mark and the selection cannot drift apart.
    it->setFlags(it->flags() & ~Qt::ItemIsUserCheckable);
    it->setData(Qt::CheckStateRole, Qt::Unchecked);
    return it;
}

void DriveCheckList::showTicks()
{
    for (int i = 0; i < count(); ++i) {
        QListWidgetItem* it = item(i);
        const Qt::CheckState want = it->isSelected() ? Qt::Checked : Qt::Unchecked;
        if (it->checkState() != want)
            it->setCheckState(want);
    }
}

}  // namespace comp
