#pragma once
// TfrmDupCompare ("Compare file pairs"): two neighbouring rows of the
// duplicate list side by side, every difference highlighted. It lives for
// the whole run and is shown without blocking by "P&airs" of a duplicate
// window; while shown it is a child of that window (so the modal duplicate
// window does not block it) and is handed back, hidden, before that window
// goes. The pair list and the texts come from PairList.

#include "finders/paircompare.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace finders {

class TfrmDup;

class TfrmDupCompare : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDupCompare(QWidget* parent = nullptr);
    ~TfrmDupCompare() override;

    // "P&airs": placed at the duplicate window's top-left corner and shown;
    // the pair list is copied afresh unless the window is already showing
    // for that duplicate window, in which case it only comes to the front.
    void ShowFor(TfrmDup* dup);
    // Hides the window and gives it up if dup holds it (a new search, or
    // the duplicate window going).
    void handBack(TfrmDup* dup);
    TfrmDup* owner() const;
    const PairList& pairs() const { return pairs_; }

    // The buttons: per side, then the stepping and the window's own.
    QPushButton* btBrowse1 = nullptr;
    QPushButton* btMark1 = nullptr;
    QPushButton* btLaunch1 = nullptr;
    QPushButton* btView1 = nullptr;
    QPushButton* btBrowse2 = nullptr;
    QPushButton* btMark2 = nullptr;
    QPushButton* btLaunch2 = nullptr;
    QPushButton* btView2 = nullptr;
    QCheckBox* cbCRC = nullptr;
    QCheckBox* cbDetails = nullptr;
    QPushButton* sbL1 = nullptr;
    QPushButton* sbR1 = nullptr;
    QPushButton* btCompute = nullptr;
    QPushButton* btPrint = nullptr;
    QPushButton* btClose = nullptr;
    QWidget* pnlButtons = nullptr;

    // The detailed view: a group box per side.
    QWidget* pnlDetailed = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* lblFolder1 = nullptr;
    QLabel* lblFolder2 = nullptr;
    QLabel* lblSizeBytes1 = nullptr;
    QLabel* lblSizebytes2 = nullptr;
    QLabel* lblType1 = nullptr;
    QLabel* lblTYpe2 = nullptr;
    QLabel* lblCreate1 = nullptr;
    QLabel* lblCreate2 = nullptr;
    QLabel* lblModify1 = nullptr;
    QLabel* lblModify2 = nullptr;
    QLabel* lblAccess1 = nullptr;
    QLabel* lblAccess2 = nullptr;
    QLabel* lblAttrib1 = nullptr;
    QLabel* lblAttrib2 = nullptr;
    QLabel* lblCRC1 = nullptr;
    QLabel* lblCRC2 = nullptr;
    QLabel* lblDel1 = nullptr;
    QLabel* lblDel2 = nullptr;
    QLabel* imCreate = nullptr;
    QLabel* imAccess = nullptr;
    QLabel* imModify = nullptr;

    // The simple view.
    QWidget* pnlSimple = nullptr;
    QLabel* lblSimple1 = nullptr;
    QLabel* lblSimple2 = nullptr;
    QLabel* lblSFolder1 = nullptr;
    QLabel* lblSFolder2 = nullptr;
    QLabel* lblSCreate1 = nullptr;
    QLabel* lblSCreate2 = nullptr;
    QLabel* lblSAccess1 = nullptr;
    QLabel* lblSAccess2 = nullptr;
    QLabel* lblSSize1 = nullptr;
    QLabel* lblSSize2 = nullptr;
    QLabel* lblSsystem1 = nullptr;
    QLabel* lblSsystem2 = nullptr;

    // The version lines of each side.
    QListWidget* tlBox1 = nullptr;
    QListWidget* tlBox2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    struct SideControls;
    void buildButtons();
    QGroupBox* buildSide(int side);
    void buildSimple();
    SideControls side(int n) const;

    void showPair();
    void fillSide(int n, const PairSide& s);
    void highlight();
    void layOut(bool movePointer);
    void placeArrows();
    void sbL1Click();
    void sbR1Click();
    void btComputeClick();
    void markSide(int n);
    void launchSide(int n);
    void viewSide(int n);
    void btPrintClick();
    void cbDetailsClick();
    void setWhite(bool white);

    PairList pairs_;
    QPointer<TfrmDup> dup_;
};

// The pair window of the running program, created hidden at start-up;
// none until the program registers it.
TfrmDupCompare* programPairWindow();
void setProgramPairWindow(TfrmDupCompare* window);

}  // namespace finders
