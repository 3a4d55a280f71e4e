#pragma once
// A multi-selection list of text lines with a right-click menu holding
// "Select All" and "Deselect All" (owners may append their own items). It
// can keep its lines sorted without regard to case, and can draw the part of
// a line after its first tab at a fixed tab stop, as the type lists need.

#include <QList>
#include <QListWidget>
#include <QStringList>

class QMenu;
class QAction;

namespace comp {

class PickList : public QListWidget {
    Q_OBJECT
public:
    explicit PickList(QWidget* parent = nullptr);

    QMenu* menu() const { return menu_; }
    QAction* selectAllAction() const { return selectAll_; }
    QAction* deselectAllAction() const { return deselectAll_; }

    void setLines(const QStringList& lines);
    QStringList lines() const;
    // Selected rows in ascending order, and their lines in that order.
    QList<int> selectedRows() const;
    QStringList selectedLines() const;
    int selectedCount() const;

    // A sorted list puts every added line at its place (case-insensitive).
    void setSortedLines(bool on) { sorted_ = on; }
    bool sortedLines() const { return sorted_; }
    // Adds a line (at its sorted place when sorted) and returns its row.
    int addLine(const QString& line);
    // Removes the selected lines; returns how many went.
    int removeSelectedLines();

    // Distance in pixels from the start of the text to the text after the
    // first tab; 0 leaves tabs to the style.
    void setTabStop(int pixels);
    int tabStop() const { return tabStop_; }

public slots:
    void deselectAll() { clearSelection(); }

protected:
    virtual QListWidgetItem* newItem(const QString& line) const;

private:
    int sortedRowFor(const QString& line) const;

    QMenu* menu_ = nullptr;
    QAction* selectAll_ = nullptr;
    QAction* deselectAll_ = nullptr;
    bool sorted_ = false;
    int tabStop_ = 0;
};

}  // namespace comp
