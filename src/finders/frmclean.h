#pragma once
// TfrmClean ("Find and delete temporary files"): the quick clean. Lists the
// files on the ticked drives and folders whose extension is on the selected
// entries of the temporary-file list (TempSearch), and hands the marked ones
// to the deletion panel. The result list is the finders' shared one; the
// list editor is TfrmTempFiles ("Add/Delete").

#include "components/resultgrid.h"
#include "components/resultgridview.h"
#include "finders/resultmarks.h"

#include <QDialog>

class QAction;
class QFrame;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPushButton;
class QComboBox;

namespace comp {
class DriveCheckList;
class PanelShrinker;
class PickList;
}  // namespace comp

namespace finders {

class EventPump;
class HintSwitch;
class ResultList;
class SearchState;
class TempSearch;

class TfrmClean : public QDialog {
    Q_OBJECT
public:
    explicit TfrmClean(QWidget* owner = nullptr);
    ~TfrmClean() override;

    bool searching() const;
    comp::ResultGrid& results() { return results_; }
    const MarkBook& marks() const;
    QString statusText() const;
    QString printTitle() const;
    EventPump& eventPump();
    comp::PanelShrinker& shrinker() const;
    // The deletion panel "Clean?" opens: the real one unless one is set here.
    void setCleanPanel(CleanPanel panel);

    QFrame* Panel1 = nullptr;
    QLabel* lblTypes = nullptr;
    comp::PickList* PickList1 = nullptr;
    QPushButton* btEdit = nullptr;
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
    comp::ResultGridView* grid = nullptr;
    QLabel* lblStatus = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* miSortSize = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Construction and layout (frmclean_layout.cpp).
    void buildTopPanel();
    void buildButtons(QHBoxLayout* row);
    void buildResults();
    void buildResultList();
    void setColumnWidths();
    void setSmallestSize();

    void FormShow();
    void readTypes(bool selectAll);
    void btScanClick();
    void btAbortClick();
    void btEditClick();
    void pckDriveClick();
    void AddFolderClick();
    void ClearGrid();
    void leaveSearching();
    void showOutcome();
    void setStatus(const QString& text);

    comp::ResultGrid results_;
    TempSearch* running_ = nullptr;
    SearchState* search_ = nullptr;
    ResultList* list_ = nullptr;
};

}  // namespace finders
