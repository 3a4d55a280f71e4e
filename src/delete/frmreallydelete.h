#pragma once
// TfrmReallyDelete: the deletion panel. A finder hands it the full paths of
// the files the user marked; the panel sorts them by the Safe Harbor test
// into the files to delete (lb1) and the files to keep (lb2), lets the user
// move files between the two lists, and removes what is left on lb1 in one
// operation: delete permanently, send to the trash, or zip into archives and
// then delete (ZipItClick). Every operation is recorded in the totals and the
// deletion log, and closes the panel with Accepted; closing without an
// operation gives Rejected.
//
// Hand-over: create, setFiles(paths), set PotentialSavings and ArchiveTag,
// exec().

#include "components/eventthrottle.h"
#include "delete/removebatch.h"
#include "delete/zipoperation.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <functional>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class QWidget;

namespace core {
class SafeHarbor;
}

namespace del {

class DeletionLog;

// The panel's own messages and questions.
extern const char* const kAllProtectedMessage;
extern const char* const kNoFilesMessage;
extern const char* const kReallyDeleteQuestion;
extern const char* const kTrashQuestion;
extern const char* const kNotDeletedMessage;
extern const char* const kTrashFailedMessage;
extern const char* const kReallyAbortQuestion;
extern const char* const kZippedMessage;  // "...in the folder \"%1\""

class TfrmReallyDelete : public QDialog {
    Q_OBJECT
public:
    // The panel tests against the program's Safe Harbor and records into the
    // program's deletion log unless told otherwise (setSafeHarbor/setLog).
    explicit TfrmReallyDelete(QWidget* owner = nullptr);
    ~TfrmReallyDelete() override;

    // Replaces the deletion list: sorted, each exact path (case kept) once.
    void setFiles(const QStringList& paths);
    // Before showing: the Safe Harbor to test against and the log to record
    // into (neither owned).
    void setSafeHarbor(core::SafeHarbor& harbor) { harbor_ = &harbor; }
    void setLog(DeletionLog& log) { log_ = &log; }

    // Total size in bytes of the handed-over files, as the caller computed it.
    double PotentialSavings = 0;
    // The caller's word for the archive names; empty when it sets none.
    QString ArchiveTag;
    // Set when the user confirms cancelling a running operation.
    bool AbortRequested = false;
    // Shortest time between two runs of pending events during a zip run;
    // tests set 0 to act between any two steps.
    int EventIntervalMs = comp::EventThrottle::kIntervalMs;

    // The two lists and the pages that hold them.
    QTabWidget* pages = nullptr;
    QWidget* pageDelete = nullptr;
    QWidget* pageHarbor = nullptr;
    QListWidget* lb1 = nullptr;
    QListWidget* lb2 = nullptr;
    QLabel* lblDelete = nullptr;
    QLabel* lblSavings = nullptr;
    QLabel* lblLeft = nullptr;
    QLabel* lblRight = nullptr;
    QPushButton* btToAgainst = nullptr;
    QPushButton* btMoveLeft = nullptr;
    QPushButton* btReason = nullptr;
    // The operation strip and, in its place while an operation runs, the
    // progress strip.
    QWidget* pnlButtons = nullptr;
    QPushButton* btZip = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btRecycle = nullptr;
    QPushButton* btClose = nullptr;
    QWidget* pnlProgress = nullptr;
    QLabel* lblName = nullptr;
    QProgressBar* bar = nullptr;
    QProgressBar* Gauge1 = nullptr;
    // The one-shot 500 ms timer of the all-protected note.
    QTimer* tmWarning = nullptr;

    // The paths on each list, in list order.
    QStringList deletionList() const;
    QStringList harborList() const;
    // True while the Safe Harbor sorting or an operation runs.
    bool busy() const { return sorting_ || running_; }
    // What the last operation did; empty before one ran.
    const BatchResult& lastResult() const { return lastResult_; }
    // What the last zip operation did; empty before one ran.
    const ZipOperationResult& lastZipResult() const { return lastZipResult_; }

    // The "Potential savings" text: grouped, cut before the decimal separator.
    static QString savingsText(double bytes);
    // The text the Reason button shows for a path of lb2.
    static QString reasonText(core::SafeHarbor& harbor, const QString& path);

public slots:
    void updateLeftRight();
    void btToAgainstClick();
    void btMoveLeftClick();
    void btReasonClick();
    void DeleteAllClick();
    void RecycleClick();
    void ZipItClick();
    void btCloseClick();
    void ShowWarning();
    // Esc and the title bar's close button: as Cancel.
    void reject() override;
    // Closes the panel and gives the keyboard back to the window that
    // opened it.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildControls();
    void FormShow();
    void MoveFiles();
    void updateDeleteLabel();
    void setOperationControlsEnabled(bool enabled);
    // The frame the operations share: the no-files note, the progress strip
    // in place of the buttons, and a copy of lb1 that the operation works on,
    // so nothing can change its list under it. operation answers true when
    // it ran (the panel then empties lb1 and closes with Accepted), false
    // when the user declined (the panel stays as it was).
    void runOperation(const std::function<bool(const QStringList& files)>& operation);
    bool runRemove(RemoveMode mode, const QStringList& files);
    bool runZip(const QStringList& files);
    void record(const std::function<bool(DeletionLog&)>& update);
    static void moveSelected(QListWidget* from, QListWidget* to);

    // The window that was active when the panel was first shown: its owner's,
    // or whichever window opened it.
    QPointer<QWidget> opener_;
    core::SafeHarbor* harbor_ = nullptr;
    DeletionLog* log_ = nullptr;
    bool sorting_ = false;
    bool running_ = false;
    bool shownOnce_ = false;
    BatchResult lastResult_;
    ZipOperationResult lastZipResult_;
};

}  // namespace del
