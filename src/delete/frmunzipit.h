#pragma once
// TfrmUnZipIt ("Unzip Trovik Archive Zip Files"): picks one of the archives
// that zipping on deletion wrote, shows its contents as a folder tree and
// restores all of it into a chosen folder. Opened modally by the launcher.

#include "delete/restore.h"

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace del {

class DriveComboBox;
class FolderListBox;

class TfrmUnZipIt : public QDialog {
    Q_OBJECT
public:
    explicit TfrmUnZipIt(QWidget* owner = nullptr);
    ~TfrmUnZipIt() override;

    // The archive folder the window opens on, set by the caller before
    // showing; empty = the setting "ZipFile"/"Path".
    QString ZipFolder;
    // Set when the user chose to ignore further duplicate-name warnings;
    // reset whenever an archive is loaded.
    bool IgnoreDuplicateWarnings = false;
    // Asked when an entry needs a password: the password, or nothing when
    // the user cancels. The password dialog unless replaced.
    std::function<std::optional<QByteArray>(const QString& entry)> AskPassword;

    const LoadedArchive& archive() const { return archive_; }

    DriveComboBox* DriveComboBox1 = nullptr;
    FolderListBox* DirectoryListBox1 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QLabel* lblZip = nullptr;
    QLabel* lblCount = nullptr;
    QLabel* pnlComment = nullptr;
    QTreeWidget* Outline = nullptr;
    QPushButton* btView = nullptr;
    QPushButton* btExtract = nullptr;
    QPushButton* btClose = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QTimer* tmNoArchives = nullptr;

    // What happens when one entry fails while the archive is worked on.
    enum class ItemAction { Add, Move, Extract };
    void OutlineProcessItemFailure(ItemAction action, const QString& entry, bool duplicateName,
                                   const QString& codecText);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildControls();
    void FormShow();
    void DirectoryChange(const QString& folder);
    void fillFileList();
    void updateButtons();
    QString selectedFile() const;
    bool loadSelected();
    void showContents();
    void btViewClick();
    void ExtractFiles1Click();
    void reportOutcome(const RestoreOutcome& outcome, const QString& folder);
    void showProgress(int percent);

    LoadedArchive archive_;
};

}  // namespace del
