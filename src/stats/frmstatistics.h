#pragma once
// TfrmStatistics: the statistics window. Created hidden at start-up and
// kept for the whole run; the launcher shows it without making it modal and
// "Close" only hides it, so the last collection, the drive ticks and the
// deletion log stay on show.
//
// Eleven pages: Space and Deleted work at once; the nine result pages show
// the last collection and are covered by the not-yet panel until there is
// one. The collection itself is the StatCollector's; the window gives it the
// scope, its hooks (status, caption, refreshes, events), and an abort from
// Abort, Esc, Close, the close box or the main window closing.

#include "finders/eventpump.h"
#include "stats/statcollector.h"
#include "stats/statpages.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolButton;

namespace comp {
class ChartPanel;
class TileBackground;
}  // namespace comp

namespace stats {

class AttributeTab;
class ChartTab;
class DeletedTab;
class OverhangTab;
class SpaceTab;
class TimeTab;
class TypesTab;

class TfrmStatistics : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStatistics(QWidget* parent = nullptr);
    ~TfrmStatistics() override;

    // The window of the running program, or nullptr.
    static TfrmStatistics* instance();

    enum Page { pgSpace, pgDeleted, pgTypes, pgSizes, pgOverhang, pgAccess, pgCreated, pgModified,
                pgCombined, pgAttribute, pgTime };

    StatCollector& collector() { return collector_; }
    finders::EventPump& pump() { return pump_; }

    // The buttons.
    void btOKClick();
    // A collection over a scope, as "&Collect statistics" runs it once the
    // scope window has given one.
    void runCollection(const finders::ScanScope& scope);
    void btAbortClick();
    void btCancelClick();
    void btPrintClick();
    // Asks a running collection to stop (the main window is closing).
    void abortCollection();

    // Enables or disables what must not be used during a collection.
    void disenable(bool enabled);
    void OvcNotebook1PageChanged(int page);

    // The refreshes after each entry, in the order the collection runs them.
    void doOverHang();
    void doFileTypes();
    void doFileSizes();
    void doFileAttrs();
    void fillGridDates(DateKind kind);
    void fillCombinedGridDates();
    void doFileTimes();
    void doFileAges();
    void SortbyExtensionClick();
    void rgSizesClick();
    void rgAccessClick(ChartTab* page);

    QTabWidget* OvcNotebook1 = nullptr;
    SpaceTab* spaceTab = nullptr;
    DeletedTab* deletedTab = nullptr;
    TypesTab* typesTab = nullptr;
    ChartTab* sizesTab = nullptr;
    OverhangTab* overhangTab = nullptr;
    ChartTab* accessTab = nullptr;
    ChartTab* createTab = nullptr;
    ChartTab* modifyTab = nullptr;
    ChartTab* combineTab = nullptr;
    AttributeTab* attributeTab = nullptr;
    TimeTab* timeTab = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btPrint = nullptr;
    QPushButton* btCancel = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    comp::TileBackground* pnlNotYet = nullptr;
    QLabel* lblNotYet = nullptr;
    QPushButton* btAbort = nullptr;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormCreate();
    void FormShow();
    void buildPages();
    void buildButtons();
    void buildNotYet();
    void connectCollector();
    void refreshPages();
    void beginEntry();
    void endEntry();
    void setOverhangEnabled(bool on);
    void showNotYetFor(int page);
    ChartTab* dateTab(DateKind kind) const;
    void printChart(comp::ChartPanel* chart);
    void printWindow();
    bool chartShown(int page, comp::ChartPanel*& chart) const;

    StatCollector collector_;
    finders::EventPump pump_;
    bool timer1WasActive_ = false;
};

}  // namespace stats
