#pragma once
// TfrmZipDirectory ("Destination folder"): where the restore window puts the
// files of an archive. It opens on the root of the drive named in the
// archive's name and asks before any other folder is used, because only
// that root puts the files back where they were. The process's current
// folder is put back when it closes.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace del {

class DriveComboBox;
class FolderListBox;

class TfrmZipDirectory : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZipDirectory(QWidget* owner = nullptr);

    // The archive to restore (full drive path), shown in the dialog.
    void setArchivePath(const QString& path);
    // The folder the files go into.
    QString chosenFolder() const;

    QString StartFolder;  // the current folder when the dialog opened
    QString ArchiveRoot;  // "X:\" from the archive's name, or "\"

    QLabel* lblZipName = nullptr;
    QLabel* DirLabel = nullptr;
    DriveComboBox* DriveComboBox1 = nullptr;
    FolderListBox* DLB = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btNewFolder = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();
    void DLBChange(const QString& folder);
    void DriveChange(const QString& root);
    void btOKClick();
    void btNewFolderClick();
};

}  // namespace del
