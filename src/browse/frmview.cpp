#include "browse/frmview.h"

#include "browse/finddlg.h"
#include "browse/viewstatus.h"
#include "components/fileviewer.h"
#include "components/namedbutton.h"
#include "components/slotguard.h"
#include "components/statusheader.h"
#include "components/windowplacement.h"
#include "core/helpers.h"
#include "platform/drives.h"
#include "platform/fileops.h"
#include "reports/listings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryFile>
#include <QUrl>
#include <QVBoxLayout>

namespace browse {

namespace {

using comp::guarded;

comp::PlacementKey placementKey()
{
    return {core::PlacementStore::Key::Shared, comp::executableSection(), QStringLiteral("frmView")};
}

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The first local file among dropped addresses; empty when there is none.
QString firstLocalFile(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return QString();
    return urls.first().toLocalFile();
}

}  // namespace

TfrmView::TfrmView(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmView"));
    setWindowTitle(QStringLiteral("View file"));
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    buildControls();
    buildMenu();
    AskFind = [this](TFindDlg& dialog) { return dialog.ask(this); };

    // FormCreate: the tick follows the control; drops are welcome.
    TabExpansion1->setChecked(Viewer1->tabExpansion());
    setAcceptDrops(true);
    resize(760, 520);

    connect(Viewer1, &comp::FileViewer::showStatus, this, guarded([this] { Viewer1ShowStatus(); }));
    connect(Viewer1, &comp::FileViewer::busyChanged, this, [this](bool busy) { busyChanged(busy); });
}

TfrmView::~TfrmView()
{
    // FormDestroy: drops end with the window; the placement is kept.
    if (shown_)
        comp::savePlacement(*this, placementKey());
}

void TfrmView::buildControls()
{
    Header1 = new comp::StatusHeader({10, 16, 11, 22, 0}, this);
    Header1->setObjectName(QStringLiteral("Header1"));

    Viewer1 = new comp::FileViewer(this);
    Viewer1->setObjectName(QStringLiteral("Viewer1"));

    pnlBottom = new QWidget(this);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    rbAscii = new QRadioButton(QStringLiteral("&ASCII"), pnlBottom);
    rbAscii->setObjectName(QStringLiteral("rbAscii"));
    rbAscii->setChecked(true);
    rbHex = new QRadioButton(QStringLiteral("&Hex"), pnlBottom);
    rbHex->setObjectName(QStringLiteral("rbHex"));
    btFont = comp::namedButton("Fo&nt", "", pnlBottom, "btFont");
    btPrintSetup = comp::namedButton("P&rint setup", "", pnlBottom, "btPrintSetup");
    btPrint = comp::namedButton("&Print", "", pnlBottom, "btPrint");
    btStrings = comp::namedButton("Pee&k at strings", "Peek inside file for ASCII strings", pnlBottom, "btStrings");
    btClose = comp::namedButton("Close", "", pnlBottom, "btClose");
    for (QPushButton* b : {btFont, btPrintSetup, btPrint, btStrings, btClose})
        b->setAutoDefault(false);

    // FormResize: Close 15 pixels from the right edge, the other buttons to
    // its left in order, the radio buttons at the left.
    auto* bottom = new QHBoxLayout(pnlBottom);
    bottom->setContentsMargins(8, 4, 15, 4);
    bottom->addWidget(rbAscii);
    bottom->addWidget(rbHex);
    bottom->addStretch(1);
    for (QPushButton* b : {btFont, btPrintSetup, btPrint, btStrings, btClose})
        bottom->addWidget(b);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Header1);
    column->addWidget(Viewer1, 1);
    column->addWidget(pnlBottom);

    connect(rbAscii, &QRadioButton::clicked, this, guarded([this] { rbAsciiClick(); }));
    connect(rbHex, &QRadioButton::clicked, this, guarded([this] { rbHexClick(); }));
    connect(btFont, &QPushButton::clicked, this, guarded([this] { Font1Click(); }));
    connect(btPrintSetup, &QPushButton::clicked, this, guarded([this] { PrintSetup1Click(); }));
    connect(btPrint, &QPushButton::clicked, this, guarded([this] { Print1Click(); }));
    connect(btStrings, &QPushButton::clicked, this, guarded([this] { btStringsClick(); }));
    connect(btClose, &QPushButton::clicked, this, &TfrmView::reject);
}

