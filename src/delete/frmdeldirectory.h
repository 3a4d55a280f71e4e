#pragma once
// TfrmDelDirectory: removes one whole folder tree, chosen by its caller (the
// folder hogs window, the folder browser): delete everything, send every file
// to the trash, or zip every file and by default delete the tree afterwards.
// The work is FolderDeletion's; this window offers the three ways, shows the
// running count and the current file, and lets a running operation be
// stopped.
//
// Hand-over: create, set the folder's full path with setFolder() (or into
// lblDirectory before the window is shown), exec().
// Accepted (mrOk) after an operation ran; Rejected (mrCancel) when the user
// cancelled before or during one. RecycleChosen tells whether the files went
// to the trash.

#include "delete/folderdeletion.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace del {

class TfrmDelDirectory : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDelDirectory(QWidget* owner = nullptr);
    ~TfrmDelDirectory() override;

    // The folder to remove as its caller shows it: the full path as the label
    // text. It is read once, when the window is shown; from then on the
    // operation works on folder(), whatever the label says later.
    QLabel* lblDirectory = nullptr;
    // Sets the folder to remove and the label that shows it.
    void setFolder(const QString& path);
    const QString& folder() const { return folder_; }
    // True when the operation sent the files to the trash.
    bool RecycleChosen = false;
    // The operation is "zip".
    bool ZipChosen = false;

    QLabel* lblTop = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btRecycle = nullptr;
    QPushButton* btZip = nullptr;
    QCheckBox* cbDelete = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QLabel* pnlCount = nullptr;
    QLabel* pnlName = nullptr;
    QProgressBar* Gauge1 = nullptr;

    // The zip options step before a zip: the archive folder, the comment
    // and the time; nothing when the user cancelled. The program shows the
    // zip options window; tests put their own answer here.
    std::function<std::optional<FolderZipTarget>()> askZipOptions;
    // Called on every pump of a running operation, before events run; tests
    // act from here as a user would while the walk runs.
    std::function<void()> pumpObserver;

    bool running() const { return running_; }
    // What the last operation did.
    const FolderDeletionResult& lastResult() const { return lastResult_; }

public slots:
    void btDeleteClick();
    void btRecycleClick();
    void btZipClick();
    void BitBtn3Click();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

public:
    void reject() override;

private:
    void buildControls();
    void FormShow();
    // Runs one operation; true when it ran (the window then closes).
    bool StartTheDeletionProcess(FolderMode mode);
    void finish(bool ran);
    void setRunning(bool on);
    void pump();

    QString folder_;                       // taken from lblDirectory at show
    FolderDeletion* operation_ = nullptr;  // while one runs
    bool running_ = false;
    bool cancelRequested_ = false;
    qint64 lastPumpMs_ = -1;
    FolderDeletionResult lastResult_;
};

}  // namespace del
