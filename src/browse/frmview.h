#pragma once
// TfrmView ("View file"): shows one file read-only as text or hex, with a
// status header, search, go-to-line, tab settings, font, printing, the
// clipboard and a view of the file's readable strings. Opened modally for
// one file: set FileToView, then show it (or call ViewFile).

#include "core/prompter.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace comp {
class FileViewer;
class StatusHeader;
}  // namespace comp

namespace browse {

class TFindDlg;

class TfrmView : public QDialog {
    Q_OBJECT
public:
    explicit TfrmView(QWidget* owner = nullptr);
    ~TfrmView() override;

    // The file to show (drive path), set by the caller before showing; it
    // follows the file shown after an open or a drop.
    QString FileToView;

    // Asks the find dialog; true for OK. The run's find dialog unless
    // replaced (tests fill the dialog and answer).
    std::function<bool(TFindDlg&)> AskFind;
    // The find dialog this window uses: the run's, or one of its own when
    // start-up has made none.
    TFindDlg& findDialog();

    // Makes this window the strings view of a temporary file (by its own
    // path, which need not lie on a drive): no strings, ASCII or hex
    // choices.
    void setStringsFile(const QByteArray& posixPath);
    bool isStringsView() const { return !stringsFile_.isEmpty(); }

    comp::FileViewer* Viewer1 = nullptr;
    comp::StatusHeader* Header1 = nullptr;
    QRadioButton* rbAscii = nullptr;
    QRadioButton* rbHex = nullptr;
    QPushButton* btFont = nullptr;
    QPushButton* btPrintSetup = nullptr;
    QPushButton* btPrint = nullptr;
    QPushButton* btStrings = nullptr;
    QPushButton* btClose = nullptr;
    QWidget* pnlBottom = nullptr;

    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Clipboard1 = nullptr;
    QMenu* Search1 = nullptr;
    QMenu* Options1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* PrintSetup1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* Find1 = nullptr;
    QAction* FindNext1 = nullptr;
    QAction* GotoLine1 = nullptr;
    QAction* HexMode1 = nullptr;
    QAction* TabExpansion1 = nullptr;
    QAction* TabSize1 = nullptr;
    QAction* Font1 = nullptr;

    // Opens a dropped file: the first local file of the list; other
    // addresses are refused. True when a file was opened.
    bool FilesDropped(const QList<QUrl>& urls);

    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void buildControls();
    void buildMenu();
    void FormShow();
    void Viewer1ShowStatus();
    void showFile(const QString& drivePath);
    void Open1Click();
    void PrintSetup1Click();
    void Print1Click();
    void File1Click();
    void Clipboard1Click();
    void Copy1Click();
    void SelectAll1Click();
    void Search1Click();
    void Find1Click();
    void FindNext1Click();
    void GotoLine1Click();
    void HexMode1Click();
    void rbAsciiClick();
    void rbHexClick();
    void TabExpansion1Click();
    void TabSize1Click();
    void Font1Click();
    void btStringsClick();
    void search(bool global);
    void busyChanged(bool busy);

    QByteArray stringsFile_;
    TFindDlg* ownFindDlg_ = nullptr;
    core::PageSetup pageSetup_;
    QList<QPair<QAction*, bool>> enabledBeforeWork_;
    bool shown_ = false;
};

// Shows the viewer modally for one file (drive path), owned by owner.
int ViewFile(QWidget* owner, const QString& drivePath);

}  // namespace browse
