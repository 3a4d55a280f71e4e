#pragma once
// TfrmWildCard, the wildcard picker of the folder browser: an editable box
// of patterns with the meaning of the pattern shown below it.

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace finders {

class TfrmWildCard : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWildCard(QWidget* owner = nullptr);

    // The caller's pattern goes into cbWildCard before showing; on OK the
    // box's text is the new pattern.
    void setPattern(const QString& pattern);
    QString pattern() const;

    QComboBox* cbWildCard = nullptr;
    QLabel* lblWild = nullptr;
    QLabel* lblType = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();
    void cbWildCardChange();
};

}  // namespace finders
