#pragma once
// TfrmBrowse, "Browse through folders": the folder tree of a drive, the
// files of one folder in a sortable grid, marks handed to the deletion
// panel, a whole folder handed to the folder deletion window, and the
// single-file commands (details, open, view).
//
// What a folder shows comes from folderlisting.h; marks, sorts and the grid
// are the result windows' shared pieces.

#include "browse/browsehook.h"
#include "finders/resultmarks.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace comp {
class ClickLabel;
class ResultGridView;
}  // namespace comp

namespace finders {
class SortMenu;
}

namespace browse {

class TfrmBrowse : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBrowse(QWidget* owner = nullptr);
    ~TfrmBrowse() override;

    // Before the window is shown: the tree's folder (the process's current
    // folder unless set), the file pattern, and the file to pre-select.
    void setRequest(const BrowseRequest& request);
    void setFolder(const QString& drivePath);
    const QString& folder() const { return folder_; }
    QString Pattern = QStringLiteral("*.*");
    QString FileToSelect;

    const finders::MarkBook& marks() const { return marks_->book(); }
    double totalBytes() const { return totalBytes_; }

    // The windows this one opens, replaceable by tests: the deletion panel,
    // the folder deletion window (its dialog result) and the wildcard window
    // (the new pattern, nothing on Cancel).
    finders::CleanPanel cleanPanel;
    std::function<int(QWidget* owner, const QString& folder)> folderPanel;
    std::function<std::optional<QString>(QWidget* owner, const QString& pattern)> patternPanel;

    QComboBox* DriveCombobox1 = nullptr;
    QTreeWidget* DirectoryListBox1 = nullptr;
    QPushButton* btOptions = nullptr;
    QLabel* Label1 = nullptr;
    comp::ResultGridView* grid = nullptr;
    QPushButton* btDeleteDirectory = nullptr;
    QPushButton* btDetails = nullptr;
    QPushButton* btLaunch = nullptr;
    QPushButton* btView = nullptr;
    QPushButton* btMark = nullptr;
    QPushButton* btDeleteFiles = nullptr;
    QPushButton* btClose = nullptr;
    QLabel* pnlScan = nullptr;
    comp::ClickLabel* pnlWild = nullptr;
    QLabel* pnlSize = nullptr;
    QMenu* PopupMenu1 = nullptr;
    finders::SortMenu* sortMenu() const { return sort_; }

    void DirectoryListBox1Change();
    void Markall1Click();
    void Unmarkall1Click();
    void btDeleteFilesClick();
    void btDeleteDirectoryClick();
    void btViewClick();
    void btLaunchClick();
    void Details1Click();
    void pnlScanClick();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildControls();
    void buildMenu();
    void FormShow();
    bool FormCloseQuery();
    void fillTree(const QStringList& subFolders);
    void followDrive();
    void onDriveChosen(int index);
    void onTreeDoubleClick(QTreeWidgetItem* item);
    void resort();
    void showFolderLabel();
    void showCounts(int files);
    QString selectedFile() const;
    // "Filename" takes the room the other columns leave, never less than
    // the width it was given or the user dragged it to.
    void fitNameColumn();

    finders::ResultMarks* marks_ = nullptr;
    finders::SortMenu* sort_ = nullptr;
    QString folder_;
    double totalBytes_ = 0;
    bool shown_ = false;
    int nameWidth_ = 0;
    bool fittingName_ = false;
};

// Opens the folder browser modally at a folder (the finder windows'
// "&Browse"), with a pattern and a file to pre-select.
void BrowseFolder(QWidget* owner, const BrowseRequest& request);

}  // namespace browse
