#pragma once
// TfrmZipOptions ("Archive Zip File Options"): shown before every zip
// operation. It shows the archive folder (changed only through the folder
// picker) and the comment for the archives (at most 80 characters). It reads
// both settings when shown and writes them when it closes, whichever button
// closed it.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace comp {
class ShadowLabel;
}

namespace del {

class TfrmZipOptions : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxCommentLength = 80;

    explicit TfrmZipOptions(QWidget* owner = nullptr);

    // What the window showed when it closed (and wrote to the settings).
    QString ZipFolder;
    QString ZipComment;

    comp::ShadowLabel* lblTitle = nullptr;
    QLineEdit* Edit1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

public slots:
    void SpeedButton1Click();
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void readSettings();
    void writeSettings();
    bool loaded_ = false;  // the settings were read: closing writes them back
};

}  // namespace del
