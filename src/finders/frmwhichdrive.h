#pragma once
// TfrmWhichDrive ("Which drives and file types?"): the three-page scope
// window of the statistics. Page 1 picks drives and folders, page 2 the kind
// of type filter, page 3 the file types. After OK the caller reads roots(),
// typeMode() and typeEntries() (or scope()).

#include "finders/scanscope.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace comp {
class DriveCheckList;
class PickList;
class ShadowLabel;
}  // namespace comp

namespace finders {

class TfrmWhichDrive : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWhichDrive(QWidget* owner = nullptr);

    // The editor of a type list section ("Include" or "Exclude"), shown by
    // "&Add/Delete". Set by the creator (the statistics window opens
    // comp::EditStatFileList). Without it the button is disabled.
    std::function<void(QWidget* owner, const QString& section)> EditTypeList;

    QStringList roots() const;
    TypeMode typeMode() const;
    QStringList typeEntries() const;  // empty in AllFiles mode
    ScanScope scope() const;
    int currentPage() const { return page_; }  // 1 to 3

    QComboBox* cbDrive = nullptr;
    QFrame* pnlDrives = nullptr;
    QFrame* pnlFileTypes = nullptr;
    QFrame* pnlTypeList = nullptr;
    comp::ShadowLabel* lblTitle1 = nullptr;
    comp::ShadowLabel* lblTitle2 = nullptr;
    comp::ShadowLabel* lblTitle3 = nullptr;
    comp::DriveCheckList* pckDrive = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btNext1 = nullptr;
    QRadioButton* rbAll = nullptr;
    QRadioButton* rbInclude = nullptr;
    QRadioButton* rbExclude = nullptr;
    QPushButton* btPrev2 = nullptr;
    QPushButton* btNext2 = nullptr;
    comp::PickList* PickList1 = nullptr;
    QLabel* lblOf = nullptr;
    QPushButton* btAddDelete = nullptr;
    QPushButton* btPrev3 = nullptr;
    QPushButton* btOK = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildDrivePage();
    void buildModePage();
    void buildTypePage();
    void FormShow();
    void showPage(int page);
    QString modeSection() const;
    void readTypeList();
    void pckDriveClick();
    void PickList1Click();
    void AddFolderClick();
    void btNext2Click();
    void btAddDeleteClick();

    int page_ = 1;
};

}  // namespace finders
