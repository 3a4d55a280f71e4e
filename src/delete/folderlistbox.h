#pragma once
// The drive selector and folder list of the restore windows: the folder list
// shows the way from the drive root down to the current folder, then the
// current folder's sub-folders; activating a line (double click, Enter)
// makes that folder current. Links are not listed, so a link never leads the
// list off its drive.

#include <QComboBox>
#include <QListWidget>
#include <QString>

namespace del {

class FolderListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FolderListBox(QWidget* parent = nullptr);

    // Lists folder (a drive path) and emits directoryChanged. Raises
    // plat::IoError when the folder cannot be listed.
    void setDirectory(const QString& folder);
    QString directory() const { return directory_; }
    // Lists the current folder again (after a sub-folder was made).
    void refresh();
    // The drive path a line stands for.
    static QString pathOf(const QListWidgetItem* item);

signals:
    void directoryChanged(const QString& folder);

private:
    void fill();
    QString directory_;
};

// The drives of the drive table, "c: [label]", kept on the drive of the
// folder list it drives.
class DriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveComboBox(QWidget* parent = nullptr);
    void fillDrives();
    // Selects the drive of a drive path without emitting driveChosen.
    void showDriveOf(const QString& drivePath);

signals:
    void driveChosen(const QString& root);  // "C:\"

private:
    bool quiet_ = false;
};

}  // namespace del
