#pragma once
// TFindDlg ("Find"): the search text and options of the file viewer. One
// exists for the whole run, made hidden at start-up, so that every viewer
// window starts with the last search.

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace browse {

class TFindDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFindDlg(QWidget* owner = nullptr);

    QLineEdit* Edit1 = nullptr;
    QRadioButton* rbForward = nullptr;
    QRadioButton* rbBackward = nullptr;
    QCheckBox* cbMatchCase = nullptr;
    QCheckBox* cbGlobal = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

    QString searchText() const;
    bool backward() const;
    bool matchCase() const;
    bool global() const;

    // Shows the dialog modally over a window (it belongs to that window
    // while shown and is handed back after); true when closed with OK.
    bool ask(QWidget* over);
};

// The find dialog of the run; null until start-up has made it.
extern QPointer<TFindDlg> FindDlg;

}  // namespace browse
