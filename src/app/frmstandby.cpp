#include "app/frmstandby.h"

#include "components/look.h"
#include "components/shadowlabel.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>

namespace app {

namespace {
TfrmStandBy* theStandBy = nullptr;
}

TfrmStandBy::TfrmStandBy(Launcher& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), state_(state)
{
    setObjectName(QStringLiteral("frmStandBy"));
    setWindowTitle(QStringLiteral("Loading Files"));
    setFixedSize(427, 94);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* text = new comp::ShadowLabel(QStringLiteral("Loading files ... standby"), this);
    text->setObjectName(QStringLiteral("lblStandBy"));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(20);
    f.setBold(true);
    comp::setClassicFont(text, f);
    text->setTextColor(QColor(0, 0, 128));
    text->setShadowColor(QColor(150, 150, 150));
    text->setShadowOffset(2);
    text->setAlignment(Qt::AlignCenter);
    text->setGeometry(8, 8, 411, 36);

    bar = new QProgressBar(this);
    bar->setObjectName(QStringLiteral("bar"));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setGeometry(16, 54, 395, 22);

    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    theStandBy = this;
    comp::setStandbyProgress(this);
}

TfrmStandBy::~TfrmStandBy()
{
    if (theStandBy == this)
        theStandBy = nullptr;
    if (comp::standbyProgress() == this)
        comp::setStandbyProgress(nullptr);
}

void TfrmStandBy::begin(int maximum)
{
    bar->setRange(0, maximum);
    bar->setValue(0);
    show();
}

void TfrmStandBy::step(int value)
{
    bar->setValue(value);
}

void TfrmStandBy::end()
{
    hide();
}

TfrmStandBy* TfrmStandBy::instance()
{
    return theStandBy;
}

void TfrmStandBy::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    state_.LastTestedFolder.clear();
    emit shownOrHidden(true);
}

void TfrmStandBy::hideEvent(QHideEvent* e)
{
    QDialog::hideEvent(e);
    state_.LastTestedFolder.clear();
    emit shownOrHidden(false);
}

}  // namespace app
