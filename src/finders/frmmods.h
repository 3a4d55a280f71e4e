#pragma once
// TfrmMods: the files-by-date window. It reads the criteria, drives a
// DateSearch and shows its rows; the result list is the finders' shared one.

#include "components/resultgrid.h"
#include "components/resultgridview.h"
#include "finders/datesearch.h"
#include "finders/eventpump.h"
#include "finders/markbook.h"
#include "finders/resultmarks.h"

#include <QDialog>
#include <memory>

class QAction;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPushButton;

namespace comp {
class DriveCheckList;
class PanelShrinker;
}  // namespace comp

namespace finders {

class ResultList;
class SearchState;

extern const char* const kModsAbortedMessage;

class TfrmMods : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMods(QWidget* owner = nullptr);
    ~TfrmMods() override;

    bool searching() const;
    // The search's pump (tests watch it).
    EventPump& eventPump();
    // The criteria as the controls give them now.
    DateCriteria criteria() const;
    // The rows shown: those of the last search, or none.
    const comp::ResultGrid& results() const { return *rows_; }
    QString statusText() const;
    const MarkBook& marks() const;
    // The title of the printed listing, from the fields as they stand.
    QString printTitle() const;
    void setCleanPanel(CleanPanel panel);

    QFrame* Panel1 = nullptr;
    QGroupBox* rgWhat = nullptr;
    QGroupBox* rgWhen = nullptr;
    QButtonGroup* whatGroup = nullptr;
    QButtonGroup* whenGroup = nullptr;
    QDateEdit* dtStart = nullptr;
    QDateEdit* dtEnd = nullptr;
    QLabel* lblAnd = nullptr;
    QLabel* lblWildCard = nullptr;
    QComboBox* cbWildCard = nullptr;
    QLabel* lblWild = nullptr;
    comp::DriveCheckList* pckDrive = nullptr;
    QComboBox* cbDrive = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btClose = nullptr;
    QPushButton* btAbort = nullptr;
    QPushButton* btMark = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btOptions = nullptr;
    QPushButton* btDetails = nullptr;
    QPushButton* btBrowse = nullptr;
    comp::ResultGridView* grid = nullptr;
    QLabel* lblStatus = nullptr;
    QMenu* PopupMenu1 = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Construction and layout (frmmods_layout.cpp).
    void buildTopPanel();
    void buildButtons(QHBoxLayout* row);
    void buildResults();
    void buildResultList();
    void setColumnWidths();
    void setSmallestSize();

    void FormShow();
    void pckDriveClick();
    void cbWildCardChange();
    void rgWhenClick();
    void startChanged();
    void endChanged();
    void AddFolderClick();
    void ClearGrid();
    void btOKClick();
    void btAbortClick();
    void leaveSearching();
    void setStatus(const QString& text);
    QWidgetList criteriaControls() const;

    std::unique_ptr<comp::ResultGrid> rows_;
    DateSearch* running_ = nullptr;
    SearchState* search_ = nullptr;
    ResultList* list_ = nullptr;
};

}  // namespace finders
