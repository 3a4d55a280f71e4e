#pragma once
// TfrmGetFolderName ("New folder name"): one text field for the name of a
// new sub-folder, OK and Cancel. The caller sets the caption.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace del {

class TfrmGetFolderName : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGetFolderName(QWidget* owner = nullptr);

    QLineEdit* Edit1 = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;
};

}  // namespace del
