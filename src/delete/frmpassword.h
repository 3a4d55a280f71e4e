#pragma once
// The password question of the restore: the password is typed twice, and OK
// is enabled only while both fields agree.

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace del {

class TfrmPassword : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget* owner = nullptr);

    // The entry that needs the password, shown above the fields.
    void setEntryName(const QString& entry);
    QString password() const;

    QLabel* lblEntry = nullptr;
    QLineEdit* edPassword = nullptr;
    QLineEdit* edConfirm = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

    // Shows the dialog modally: the password on OK, nothing on Cancel.
    static std::optional<QByteArray> ask(QWidget* owner, const QString& entry);

private:
    void fieldsChanged();
};

}  // namespace del
