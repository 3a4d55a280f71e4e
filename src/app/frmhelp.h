#pragma once
// TfrmHelp: the help file in a window of the program's own, for machines
// where the desktop has nothing that opens a web page. Links inside the
// help are followed in the same window; links to web sites and mail
// addresses go to the desktop.

#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace app {

class TfrmHelp : public QWidget {
    Q_OBJECT
public:
    explicit TfrmHelp(QWidget* parent = nullptr);

    // Loads the page (a local file, with an anchor to scroll to) and shows
    // the window in front.
    void showPage(const QUrl& url);

    QTextBrowser* browser() const { return txtHelp; }

private:
    QTextBrowser* txtHelp = nullptr;
    QPushButton* btBack = nullptr;
    QPushButton* btForward = nullptr;
    QPushButton* btContents = nullptr;
    QPushButton* btClose = nullptr;
    QUrl home_;
};

}  // namespace app
