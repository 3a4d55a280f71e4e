#pragma once
// TfrmEditFolder: edits one entry of the protected-folder list, as a plain
// folder or, with cbAll ticked, as a subtree rule. The caller presets Edit1
// and cbAll, shows the window modally and reads them back on OK.

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace harbor {

class TfrmEditFolder : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditFolder(QWidget* owner = nullptr);

    // Preset before showing.
    void setEntryText(const QString& text, bool subtree);
    QString folderText() const;
    bool protectSubfolders() const;

    QLineEdit* Edit1 = nullptr;
    QCheckBox* cbAll = nullptr;
    QLabel* lblExample = nullptr;

    void btBrowseClick();
    void cbAllClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void updateExample();
    QPushButton* btBrowse = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;
};

}  // namespace harbor
