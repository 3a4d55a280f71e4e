#pragma once
// TfrmStatList ("File types"): the editor of one statistics type list. The
// caller sets Section ("Include" or "Exclude") before showing it; "Close"
// (or Esc) stores the list, the title-bar close box leaves it unchanged.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace comp {

class PickList;

class TfrmStatList : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStatList(QWidget* owner = nullptr);

    QString Section;

    comp::PickList* PickList1 = nullptr;
    QLabel* lblCount = nullptr;
    QPushButton* btAdd = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btClear = nullptr;
    QPushButton* btClose = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormShow();
    void btAddClick();
    void btDeleteClick();
    void btClearClick();
    void btCloseClick();
    void showCount();
};

// Shows the editor modally for a section; the list is stored when the
// editor is closed with "Close". The scope window runs this for "&Add/Delete".
void EditStatFileList(QWidget* owner, const QString& section);

}  // namespace comp
