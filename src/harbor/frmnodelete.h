#pragma once
// TfrmNoDelete: the protected-folder list (folders.txt) with its builder,
// and a page with the protected extensions. The main window sets FirstBuild
// before showing it and reads SafeHarborChanged after it closed.

#include "harbor/foldereditor.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>

class QLabel;
class QListView;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTimer;

namespace harbor {

class FolderListModel;

class TfrmNoDelete : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNoDelete(QWidget* owner = nullptr);
    ~TfrmNoDelete() override;

    // The folder list was changed: it is saved when the window closes.
    bool ListChanged = false;
    // The main window reloads the Safe Harbor when this is set.
    bool SafeHarborChanged = false;
    // folders.txt is missing: the list is built about a second after the
    // window is shown, without asking.
    bool FirstBuild = false;

    static constexpr int kFirstBuildDelayMs = 1000;
    // While the build runs the list is redrawn, and pending events run, at
    // most this often: often enough to see it grow, rarely enough not to
    // slow the scan of thousands of folders.
    static constexpr int kRepaintMs = 50;

    const QStringList& entries() const;
    bool building() const { return building_; }

    void btAddClick();
    void btDelClick();
    void btEditClick();
    void btBuildClick();
    void btAddDelClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    class BuildState;
    void buildControls();
    QWidget* buildFolderPage();
    QWidget* buildTypesPage();
    void FormShow();
    void fillExtensionPage();
    void updateCount();
    void updateLastDate();
    void showBuildProgress(const QStringList& list);
    void setEntries(const QStringList& list);
    QList<int> selectedRows() const;

    QLabel* lblTitle = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QListView* ListBox1 = nullptr;
    QPushButton* btAdd = nullptr;
    QPushButton* btDel = nullptr;
    QPushButton* btEdit = nullptr;
    QPushButton* btBuild = nullptr;
    QLabel* lblCount = nullptr;
    QLabel* lblWhen = nullptr;
    QLabel* lblToday = nullptr;
    QListWidget* PickList1 = nullptr;
    QPushButton* btAddDel = nullptr;
    QPushButton* btClose = nullptr;
    QTimer* tmBuild = nullptr;
    FolderListModel* model_ = nullptr;
    bool building_ = false;
    bool saved_ = false;
    QElapsedTimer sinceRepaint_;
    SortedGrowth growth_;
};

}  // namespace harbor
