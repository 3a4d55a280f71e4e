#include "app/frmhelp.h"

#include "components/slotguard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace app {

TfrmHelp::TfrmHelp(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Trovik Help"));
    resize(760, 640);

    txtHelp = new QTextBrowser(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    // Pages of the help open here; web and mail links go to the desktop.
    txtHelp->setOpenLinks(true);
    txtHelp->setOpenExternalLinks(true);

    auto makeButton = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btBack = makeButton("btBack", QStringLiteral("&Back"));
    btForward = makeButton("btForward", QStringLiteral("&Forward"));
    btContents = makeButton("btContents", QStringLiteral("C&ontents"));
    btClose = makeButton("btClose", QStringLiteral("&Close"));
    btBack->setEnabled(false);
    btForward->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btBack);
    buttons->addWidget(btForward);
    buttons->addWidget(btContents);
    buttons->addStretch(1);
    buttons->addWidget(btClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(txtHelp, 1);

    connect(txtHelp, &QTextBrowser::backwardAvailable, btBack, &QWidget::setEnabled);
    connect(txtHelp, &QTextBrowser::forwardAvailable, btForward, &QWidget::setEnabled);
    connect(btBack, &QPushButton::clicked, this, comp::guarded([this] { txtHelp->backward(); }));
    connect(btForward, &QPushButton::clicked, this, comp::guarded([this] { txtHelp->forward(); }));
    connect(btContents, &QPushButton::clicked, this, comp::guarded([this] { txtHelp->setSource(home_); }));
    connect(btClose, &QPushButton::clicked, this, &QWidget::close);
}

void TfrmHelp::showPage(const QUrl& url)
{
    home_ = url;
    txtHelp->setSource(url);
    show();
    raise();
    activateWindow();
}

}  // namespace app
