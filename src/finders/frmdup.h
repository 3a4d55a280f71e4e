#pragma once
// TfrmDup: the duplicate-file and file-hog finder. One window, two modes,
// fixed when it is created: duplicates (groups of files that look alike by
// name, size, date or type, optionally confirmed by checksums) or file hogs
// (the largest files, largest first). The window reads the criteria, drives
// a DupResults search and shows its grid; the search itself lives there.
//
// Marking, the grid's menu, clipboard, print, web page and the hand-over to
// the deletion panel build on this: their buttons exist and follow the
// search's states, but do nothing yet.

#include "finders/dupresults.h"
#include "finders/eventpump.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace comp {
class DriveCheckList;
class ResultGridView;
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
    QString statusText() const;
    // The search's pump (tests watch it) and the window's hint switch.
    EventPump& eventPump() { return pump_; }
    HintSwitch& hints() { return *hints_; }

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

public slots:
    // Esc and the close box come here; refused while a search runs.
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Construction and layout (frmdup_layout.cpp).
    void buildTopPanel();
    void buildCriteria(QGridLayout* criteria);
    void buildButtons(QHBoxLayout* row);
    void buildResults();
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

    struct Searching;

    const bool duplicateMode_;
    bool searching_ = false;
    std::unique_ptr<DupResults> results_;
    EventPump pump_;
    HintSwitch* hints_ = nullptr;
};

}  // namespace finders
