#pragma once
// TfrmTempFiles ("Temporary file extensions"): the editor of the quick
// clean's temporary-file list. The list is read when the window is shown
// and stored whenever it closes, whichever way.

#include <QDialog>

class QPushButton;

namespace comp {
class PickList;
}

namespace finders {

class TfrmTempFiles : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTempFiles(QWidget* owner = nullptr);

    void done(int result) override;

    comp::PickList* PickList1 = nullptr;
    QPushButton* btAdd = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btClear = nullptr;
    QPushButton* btDefaults = nullptr;
    QPushButton* btClose = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();
    void btAddClick();
    void btDeleteClick();
    void btClearClick();
    void btDefaultsClick();
    void addLines(const QStringList& lines);

    bool shown_ = false;
};

}  // namespace finders
