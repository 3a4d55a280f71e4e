#include "net/frmabout.h"

#include "components/backgrounds.h"
#include "components/clicklabel.h"
#include "components/look.h"
#include "components/shadowlabel.h"
#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "net/frmversioncheck.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <memory>
#include <optional>

namespace net {

namespace {

// A quiet woven pattern for the background panel.
QPixmap aboutTile()
{
    QPixmap tile(32, 32);
    tile.fill(QColor(226, 233, 245));
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(208, 218, 236), 2));
    p.drawLine(0, 16, 16, 0);
    p.drawLine(16, 32, 32, 16);
    p.setPen(QPen(QColor(238, 243, 251), 2));
    p.drawLine(0, 16, 16, 32);
    p.drawLine(16, 0, 32, 16);
    return tile;
}

QLabel* textLine(const QString& name, const QString& text, int pixelSize, bool bold, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    l->setFont(f);
    QPalette pal;
    pal.setColor(QPalette::WindowText, QColor(20, 30, 80));
    comp::setClassicPalette(l, pal);
    return l;
}

}  // namespace

QString TfrmAbout::addressLine1()
{
    return QStringLiteral("Halvane Software, 14 Quay Street");
}

QString TfrmAbout::addressLine2()
{
    return QStringLiteral("Saltmere SM4 9HV");
}

TfrmAbout::TfrmAbout(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("How to contact us"));

    pnlBack = new comp::TileBackground(this);
    pnlBack->setObjectName(QStringLiteral("pnlBack"));
    pnlBack->setTile(aboutTile());

    lblProgram = new comp::ShadowLabel(QStringLiteral("Trovik"), pnlBack);
    lblProgram->setObjectName(QStringLiteral("lblProgram"));
    QFont big(QStringLiteral("DejaVu Serif"));
    big.setPixelSize(44);
    big.setBold(true);
    big.setItalic(true);
    comp::setClassicFont(lblProgram, big);
    lblProgram->setTextColor(QColor(30, 60, 150));
    lblProgram->setShadowColor(QColor(150, 160, 185));
    lblProgram->setShadowOffset(3);
    lblProgram->setAlignment(Qt::AlignCenter);
    lblProgram->setMinimumHeight(62);

    lblVersion = textLine(QStringLiteral("lblVersion"), QStringLiteral("Version 4.1"), 15, true, pnlBack);
    lblMaker = textLine(QStringLiteral("lblMaker"), QStringLiteral("Halvane"), 17, true, pnlBack);
    lblAddress1 = textLine(QStringLiteral("lblAddress1"), addressLine1(), 13, false, pnlBack);
    lblAddress2 = textLine(QStringLiteral("lblAddress2"), addressLine2(), 13, false, pnlBack);

    lblWeb = new comp::ClickLabel(QString(), pnlBack);
    lblWeb->setObjectName(QStringLiteral("lblWeb"));
    lblWeb->setTextFormat(Qt::PlainText);
    lblWeb->setAlignment(Qt::AlignCenter);
    lblWeb->setCursor(Qt::PointingHandCursor);
    QFont linkFont = lblWeb->font();
    linkFont.setPixelSize(14);
    linkFont.setUnderline(true);
    lblWeb->setFont(linkFont);
    QPalette linkPalette;
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 200));
    comp::setClassicPalette(lblWeb, linkPalette);
    connect(lblWeb, &comp::ClickLabel::clicked, this, [this] { comp::guardSlot([&] { btWebClick(); }); });

    btVersion = new QPushButton(QStringLiteral("Version Check"), pnlBack);
    btVersion->setObjectName(QStringLiteral("btVersion"));
    btVersion->setDefault(true);
    btVersion->setAutoDefault(true);
    btRecommend = new QPushButton(QStringLiteral("Recommend to a friend"), pnlBack);
    btRecommend->setObjectName(QStringLiteral("btRecommend"));
    btWeb = new QPushButton(QStringLiteral("Halvane Web Page"), pnlBack);
    btWeb->setObjectName(QStringLiteral("btWeb"));
    btWeb->setToolTip(QStringLiteral("Launch your browser to Halvane Home Page"));
    connect(btVersion, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btVersionClick(); }); });
    connect(btRecommend, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btRecommendClick(); }); });
    connect(btWeb, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btWebClick(); }); });

    auto* lines = new QVBoxLayout(pnlBack);
    lines->setContentsMargins(18, 14, 18, 16);
    lines->setSpacing(4);
    lines->addWidget(lblProgram);
    lines->addWidget(lblVersion);
    lines->addSpacing(10);
    lines->addWidget(lblMaker);
    lines->addWidget(lblAddress1);
    lines->addWidget(lblAddress2);
    lines->addSpacing(6);
    lines->addWidget(lblWeb);
    lines->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btVersion);
    buttons->addWidget(btRecommend);
    buttons->addWidget(btWeb);
    lines->addLayout(buttons);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(pnlBack);

    setSite(Site::configured());
    setFixedSize(440, 290);
    btVersion->setFocus();
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TfrmAbout::setSite(const Site& site)
{
    site_ = site;
    lblWeb->setText(site_.usable() ? site_.webAddress() : QString());
}

void TfrmAbout::btVersionClick()
{
    {
        const std::unique_ptr<TfrmVersionCheck> check(new TfrmVersionCheck(this));
        check->setSite(site_);
        if (versionSetup_)
            versionSetup_(*check);
        check->exec();
    }
    accept();
}

void TfrmAbout::btWebClick()
{
    GotoWebPage();
}

void TfrmAbout::GotoWebPage()
{
    if (!site_.usable() || !OpenWebTarget(site_.webAddress()))
        core::ErrorBox(QStringLiteral("Unable to start web browser. Make sure you have it properly set-up on your system."));
}

void TfrmAbout::btRecommendClick()
{
    const std::optional<QString> address = core::prompter().input(
        QStringLiteral("Enter friend's e-mail address"), QStringLiteral("E-mail address"), QStringLiteral("friend's e-mail"));
    if (!address)
        return;
    // Whether a mail program took the link is not reported.
    OpenWebTarget(RecommendLink(*address, site_.webAddress()));
}

}  // namespace net
