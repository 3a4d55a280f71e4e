#pragma once
// TfrmAddNewFolder: the folders the user adds to the drive check lists of the
// finders (settings list "NewFolders"). Only "Close" stores the list.

#include <QDialog>

class QPushButton;

namespace comp {
class PickList;
}

namespace finders {

class TfrmAddNewFolder : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAddNewFolder(QWidget* owner = nullptr);

    comp::PickList* ListBox1 = nullptr;
    QPushButton* btAdd = nullptr;
    QPushButton* btDel = nullptr;
    QPushButton* btClose = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();
    void btAddClick();
    void btDelClick();
    void btCloseClick();
};

}  // namespace finders
