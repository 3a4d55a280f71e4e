#include "app/frmmain.h"

#include "components/drivepictures.h"

#include "app/artwork.h"
#include "app/frmhelp.h"
#include "app/frmsplash.h"
#include "components/backgrounds.h"
#include "components/bevelbutton.h"
#include "components/clicklabel.h"
#include "components/look.h"
#include "components/shadowlabel.h"
#include "components/slotguard.h"
#include "core/helpers.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

namespace app {

namespace {

TfrmMain* theMain = nullptr;

// Where the launcher buttons sit: two columns of five functions, and the
// About, Help and Exit buttons under the emblem at the right.
constexpr int kTop = 82, kRowStep = 60, kPanelHeight = 54;

QRect panelGeometry(int index)
{
    if (index < 5)
        return QRect(14, kTop + index * kRowStep, 200, kPanelHeight);
    if (index < 10)
        return QRect(222, kTop + (index - 5) * kRowStep, 200, kPanelHeight);
    return QRect(432, kTop + (index - 8) * kRowStep, 156, kPanelHeight);
}

QString panelName(const QString& buttonName)
{
    return QStringLiteral("pnl") + buttonName.mid(2);
}

}  // namespace

TfrmMain::TfrmMain(Launcher& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      state_(state)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Trovik Version 4.1 from Halvane"));
    setFixedSize(602, 427);

    // Creation: the program-wide date format gets its four-digit year.
    Launcher::fix2000();

    bmpFolder_ = artwork::folderBitmap();
    // The drive check lists draw this picture beside the user's folders.
    comp::setFolderPicture(bmpFolder_);
    helpDirs_ = Launcher::helpSearchDirs();
    depthProbe_ = [this] {
        const QScreen* s = screen();
        return s ? s->depth() : 32;
    };
    helpOpener_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    buildControls();
    registerAction(QStringLiteral("btHelp"), [](TfrmMain& w) { w.btHelpClick(); });
    registerAction(QStringLiteral("btClose"), [](TfrmMain& w) { w.btCloseClick(); });
    centreOnScreen();
    theMain = this;
}

TfrmMain::~TfrmMain()
{
    if (theMain == this)
        theMain = nullptr;
}

TfrmMain* TfrmMain::instance()
{
    return theMain;
}

void TfrmMain::buildControls()
{
    EsTile1 = new comp::TileBackground(this);
    EsTile1->setObjectName(QStringLiteral("EsTile1"));
    EsTile1->setTile(artwork::backgroundTile());
    EsTile1->setGeometry(rect());

    // Shown instead of the tile on screens of few colours.
    EsGradient1 = new comp::GradientBackground(this);
    EsGradient1->setObjectName(QStringLiteral("EsGradient1"));
    EsGradient1->setColors(QColor(0, 0, 255), QColor(0, 0, 0));
    EsGradient1->setGeometry(rect());
    EsGradient1->hide();

    lblTitle = new comp::ShadowLabel(QStringLiteral("Trovik"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont(QStringLiteral("DejaVu Serif"));
    titleFont.setPixelSize(50);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    comp::setClassicFont(lblTitle, titleFont);
    lblTitle->setTextColor(QColor(255, 214, 40));
    lblTitle->setShadowColor(QColor(0, 0, 0));
    lblTitle->setShadowOffset(4);
    lblTitle->setOutline(true);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setGeometry(0, 4, width(), 72);

    auto* imgEmblem = new QLabel(this);
    imgEmblem->setObjectName(QStringLiteral("imgEmblem"));
    imgEmblem->setPixmap(artwork::emblem(112, 112));
    imgEmblem->setAlignment(Qt::AlignCenter);
    imgEmblem->setGeometry(432, kTop, 156, kRowStep + kPanelHeight);
    imgEmblem->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QList<LauncherFunction>& functions = launcherFunctions();
    for (int i = 0; i < functions.size(); ++i)
        addButtonPanel(functions[i], panelGeometry(i));

    // The maker's name and web address; both open the About window.
    QFont linkFont(QStringLiteral("DejaVu Sans"));
    linkFont.setPixelSize(13);
    linkFont.setBold(true);
    linkFont.setUnderline(true);
    QPalette linkPalette;
    linkPalette.setColor(QPalette::Active, QPalette::WindowText, QColor(255, 240, 150));
    linkPalette.setColor(QPalette::Inactive, QPalette::WindowText, QColor(255, 240, 150));
    linkPalette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(150, 160, 190));
    auto makeLink = [&](const QString& name, const QString& text, const QRect& geometry, Qt::Alignment align) {
        auto* l = new comp::ClickLabel(text, this);
        l->setObjectName(name);
        comp::setClassicFont(l, linkFont);
        comp::setClassicPalette(l, linkPalette);
        l->setAlignment(align | Qt::AlignVCenter);
        l->setGeometry(geometry);
        l->setEnabled(false);
        connect(l, &comp::ClickLabel::clicked, this, [this] { runFunction(QStringLiteral("btReach")); });
        return l;
    };
    lblMaker = makeLink(QStringLiteral("lblMaker"), QStringLiteral("Halvane"), QRect(16, 392, 200, 24), Qt::AlignLeft);
    lblMakerWeb = makeLink(QStringLiteral("lblMakerWeb"), QStringLiteral("www.halvane.example"),
                           QRect(386, 392, 200, 24), Qt::AlignRight);

    // The context menu: the choice of look, stored and applied at once.
    popMain = new QMenu(this);
    popMain->setObjectName(QStringLiteral("popMain"));
    miDesktopLook = popMain->addAction(QStringLiteral("Use the desktop's look"));
    miDesktopLook->setObjectName(QStringLiteral("miDesktopLook"));
    miDesktopLook->setCheckable(true);
    miDesktopLook->setChecked(!comp::classicLook());
    connect(miDesktopLook, &QAction::triggered, this,
            [this](bool on) { comp::guardSlot([&] { chooseLook(on ? comp::Look::Desktop : comp::Look::Classic); }); });

    tmSplash = new QTimer(this);
    tmSplash->setObjectName(QStringLiteral("tmSplash"));
    tmSplash->setSingleShot(true);
    tmSplash->setInterval(kSplashMs);
    connect(tmSplash, &QTimer::timeout, this, &TfrmMain::tmSplashTimer);
}

QFrame* TfrmMain::addButtonPanel(const LauncherFunction& f, const QRect& geometry)
{
    auto* panel = new QFrame(this);
    panel->setObjectName(panelName(f.name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette pp;
    pp.setColor(QPalette::Window, QColor(150, 162, 190));
    pp.setColor(QPalette::Light, QColor(225, 232, 248));
    pp.setColor(QPalette::Dark, QColor(40, 48, 70));
    pp.setColor(QPalette::Mid, QColor(100, 110, 140));
    comp::setClassicPalette(panel, pp);
    panel->setGeometry(geometry);

    auto* b = new comp::BevelButton(f.caption, panel);
    b->setObjectName(f.name);
    b->setGlyph(artwork::glyph(f.name));
    QFont bf(QStringLiteral("DejaVu Sans"));
    bf.setPixelSize(12);
    bf.setBold(true);
    comp::setClassicFont(b, bf);
    b->setGeometry(5, 5, geometry.width() - 10, geometry.height() - 10);
    if (!f.hint.isEmpty())
        b->setToolTip(f.hint);
    b->setEnabled(false);  // until its window is registered
    const QString name = f.name;
    connect(b, &QAbstractButton::clicked, this, [this, name] { runFunction(name); });
    buttons_.insert(f.name, b);
    return panel;
}

void TfrmMain::registerAction(const QString& buttonName, Action action)
{
    actions_.insert(buttonName, std::move(action));
    if (QAbstractButton* b = button(buttonName))
        b->setEnabled(true);
    if (buttonName == QLatin1String("btReach")) {
        lblMaker->setEnabled(true);
        lblMakerWeb->setEnabled(true);
    }
}

QAbstractButton* TfrmMain::button(const QString& buttonName) const
{
    return buttons_.value(buttonName, nullptr);
}

void TfrmMain::runFunction(const QString& buttonName)
{
    comp::guardSlot([&] {
        const auto it = actions_.constFind(buttonName);
        if (it == actions_.constEnd())
            return;
        if (const LauncherFunction* f = findLauncherFunction(buttonName); f && !state_.beforeOpen(*f))
            return;
        const Action action = it.value();  // a copy: the action may register others
        action(*this);
    });
}

void TfrmMain::reloadSafeHarbor()
{
    state_.reloadSafeHarbor();
}

void TfrmMain::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([this] { FormShow(); });
}

void TfrmMain::FormShow()
{
    state_.LastTestedFolder.clear();
    applyColourDepth();
    state_.getDefaultZipPath();
    state_.reloadSafeHarbor();
    applyHints();
    helpFile_ = Launcher::locateHelpFile(helpDirs_);
    if (SplashForm)
        SplashForm->raise();  // it stays above the launcher until the timer closes it
    tmSplash->start();
}

void TfrmMain::applyColourDepth()
{
    const int depth = depthProbe_ ? depthProbe_() : 32;
    if (!Launcher::useGradient(depth))
        return;
    EsGradient1->setGeometry(rect());
    EsGradient1->show();
    EsGradient1->lower();
    EsTile1->hide();
    EsTile1->move(EsTile1->x(), 1000);
}

void TfrmMain::applyHints()
{
    comp::setStyleHintOverride(QStyle::SH_ToolTip_WakeUpDelay, kHintDelayMs);
    comp::setClassicToolTipColors(hintColor(), Qt::black);
    if (!comp::lookApplied())
        comp::applyLook(comp::look());
}

void TfrmMain::chooseLook(comp::Look look)
{
    comp::storeLook(look);
    if (look != comp::look())
        comp::applyLook(look);
}

void TfrmMain::contextMenuEvent(QContextMenuEvent* e)
{
    // Shows the look in force (the command line may have chosen it); only a
    // click on the item stores a choice.
    miDesktopLook->setChecked(!comp::classicLook());
    popMain->popup(e->globalPos());
    e->accept();
}

void TfrmMain::centreOnScreen()
{
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TfrmMain::tmSplashTimer()
{
    if (SplashForm) {
        SplashForm->close();
        delete SplashForm.data();
    }
    tmSplash->stop();
}

void TfrmMain::btHelpClick()
{
    helpFile_ = Launcher::locateHelpFile(helpDirs_);
    if (helpFile_.isEmpty()) {
        core::ErrorBox(QStringLiteral("The help file %1 was not found beside the program or in its installation folder.")
                           .arg(Launcher::helpFileName()));
        return;
    }
    QUrl url = QUrl::fromLocalFile(helpFile_);
    url.setFragment(Launcher::helpContentsAnchor());
    if (helpOpener_ && helpOpener_(url))
        return;
    // No browser on this machine: the help gets a window of our own.
    if (!frmHelp_)
        frmHelp_ = new TfrmHelp(this);
    frmHelp_->showPage(url);
}

void TfrmMain::btCloseClick()
{
    close();
}

void TfrmMain::closeEvent(QCloseEvent* e)
{
    QWidget::closeEvent(e);
    if (e->isAccepted())
        emit closed();
}

}  // namespace app
