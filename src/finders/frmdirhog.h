#pragma once
// TfrmDirHog: the folder hogs window. It measures how much the folders of
// the ticked drives and folders hold ("&Main folders": one line per folder
// directly under each entry, totalled over its tree; "&All Folders": one line
// per folder with its own files), lists them largest first with their share
// of the drive, and hands a whole folder to the folder deletion window. The
// search is DirHogSearch's; the window's pieces (searching state, sort menu,
// listings, shrinking top panel) are the finders' shared ones.

#include "components/resultgridview.h"
#include "finders/dirhogsearch.h"

#include <QDialog>
#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPushButton;

namespace comp {
class DriveCheckList;
class PanelShrinker;
}  // namespace comp

namespace finders {

class EventPump;
class ListingCommands;
class SearchState;
class SortMenu;

extern const char* const kDirHogAbortedMessage;

class TfrmDirHog : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDirHog(QWidget* owner = nullptr);
    ~TfrmDirHog() override;

    bool searching() const;
    DirHogSearch& search() { return *search_; }
    comp::ResultGrid& results() const { return search_->grid(); }
    QString statusText() const;
    EventPump& eventPump();
    QString printTitle() const;
    comp::ResultGridView::CellLook cellLook(int row, int column) const;
    // The row of the last click on the grid: 0 for the title row, -1 before any.
    int lastClick() const { return lastClick_; }

    QFrame* Panel1 = nullptr;
    QPushButton* btTop = nullptr;
    QPushButton* btAll = nullptr;
    QPushButton* btClose = nullptr;
    QPushButton* btAbort = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btOptions = nullptr;
    QPushButton* btBrowse = nullptr;
    QLabel* lblMain = nullptr;
    QLabel* lblMainText = nullptr;
    QLabel* lblAll = nullptr;
    QLabel* lblAllText = nullptr;
    comp::DriveCheckList* pckDrive = nullptr;
    QComboBox* cbDrive = nullptr;
    comp::ResultGridView* grid = nullptr;
    QLabel* lblStatus = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QAction* miHighlight = nullptr;
    QAction* miAddFolder = nullptr;
    QAction* miSortSize = nullptr;
    QAction* miSortFiles = nullptr;
    QAction* miSortSubFolders = nullptr;
    QAction* miSortAccess = nullptr;
    QAction* miSortName = nullptr;
    QAction* miShrink = nullptr;
    QAction* miRestore = nullptr;
    QAction* miPrint = nullptr;
    QAction* miClipboard = nullptr;
    QAction* miClipNames = nullptr;
    QAction* miClipGrid = nullptr;
    QAction* miWebPage = nullptr;

public slots:
    void btTopClick();
    void btAllClick();
    void btAbortClick();
    void btBrowseClick();
    void btDeleteClick();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildTopPanel();
    void buildButtons(QHBoxLayout* row);
    void buildMenu();
    void FormShow();
    void ClearGrid();
    void scan(DirHogMode mode);
    void pckDriveClick();
    void AddFolderClick();
    void copyFolderNames();
    void setStatus(const QString& text);
    void setColumnWidths();

    std::unique_ptr<DirHogSearch> search_;
    SearchState* state_ = nullptr;
    SortMenu* sort_ = nullptr;
    ListingCommands* listing_ = nullptr;
    comp::PanelShrinker* shrinker_ = nullptr;
    int lastClick_ = -1;
};

}  // namespace finders
