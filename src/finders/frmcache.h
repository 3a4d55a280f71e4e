#pragma once
// TfrmCache: the internet cache clean-up. Keeps the list of the folders in
// which web browsers store their cache files (stored when the window closes,
// whatever closes it), and hands the files of those folders that have not
// been accessed for the chosen number of days to the deletion panel.

#include "finders/resultmarks.h"

#include <QDialog>

class QListWidget;
class QPushButton;
class QSpinBox;

namespace finders {

class TfrmCache : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCache(QWidget* owner = nullptr);

    // The deletion panel "&Clear internet cache" shows; tests put their own.
    void setCleanPanel(CleanPanel panel) { cleanPanel_ = std::move(panel); }

    QListWidget* ListBox1 = nullptr;
    QSpinBox* nDays = nullptr;
    QPushButton* btAdd = nullptr;
    QPushButton* btDel = nullptr;
    QPushButton* btInit = nullptr;
    QPushButton* btClear = nullptr;
    QPushButton* btClose = nullptr;

    // The folder list as it stands.
    QStringList folders() const;

    void btAddClick();
    void btDelClick();
    void btInitClick();
    void btClearClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void addFolder(const QString& folder);
    CleanPanel cleanPanel_ = RunDeletionPanel;
    // From show to the first close: only a list that was shown is stored.
    bool open_ = false;
};

}  // namespace finders
