#pragma once
// The mark commands of a result window, on the rows its grid view shows:
// toggling a row ("&Mark", the Delete key, a double click, the pair window),
// "Mark all", "Unmark all", the status line with the marked totals, and
// "Clean?", which follows the marked count and hands the marked files to the
// deletion panel.

#include "finders/markbook.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QPushButton;

namespace comp {
class ResultGridView;
}

namespace finders {

// What "Clean?" hands to the deletion panel.
struct CleanRequest {
    QStringList files;  // the marked rows' real paths, in marking order
    double potentialSavings = 0;
    QString archiveTag;
};
// Shows the deletion panel modally and gives its result (Accepted when an
// operation ran, Rejected when the user closed it).
using CleanPanel = std::function<int(QWidget* owner, const CleanRequest& request)>;
// The real deletion panel.
int RunDeletionPanel(QWidget* owner, const CleanRequest& request);

class ResultMarks : public QObject {
    Q_OBJECT
public:
    explicit ResultMarks(comp::ResultGridView* grid, QObject* parent = nullptr);

    // True while the window is busy (a search runs): no command acts.
    std::function<bool()> busy;
    // The status line.
    std::function<void(const QString&)> status;

    // "&Mark" toggles the current row; "Clean?" follows the marked count.
    void setButtons(QPushButton* mark, QPushButton* clean);
    // Also wires the Delete key (on release) and double clicks of the grid.

    const MarkBook& book() const { return book_; }
    bool isDataRow(int row) const;

    // Toggles a data row (nothing for row 0 or rows the search did not
    // write); "Clean?" then follows the marked count.
    void toggle(int row);
    // "&Mark" and the Delete key: toggles the current row and moves down.
    void markCurrent();
    void doubleClick(int row);
    // Every row marked; "Clean?" enabled even when none of the files exists
    // any more (it then hands nothing over).
    void markAll();
    void unmarkAll();
    // All but one copy of each duplicate group.
    void markAllButOne(KeepCopy keep, const std::function<qint64(int row)>& modified);
    // A fresh grid: its rows carry no marks, the book is emptied and
    // "Clean?" disabled.
    void reset();

    // "Clean?": when a file that exists is marked and guard (if any) agrees,
    // the marked files go to the deletion panel with this archive tag; the
    // window closes unless the panel was closed without an operation.
    void clean(QDialog* window, const QString& archiveTag, const std::function<bool()>& guard = {});
    void setCleanPanel(CleanPanel panel) { panel_ = std::move(panel); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isBusy() const { return busy && busy(); }
    void toggleRow(int row);
    void followCount();
    void showTotals();

    QPointer<comp::ResultGridView> grid_;
    QPointer<QPushButton> clean_;
    MarkBook book_;
    CleanPanel panel_;
};

}  // namespace finders
