#pragma once
// TfrmDup: the duplicate-file and file-hog finder. One window, two modes,
// fixed when it is created: duplicates (groups of files that look alike by
// name, size, date or type, optionally confirmed by checksums) or file hogs
// (the largest files, largest first). The window reads the criteria, drives
// a DupResults search and shows its grid; the search itself lives there.
//
// The result list (frmdup_results.cpp): marks and their bookkeeping, the
// hand-over of the marked files to the deletion panel, the grid's menu,
// clipboard, print, web page and the file-hog sorts.

#include "components/resultgridview.h"
#include "finders/dupresults.h"
#include "finders/eventpump.h"
#include "finders/markbook.h"

#include <QDialog>
#include <functional>
#include <memory>

class QComboBox;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace comp {
class DriveCheckList;
class PanelShrinker;
}  // namespace comp

namespace finders {

class HintSwitch;

// The window's own messages and questions.
extern const char* const kCrcQuestion;
extern const char* const kEliminateQuestion;
extern const char* const kListAbortedMessage;
extern const char* const kCrcAbortedMessage;

class TfrmDup : public QDialog {
    Q_OBJECT
public:
    // duplicateMode: the launcher's DuplicateMode (true: 1, duplicates).
    explicit TfrmDup(QWidget* owner = nullptr, bool duplicateMode = true);
    ~TfrmDup() override;

    bool duplicateMode() const { return duplicateMode_; }
    bool searching() const { return searching_; }
    // The criteria as the controls give them now.
    DupCriteria criteria() const;
    // The rows shown: those of the last search, or none.
    comp::ResultGrid& results() const;
    // The criteria of the search whose rows are shown.
    const DupCriteria& resultCriteria() const { return results_->criteria(); }
    QString statusText() const;
    // The search's pump (tests watch it) and the window's hint switch.
    EventPump& eventPump() { return pump_; }
    HintSwitch& hints() { return *hints_; }

    // Toggles the mark of a data row (nothing for row 0 or rows the search
    // did not write); "Clean?" then follows the marked count.
    void MarkThisFile(int row);
    const MarkBook& marks() const { return marks_; }
    // The title of the printed listing, from the criteria as they stand.
    QString printTitle() const;
    // How the grid draws a data cell beyond its text (the Safe Harbor bold).
    comp::ResultGridView::CellLook cellLook(int row, int column) const
    {
        comp::ResultGridView::CellLook look;
        harborLook(row, column, look);
        return look;
    }
    // True while the grid is being saved as a web page.
    bool webPageFlag() const { return webPage_; }
    comp::PanelShrinker& shrinker() const { return *shrinker_; }

    // What "Clean?" hands to the deletion panel.
    struct CleanRequest {
        QStringList files;
        double potentialSavings = 0;
        QString archiveTag;
    };
    // Shows the deletion panel modally and gives its result (Accepted when
    // an operation ran, Rejected when the user closed it). The real panel
    // unless one is set here.
    using CleanPanel = std::function<int(QWidget* owner, const CleanRequest& request)>;
    void setCleanPanel(CleanPanel panel) { cleanPanel_ = std::move(panel); }
    static int runDeletionPanel(QWidget* owner, const CleanRequest& request);

    // The top panel.
    QFrame* Panel1 = nullptr;
    QRadioButton* rbLarger = nullptr;
    QRadioButton* rbSmaller = nullptr;
    QRadioButton* rbBetween = nullptr;
    QSpinBox* num1 = nullptr;
    QLabel* lblAnd = nullptr;
    QSpinBox* num2 = nullptr;
    QComboBox* cbKB1 = nullptr;
    QLabel* lblMatching = nullptr;
    QComboBox* cbWildCard = nullptr;
    QLabel* lblWild = nullptr;
    QLabel* lblDup = nullptr;
    QComboBox* cbDup = nullptr;
    comp::DriveCheckList* pckDrive = nullptr;
    QComboBox* cbDrive = nullptr;
    QPushButton* btScan = nullptr;
    QPushButton* btClose = nullptr;
    QPushButton* btAbort = nullptr;
    QPushButton* btMark = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btOptions = nullptr;
    QPushButton* btBrowse = nullptr;
    QPushButton* btDetails = nullptr;
    QPushButton* btCompare = nullptr;
    // The results and the status line.
    comp::ResultGridView* grid = nullptr;
    QLabel* lblStatus = nullptr;