void TfrmView::buildMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    layout()->setMenuBar(MainMenu1);

    const auto item = [this](QMenu* menu, const char* caption, const char* name, const QKeySequence& keys,
                             void (TfrmView::*handler)()) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty()) {
            a->setShortcut(keys);
            a->setShortcutContext(Qt::WindowShortcut);
        }
        connect(a, &QAction::triggered, this, guarded([this, handler] { (this->*handler)(); }));
        addAction(a);  // the keys work while the menu is closed
        return a;
    };

    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    Open1 = item(File1, "&Open...", "Open1", {}, &TfrmView::Open1Click);
    Print1 = item(File1, "&Print...", "Print1", {}, &TfrmView::Print1Click);
    PrintSetup1 = item(File1, "P&rint setup...", "PrintSetup1", {}, &TfrmView::PrintSetup1Click);
    File1->addSeparator();
    Exit1 = File1->addAction(QStringLiteral("E&xit"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    Exit1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(Exit1, &QAction::triggered, this, &TfrmView::reject);
    addAction(Exit1);

    Clipboard1 = MainMenu1->addMenu(QStringLiteral("&Clipboard"));
    Clipboard1->setObjectName(QStringLiteral("Clipboard1"));
    Copy1 = item(Clipboard1, "&Copy", "Copy1", QKeySequence(Qt::CTRL | Qt::Key_Insert), &TfrmView::Copy1Click);
    SelectAll1 = item(Clipboard1, "&Select all", "SelectAll1", {}, &TfrmView::SelectAll1Click);

    Search1 = MainMenu1->addMenu(QStringLiteral("&Search"));
    Search1->setObjectName(QStringLiteral("Search1"));
    Find1 = item(Search1, "&Find...", "Find1", {}, &TfrmView::Find1Click);
    FindNext1 = item(Search1, "Find &next", "FindNext1", QKeySequence(Qt::Key_F3), &TfrmView::FindNext1Click);
    GotoLine1 = item(Search1, "&Go to line...", "GotoLine1", QKeySequence(Qt::Key_F4), &TfrmView::GotoLine1Click);

    Options1 = MainMenu1->addMenu(QStringLiteral("&Options"));
    Options1->setObjectName(QStringLiteral("Options1"));
    HexMode1 = item(Options1, "&Hex Mode", "HexMode1", QKeySequence(Qt::Key_F8), &TfrmView::HexMode1Click);
    HexMode1->setCheckable(true);
    TabExpansion1 = item(Options1, "&Tab expansion", "TabExpansion1", {}, &TfrmView::TabExpansion1Click);
    TabExpansion1->setCheckable(true);
    TabSize1 = item(Options1, "Tab si&ze...", "TabSize1", {}, &TfrmView::TabSize1Click);
    Font1 = item(Options1, "&Font...", "Font1", {}, &TfrmView::Font1Click);

    for (QAction* a : {Print1, Copy1, SelectAll1, Find1, FindNext1, GotoLine1})
        a->setEnabled(false);

    connect(File1, &QMenu::aboutToShow, this, guarded([this] { File1Click(); }));
    connect(Clipboard1, &QMenu::aboutToShow, this, guarded([this] { Clipboard1Click(); }));
    connect(Search1, &QMenu::aboutToShow, this, guarded([this] { Search1Click(); }));
}

TFindDlg& TfrmView::findDialog()
{
    if (FindDlg)
        return *FindDlg;
    if (!ownFindDlg_)
        ownFindDlg_ = new TFindDlg(this);
    return *ownFindDlg_;
}

void TfrmView::setStringsFile(const QByteArray& posixPath)
{
    stringsFile_ = posixPath;
    for (QWidget* w : std::initializer_list<QWidget*>{btStrings, rbAscii, rbHex})
        w->hide();
    HexMode1->setVisible(false);
    HexMode1->setEnabled(false);
}

// ---- Show and status ---------------------------------------------------------

void TfrmView::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!shown_) {
        shown_ = true;
        comp::guardSlot([this] { FormShow(); });
    }
}

void TfrmView::FormShow()
{
    if (isStringsView()) {
        Viewer1->openPosixFile(stringsFile_);
        setWindowTitle(QStringLiteral("View File : ") + QFile::decodeName(stringsFile_));
    } else {
        Viewer1->openFile(FileToView);
        setWindowTitle(QStringLiteral("View File : ") + FileToView);
    }
    Search1Click();
    Clipboard1Click();
    comp::restorePlacement(*this, placementKey());
    Viewer1->setFocus();
}

