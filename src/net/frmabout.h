#pragma once
// TfrmAbout, "How to contact us": the program, its version and its maker,
// the maker's addresses, and three actions: the version check, the maker's
// web page, and a mail recommending the program to a friend. "Version Check"
// closes the window with OK once the version check window has closed.

#include "net/site.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace comp {
class ClickLabel;
class ShadowLabel;
class TileBackground;
}  // namespace comp

namespace net {

class TfrmVersionCheck;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* owner = nullptr);

    comp::TileBackground* pnlBack = nullptr;
    comp::ShadowLabel* lblProgram = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblMaker = nullptr;
    QLabel* lblAddress1 = nullptr;
    QLabel* lblAddress2 = nullptr;
    comp::ClickLabel* lblWeb = nullptr;
    QPushButton* btVersion = nullptr;
    QPushButton* btRecommend = nullptr;
    QPushButton* btWeb = nullptr;

    // The maker's postal address lines.
    static QString addressLine1();
    static QString addressLine2();

    const Site& site() const { return site_; }
    void setSite(const Site& site);

    // Called with the version check window before it is shown (tests set
    // its site and waits here).
    void setVersionCheckSetup(std::function<void(TfrmVersionCheck&)> setup) { versionSetup_ = std::move(setup); }

    void btVersionClick();
    void btRecommendClick();
    void btWebClick();
    void GotoWebPage();

private:
    Site site_;
    std::function<void(TfrmVersionCheck&)> versionSetup_;
};

}  // namespace net