    // The grid's menu (PopupMenu1), in its order.
    QMenu* PopupMenu1 = nullptr;
    QAction* miDetails = nullptr;
    QAction* miHighlight = nullptr;
    QAction* miAddFolder = nullptr;
    QAction* miSort = nullptr;
    QAction* miSortSize = nullptr;
    QAction* miSortDate = nullptr;
    QAction* miSortAccess = nullptr;
    QAction* miSortName = nullptr;
    QAction* miSortType = nullptr;
    QAction* miMark = nullptr;
    QAction* miMarkAll = nullptr;
    // Duplicate mode only: all but one copy of each group.
    QAction* miMarkButOldest = nullptr;
    QAction* miMarkButNewest = nullptr;
    QAction* miUnmarkAll = nullptr;
    QAction* miResize = nullptr;
    QAction* miShrink = nullptr;
    QAction* miRestore = nullptr;
    QAction* miOpen = nullptr;
    QAction* miView = nullptr;
    QAction* miPrint = nullptr;
    QAction* miClipboard = nullptr;
    QAction* miClipNames = nullptr;
    QAction* miClipGrid = nullptr;
    QAction* miWebPage = nullptr;

public slots:
    // Esc and the close box come here; refused while a search runs.
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction and layout (frmdup_layout.cpp).
    void buildTopPanel();
    void buildCriteria(QGridLayout* criteria);
    void buildButtons(QHBoxLayout* row);
    void buildResults();
    void buildMenu();
    QAction* addItem(QMenu* menu, const char* name, const char* caption, void (TfrmDup::*slot)());
    void setColumnWidths();
    void setSmallestSize();

    // Behaviour (frmdup.cpp).
    void FormShow();
    void btScanClick();
    void btAbortClick();
    void pckDriveClick();
    void cbWildCardChange();
    void rbSizeClick();
    void AddFolderClick();
    void ClearGrid(const DupCriteria& criteria);
    void scan(bool computeCrc, bool eliminate);
    void enterSearching();
    void leaveSearching();
    void showOutcome();
    void setStatus(const QString& text);
    QWidgetList criteriaControls() const;

    // The result list (frmdup_results.cpp).
    void connectResults();
    bool isDataRow(int row) const;
    void deleteOneFile(int row);
    void clearAllMarks();
    void followMarkedCount();
    void btMarkClick();
    void gridDblClick(int row);
    void btDeleteClick();
    void btOptionsClick();
    void MarkAllClick();
    void MarkButOldestClick();
    void MarkButNewestClick();
    void markAllButOne(KeepCopy keep);
    // "Clean?" in duplicate mode: true when the hand-over leaves a copy of
    // every group, or the user agrees that it need not.
    bool allCopiesGuard();
    void UnmarkAllClick();
    void HighlightClick();
    void OpenClick();
    void ViewClick();
    void btDetailsClick();
    void btCompareClick();
    void PrintClick();
    void ClipNamesClick();
    void ClipGridClick();
    void WebPageClick();
    void SortClick(QAction* item);
    void gridTitleClick(int column);
    void checkSortItem(QAction* item);
    void harborLook(int row, int column, comp::ResultGridView::CellLook& look) const;

    struct Searching;

    const bool duplicateMode_;
    bool searching_ = false;
    std::unique_ptr<DupResults> results_;
    EventPump pump_;
    HintSwitch* hints_ = nullptr;
    MarkBook marks_;
    bool webPage_ = false;
    comp::PanelShrinker* shrinker_ = nullptr;
    CleanPanel cleanPanel_;
    // The sort item of the last sort that ran: the only one with a tick.
    QAction* sortedBy_ = nullptr;
};

}  // namespace finders