void TfrmView::Viewer1ShowStatus()
{
    if (!Viewer1->isOpen()) {
        // A file that could not be opened is not an empty file: say why.
        for (int i = 0; i < 4; ++i)
            Header1->setSectionText(i, QString());
        Header1->setSectionText(4, Viewer1->errorText().isEmpty()
                                       ? QString()
                                       : QStringLiteral("Cannot open file: ") + Viewer1->errorText());
    } else {
        Header1->setSectionText(0, CaretStatusText(Viewer1->caretLine(), Viewer1->caretColumn()));
        Header1->setSectionText(1, TotalStatusText(Viewer1->lineCount()));
        Header1->setSectionText(2, TopStatusText(Viewer1->topLine()));
        Header1->setSectionText(3, BytesStatusText(Viewer1->fileSize()));
        QString note;
        if (!Viewer1->errorText().isEmpty())
            note = QStringLiteral("Cannot read all of the file: ") + Viewer1->errorText();
        else if (Viewer1->document().endedEarly())
            note = QStringLiteral("The file became shorter while shown");
        Header1->setSectionText(4, note);
    }
    Clipboard1Click();
}

void TfrmView::busyChanged(bool busy)
{
    // While a search, count or printout runs only Esc (abort) is left.
    MainMenu1->setEnabled(!busy);
    pnlBottom->setEnabled(!busy);
    if (busy) {
        enabledBeforeWork_.clear();
        for (QAction* a : actions()) {
            enabledBeforeWork_.append({a, a->isEnabled()});
            a->setEnabled(false);
        }
        return;
    }
    for (const auto& [action, enabled] : std::as_const(enabledBeforeWork_))
        action->setEnabled(enabled);
    enabledBeforeWork_.clear();
    File1Click();
    Search1Click();
    Clipboard1Click();
}

void TfrmView::reject()
{
    // Close, Esc, the close box and Alt+F4: while work runs they abort it.
    if (Viewer1->busy()) {
        Viewer1->abortWork();
        return;
    }
    QDialog::reject();
}

