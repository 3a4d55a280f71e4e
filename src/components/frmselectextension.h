#pragma once
// TfrmSelectExtension, the extension picker of the type-list editors: a
// pattern typed into Edit1, or one or several lines picked in lBox.

#include "components/extensionchoice.h"

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace comp {

class TfrmSelectExtension : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelectExtension(QWidget* owner = nullptr);

    // What was chosen when the window closed with OK.
    ExtensionChoice choice() const { return choice_; }

    QListWidget* lBox = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();
    void lBoxClick(QListWidgetItem* item);
    void lBoxDblClick(QListWidgetItem* item);
    void btOKClick();
    // The steps of OK; false when nothing usable was given.
    bool takeChoice();

    QStringList patterns_;  // the hidden pattern list, row for row with lBox
    ExtensionChoice choice_;
};

}  // namespace comp
