#include "net/frmversioncheck.h"

#include "components/httpclient.h"
#include "components/shadowlabel.h"
#include "components/slotguard.h"
#include "core/helpers.h"
#include "net/notestext.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QVBoxLayout>

namespace net {

namespace {

const char kExplanation[] =
    "Check to see if you have the latest version and also check for news about Trovik.  For this to work "
    "properly you need to have a live connection to the Internet.";

// The hourglass for the length of a check, restored whatever happens.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { release(); }
    void release()
    {
        if (active_) {
            active_ = false;
            QApplication::restoreOverrideCursor();
        }
    }

private:
    bool active_ = true;
};

}  // namespace

TfrmVersionCheck::TfrmVersionCheck(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), site_(Site::configured())
{
    setObjectName(QStringLiteral("frmVersionCheck"));
    setWindowTitle(QStringLiteral("Version Check"));

    http_ = new comp::HttpClient(this);
    http_->setObjectName(QStringLiteral("http"));
    connect(http_, &comp::HttpClient::opened, this, [this] { setStatus(QStringLiteral("Opening website")); });
    connect(http_, &comp::HttpClient::dataArriving, this,
            [this] { setStatus(QStringLiteral("Transferring version information")); });
    connect(http_, &comp::HttpClient::failed, this,
            [this](const QString& message) { setStatus(QStringLiteral("Error : ") + message); });

    lblTitle = new comp::ShadowLabel(QStringLiteral("Version Check for Trovik"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = font();
    titleFont.setPixelSize(22);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setTextColor(QColor(0, 0, 128));
    lblTitle->setShadowColor(QColor(160, 160, 160));
    lblTitle->setShadowOffset(2);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setMinimumHeight(40);

    richEd = new QTextBrowser(this);
    richEd->setObjectName(QStringLiteral("richEd"));
    richEd->setReadOnly(true);
    richEd->setOpenLinks(false);
    richEd->setOpenExternalLinks(false);
    richEd->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richEd->setLineWrapMode(QTextEdit::WidgetWidth);
    connect(richEd, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { comp::guardSlot([&] { linkClicked(url); }); });

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);
    auto* explanation = new QLabel(QString::fromLatin1(kExplanation), Panel1);
    explanation->setObjectName(QStringLiteral("lblExplanation"));
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignCenter);
    explanation->setTextFormat(Qt::PlainText);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(24, 24, 24, 24);
    panelLayout->addWidget(explanation);

    btCheck = new QPushButton(QStringLiteral("Check version now"), this);
    btCheck->setObjectName(QStringLiteral("btCheck"));
    btCheck->setDefault(true);
    btUpdate = new QPushButton(QStringLiteral("Goto update page"), this);
    btUpdate->setObjectName(QStringLiteral("btUpdate"));
    btUpdate->setEnabled(false);
    btClose = new QPushButton(QStringLiteral("Close"), this);
    btClose->setObjectName(QStringLiteral("btClose"));

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    memVer = new QPlainTextEdit(this);
    memVer->setObjectName(QStringLiteral("memVer"));
    memVer->setReadOnly(true);
    memVer->hide();

    // The explanation panel lies over the notes area until a check starts.
    auto* notesArea = new QGridLayout;
    notesArea->addWidget(richEd, 0, 0);
    notesArea->addWidget(Panel1, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btCheck);
    buttons->addWidget(btUpdate);
    buttons->addStretch();
    buttons->addWidget(btClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 0);
    layout->addWidget(lblTitle);
    layout->addLayout(notesArea, 1);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);

    connect(btCheck, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btCheckClick(); }); });
    connect(btUpdate, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btUpdateClick(); }); });
    connect(btClose, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btCloseClick(); }); });

    setFixedSize(560, 420);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

TfrmVersionCheck::~TfrmVersionCheck() = default;

void TfrmVersionCheck::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    comp::guardSlot([this] { FormShow(); });
}

void TfrmVersionCheck::FormShow()
{
    if (!btUpdate->isEnabled()) {  // no completed check yet
        Panel1->show();
        Panel1->raise();
    }
}

void TfrmVersionCheck::setStatus(const QString& text)
{
    StatusBar1->showMessage(text);
}

void TfrmVersionCheck::btCheckClick()
{
    if (checking_)
        return;
    CheckTheVersion();
}

void TfrmVersionCheck::CheckTheVersion()
{
    Panel1->hide();
    CheckOutcome outcome;
    {
        BusyCursor busy;
        checking_ = true;
        btCheck->setEnabled(false);
        try {
            outcome = RunVersionCheck(*http_, site_);
        } catch (...) {
            checking_ = false;
            btCheck->setEnabled(true);
            throw;
        }
        checking_ = false;
    }
    applyOutcome(outcome);
    if (closeWhenDone_)
        done(QDialog::Rejected);
}

void TfrmVersionCheck::applyOutcome(const CheckOutcome& outcome)
{
    using Kind = CheckOutcome::Kind;
    memVer->setPlainText(outcome.lines.join(QLatin1Char('\n')));
    switch (outcome.kind) {
    case Kind::NoConnection:
        if (!site_.usable())
            setStatus(QStringLiteral("Error : ") + outcome.error);
        btCheck->setEnabled(true);
        core::ErrorBox(NoConnectionText());
        return;
    case Kind::NotesFailed:
        btCheck->setEnabled(true);
        core::ErrorBox(outcome.error);
        return;
    case Kind::Cancelled:
        btCheck->setEnabled(true);
        return;
    case Kind::Current:
    case Kind::OutOfDate:
        break;
    }
    showNotes(outcome.notes);
    if (outcome.kind == Kind::OutOfDate) {
        core::WarningBox(OutOfDateWarning(outcome.version, outcome.date));
        setStatus(OutOfDateStatus(outcome.date));
        lblTitle->setText(OutOfDateTitle());
    } else {
        setStatus(CurrentText(outcome.version));
        core::InfoBox(CurrentText(outcome.version));
    }
    btUpdate->setEnabled(true);
    btCheck->setEnabled(false);
}

void TfrmVersionCheck::showNotes(const QString& text)
{
    richEd->clear();
    QTextCursor cursor(richEd->document());
    QTextCharFormat plain;
    QTextCharFormat link;
    link.setAnchor(true);
    link.setFontUnderline(true);
    link.setForeground(palette().brush(QPalette::Link));
    int at = 0;
    for (const TextLink& l : FindWebLinks(text)) {
        cursor.insertText(text.mid(at, l.start - at), plain);
        link.setAnchorHref(l.url);
        cursor.insertText(l.url, link);
        at = l.start + l.length;
    }
    cursor.insertText(text.mid(at), plain);
    richEd->moveCursor(QTextCursor::Start);
}

void TfrmVersionCheck::linkClicked(const QUrl& url)
{
    // Only addresses the notes marked as links: http(s), handed to the browser.
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        OpenWebTarget(url.toString());
}

void TfrmVersionCheck::btUpdateClick()
{
    if (!site_.usable() || !OpenWebTarget(site_.updatePage().toString()))
        core::ErrorBox(QStringLiteral("Couldn't open web browser for home page"));
}

void TfrmVersionCheck::btCloseClick()
{
    close();
}

void TfrmVersionCheck::reject()
{
    if (checking_) {
        http_->cancel();
        return;
    }
    QDialog::reject();
}

void TfrmVersionCheck::closeEvent(QCloseEvent* e)
{
    if (checking_) {
        // The check is unwound first; the window closes when it has ended.
        closeWhenDone_ = true;
        http_->cancel();
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

}  // namespace net
