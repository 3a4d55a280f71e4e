#pragma once
// TfrmDetails ("File Details"): everything the program can tell about one
// file: icon, name, type, size and cluster use, three dates with their
// ages, attributes and the version lines. "&Open" hands the file to the
// desktop, "&View" shows it in the viewer, "Print" prints the details.

#include "browse/filedetails.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace browse {

class TfrmDetails : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDetails(QWidget* owner = nullptr);

    // The full path of the file, set by the caller before showing.
    QString FileToShow;

    QLabel* Image1 = nullptr;
    QLineEdit* lblFileName = nullptr;
    QLabel* lblFileType = nullptr;
    QLabel* lblSizeBytes = nullptr;
    QLabel* lblSizeK = nullptr;
    QLabel* lblCreate = nullptr;
    QLabel* lblModify = nullptr;
    QLabel* lblAccess = nullptr;
    QLabel* lblAttributes = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* btLaunch = nullptr;
    QPushButton* btView = nullptr;
    QPushButton* btPrint = nullptr;
    QPushButton* btClose = nullptr;
    QListWidget* lb = nullptr;  // the printed lines; never shown

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();
    void btLaunchClick();
    void btViewClick();
    void btPrintClick();

    FileDetails details_;
};

}  // namespace browse
