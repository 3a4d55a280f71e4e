#pragma once
// TfrmVersionCheck, "Version Check": asks the maker's web site which version
// is current, shows the verdict and the release notes, and offers the update
// page. One check per opening of the window; a failed one can be retried.
// While a transfer runs, Esc cancels it, and "Close" or the close box
// cancel it and close the window once it has ended.

#include "net/site.h"
#include "net/versioncheck.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTextBrowser;

namespace comp {
class HttpClient;
class ShadowLabel;
}  // namespace comp

namespace net {

class TfrmVersionCheck : public QDialog {
    Q_OBJECT
public:
    explicit TfrmVersionCheck(QWidget* owner = nullptr);
    ~TfrmVersionCheck() override;

    comp::ShadowLabel* lblTitle = nullptr;
    QTextBrowser* richEd = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* btCheck = nullptr;
    QPushButton* btUpdate = nullptr;
    QPushButton* btClose = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QPlainTextEdit* memVer = nullptr;  // never shown: the version file's lines

    // The transfer component (tests shorten its waits) and the site asked.
    comp::HttpClient& http() { return *http_; }
    void setSite(const Site& site) { site_ = site; }
    const Site& site() const { return site_; }
    bool checking() const { return checking_; }

    void FormShow();
    void btCheckClick();
    void btUpdateClick();
    void btCloseClick();
    void CheckTheVersion();

    // The release notes with their http(s) addresses as links.
    void showNotes(const QString& text);

    void reject() override;  // Esc

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void setStatus(const QString& text);
    void applyOutcome(const CheckOutcome& outcome);
    void linkClicked(const QUrl& url);

    comp::HttpClient* http_ = nullptr;
    Site site_;
    bool checking_ = false;
    bool closeWhenDone_ = false;
};

}  // namespace net
