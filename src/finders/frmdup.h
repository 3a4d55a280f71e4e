#pragma once
// TfrmDup: the duplicate-file and file-hog finder. One window, two modes,
// fixed when it is created: duplicates (groups of files that look alike by
// name, size, date or type, optionally confirmed by checksums) or file hogs
// (the largest files, largest first). The window reads the criteria, drives
// a DupResults search and shows its grid; the search itself lives there.
//
// The result list is the finders' shared one (ResultList); what is the
// window's own (frmdup_results.cpp): the duplicate groups' marks and guard,
// their shading in the web page, the pairs, the print title.

#include "components/resultgridview.h"
#include "finders/dupresults.h"
#include "finders/eventpump.h"
#include "finders/markbook.h"
#include "finders/resultmarks.h"

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
class ResultList;
class SearchState;

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
    bool searching() const;
    // The criteria as the controls give them now.
    DupCriteria criteria() const;
    // The rows shown: those of the last search, or none.
    comp::ResultGrid& results() const;
    // The criteria of the search whose rows are shown.
    const DupCriteria& resultCriteria() const { return results_->criteria(); }
    QString statusText() const;
    // The search's pump (tests watch it) and the window's hint switch.
    EventPump& eventPump();
    HintSwitch& hints();

    // Toggles the mark of a data row (nothing for row 0 or rows the search
    // did not write); "Clean?" then follows the marked count.
    void MarkThisFile(int row);
    const MarkBook& marks() const;
    // The title of the printed listing, from the criteria as they stand.
    QString printTitle() const;
    // How the grid draws a data cell beyond its text (the Safe Harbor bold).
    comp::ResultGridView::CellLook cellLook(int row, int column) const;
    // True while the grid is being saved as a web page.
    bool webPageFlag() const;
    comp::PanelShrinker& shrinker() const;

    // What "Clean?" hands to the deletion panel, and the panel: the real
    // one unless one is set here.
    using CleanRequest = finders::CleanRequest;
    using CleanPanel = finders::CleanPanel;
    void setCleanPanel(CleanPanel panel);
    static int runDeletionPanel(QWidget* owner, const CleanRequest& request)
    {
        return RunDeletionPanel(owner, request);
    }

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

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Construction and layout (frmdup_layout.cpp).
    void buildTopPanel();
    void buildCriteria(QGridLayout* criteria);
    void buildButtons(QHBoxLayout* row);
    void buildResults();
    void buildResultList();
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
    void leaveSearching();
    void showOutcome();
    void setStatus(const QString& text);
    QWidgetList criteriaControls() const;

    // The window's own part of the result list (frmdup_results.cpp).
    void markAllButOne(KeepCopy keep);
    // "Clean?" in duplicate mode: true when the hand-over leaves a copy of
    // every group, or the user agrees that it need not.
    bool allCopiesGuard();
    void btCompareClick();
    void webPageMode(bool on);

    const bool duplicateMode_;
    std::unique_ptr<DupResults> results_;
    SearchState* search_ = nullptr;
    ResultList* list_ = nullptr;
};

}  // namespace finders
