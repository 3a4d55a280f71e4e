#pragma once
// The "Deleted" page of the statistics window: what the program has freed
// so far, as the running totals ("Cumulative") and as the deletion log
// ("Details"). The log grid follows the program's deletion log as it
// changes, so a batch removed while the window is open shows at once.

#include "components/resultgrid.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;

namespace comp {
class ResultGridView;
class ShadowLabel;
}  // namespace comp

namespace del {
class DeletionLog;
}

namespace stats {

class DeletedTab : public QWidget {
    Q_OBJECT
public:
    explicit DeletedTab(QWidget* parent = nullptr);

    // The title of the printed log.
    static QString printTitle();

    // Refresh of the "Cumulative" tab from the stored totals.
    void showFilesDeleted();
    // Brings the "Cumulative" tab to the front.
    void showCumulativeTab();
    // Shows the program's deletion log (again, should the program have
    // registered another one since).
    void attachLog();
    const comp::ResultGrid& logGrid() const { return logGrid_; }

    void Button1Click();
    void Printgrid1Click();
    void Cleargrid1Click();
    void Saveas1Click();
    void SaveasawebpageHTML1Click();

    comp::ShadowLabel* lblDeletedTitle = nullptr;
    QTabWidget* pgDeleted = nullptr;
    QLineEdit* edNdelete = nullptr;
    QLineEdit* edSzDelete = nullptr;
    QLineEdit* edNZip = nullptr;
    QLineEdit* edSzZip = nullptr;
    QLineEdit* edNWaste = nullptr;
    QLineEdit* edSzWaste = nullptr;
    QLabel* lblSince1 = nullptr;
    QLabel* lblZipSince = nullptr;
    QPushButton* Button1 = nullptr;
    comp::ResultGridView* grDelete = nullptr;
    QPushButton* btOptions = nullptr;
    QMenu* popGridDelete = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildCumulative(QWidget* tab);
    void buildDetails(QWidget* tab);
    void fillLogGrid();
    void setAllNotAvailable();

    comp::ResultGrid logGrid_;
    QPointer<del::DeletionLog> log_;
};

}  // namespace stats