void TfrmView::closeEvent(QCloseEvent* e)
{
    if (Viewer1->busy()) {
        Viewer1->abortWork();
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

// ---- Menu states -------------------------------------------------------------

void TfrmView::File1Click()
{
    Print1->setEnabled(Viewer1->hasLines());
}

void TfrmView::Search1Click()
{
    const bool lines = Viewer1->hasLines();
    Find1->setEnabled(lines);
    GotoLine1->setEnabled(lines);
    FindNext1->setEnabled(lines && !findDialog().searchText().isEmpty());
}

void TfrmView::Clipboard1Click()
{
    SelectAll1->setEnabled(Viewer1->hasLines());
    Copy1->setEnabled(Viewer1->hasSelection());
}

// ---- File --------------------------------------------------------------------

void TfrmView::showFile(const QString& drivePath)
{
    Viewer1->openFile(drivePath);
    FileToView = drivePath;
    setWindowTitle(QStringLiteral("View File : ") + drivePath);
    Search1Click();
    Clipboard1Click();
}

void TfrmView::Open1Click()
{
    core::OpenRequest request;
    request.caption = QStringLiteral("Open");
    request.filter = QStringLiteral("All Files (*.*)|*.*");
    const int cut = FileToView.lastIndexOf(QLatin1Char('\\'));
    if (cut > 0)
        request.initialFolder = FileToView.left(cut);
    const std::optional<QString> file = core::prompter().openFile(request);
    if (file)
        showFile(*file);
}

bool TfrmView::FilesDropped(const QList<QUrl>& urls)
{
    if (Viewer1->busy())
        return false;
    const QString local = firstLocalFile(urls);
    if (local.isEmpty())
        return false;
    const std::optional<QString> drivePath = plat::toDrivePath(QFile::encodeName(local));
    if (!drivePath) {
        core::ErrorBox(QStringLiteral("The file \"%1\" is not on any drive.").arg(local));
        return false;
    }
    showFile(*drivePath);
    if (isMinimized())
        showNormal();
    else {
        raise();
        activateWindow();
    }
    return true;
}

void TfrmView::dragEnterEvent(QDragEnterEvent* e)
{
    if (!isStringsView() && !Viewer1->busy() && e->mimeData()->hasUrls()
        && !firstLocalFile(e->mimeData()->urls()).isEmpty())
        e->acceptProposedAction();
    else
        e->ignore();
}

void TfrmView::dropEvent(QDropEvent* e)
{
    comp::guardSlot([&] {
        if (!isStringsView() && FilesDropped(e->mimeData()->urls()))
            e->acceptProposedAction();
        else
            e->ignore();
    });
}

// ---- Printing ----------------------------------------------------------------

void TfrmView::PrintSetup1Click()
{
    core::prompter().pageSetup(QStringLiteral("Print setup"), pageSetup_);
}

void TfrmView::Print1Click()
{
    const std::optional<core::PrintChoice> choice =
        core::prompter().choosePrintRange(QStringLiteral("Print"), Viewer1->hasSelection());
    if (!choice)
        return;
    const auto printer = reports::MakePrinterTarget(choice->target, Viewer1->font(), pageSetup_);
    if (!printer->open()) {
        core::ErrorBox(QString::fromLatin1(reports::kPrintErrorMessage));
        return;
    }
    bool failed = false;
    Viewer1->printLines(choice->selectionOnly, [&](const QString& line) {
        failed = !printer->writeLine(line);
        return !failed;
    });
    printer->close();
    if (failed)
        core::ErrorBox(QString::fromLatin1(reports::kPrintErrorMessage));
}

// ---- Clipboard ---------------------------------------------------------------

void TfrmView::Copy1Click()
{
    if (Viewer1->copyToClipboard() == comp::FileViewer::CopyResult::TooLarge)
        core::WarningBox(QStringLiteral("The selection is too large for the clipboard (more than %1 bytes).")
                             .arg(core::FormatGrouped(comp::FileViewer::kMaxCopyBytes)));
}

void TfrmView::SelectAll1Click()
{
    Viewer1->selectAll();
}

// ---- Search ------------------------------------------------------------------

void TfrmView::search(bool global)
{
    TFindDlg& dialog = findDialog();
    const QString text = dialog.searchText();
    if (text.isEmpty())
        return;
    const comp::SearchOutcome outcome = Viewer1->find(text, dialog.backward(), dialog.matchCase(), global);
    if (outcome == comp::SearchOutcome::NotFound)
        core::InfoBox(QStringLiteral("Search string '") + text + QStringLiteral("' not found"));
    Search1Click();
}

void TfrmView::Find1Click()
{
    if (!AskFind(findDialog())) {
        Search1Click();
        return;
    }
    search(findDialog().global());
}

void TfrmView::FindNext1Click()
{
    search(false);
}

void TfrmView::GotoLine1Click()
{
    if (!Viewer1->countLines())
        return;  // aborted
    const qint64 count = Viewer1->lineCount();
    const std::optional<QString> answer = core::prompter().input(
        QStringLiteral("Go to line number"), QStringLiteral("Enter line number (1 to %1)").arg(count), QString());
    if (!answer)
        return;
    if (const std::optional<qint64> line = GoToLineAnswer(*answer, count))
        Viewer1->goToLine(*line - 1);
}

// ---- Options -----------------------------------------------------------------

void TfrmView::HexMode1Click()
{
    const bool hex = HexMode1->isChecked();
    Viewer1->setHexMode(hex);
    (hex ? rbHex : rbAscii)->setChecked(true);
}

void TfrmView::rbAsciiClick()
{
    Viewer1->setHexMode(false);
    HexMode1->setChecked(false);
}

void TfrmView::rbHexClick()
{
    Viewer1->setHexMode(true);
    HexMode1->setChecked(true);
}

void TfrmView::TabExpansion1Click()
{
    Viewer1->setTabExpansion(TabExpansion1->isChecked());
}

void TfrmView::TabSize1Click()
{
    const std::optional<QString> answer = core::prompter().input(
        QStringLiteral("Tab Size"), QStringLiteral("Enter tab size"), QString::number(Viewer1->tabSize()));
    if (!answer)
        return;
    if (const std::optional<int> size = TabSizeAnswer(*answer))
        Viewer1->setTabSize(*size);
}

void TfrmView::Font1Click()
{
    if (const std::optional<QFont> font = core::prompter().chooseFont(QStringLiteral("Font"), Viewer1->font(), true))
        Viewer1->setViewerFont(*font);
}

// ---- Strings -----------------------------------------------------------------

void TfrmView::btStringsClick()
{
    // The runs go into a file of our own in the system's temporary folder,
    // readable by this user only, removed when this function is left in any
    // way.
    QTemporaryFile runs(QDir::tempPath() + QStringLiteral("/strXXXXXX"));
    runs.setAutoRemove(true);
    {
        WaitCursor wait;
        if (!runs.open())
            throw plat::IoError("Cannot create a temporary file in " + QDir::tempPath().toStdString() + ": "
                                + runs.errorString().toStdString());
        if (!core::ExtractTextRuns(FileToView, runs, runs.fileName(), 5, 100))
            return;  // the error box has said why
        if (!runs.flush())
            throw plat::IoError("Cannot write file " + runs.fileName().toStdString());
    }
    TfrmView strings(this);
    strings.setStringsFile(QFile::encodeName(runs.fileName()));
    strings.exec();
}

int ViewFile(QWidget* owner, const QString& drivePath)
{
    return comp::runModal<TfrmView>(owner, [&](TfrmView& w) { w.FileToView = drivePath; });
}

}  // namespace browse
