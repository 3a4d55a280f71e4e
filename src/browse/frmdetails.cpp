#include "browse/frmdetails.h"

#include "browse/fileicon.h"
#include "browse/viewhook.h"
#include "components/namedbutton.h"
#include "components/slotguard.h"
#include "core/prompter.h"
#include "platform/desktop.h"
#include "reports/listings.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace browse {

namespace {

template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QLabel* valueLabel(QWidget* parent, const char* name)
{
    auto* l = named(new QLabel(parent), name);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

}  // namespace

TfrmDetails::TfrmDetails(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmDetails"));
    setWindowTitle(QStringLiteral("File Details"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Image1 = named(new QLabel(this), "Image1");
    Image1->setFixedSize(40, 40);
    Image1->setAlignment(Qt::AlignCenter);
    lblFileName = named(new QLineEdit(this), "lblFileName");
    lblFileName->setReadOnly(true);
    lblFileName->setFrame(false);
    lblFileName->setFocusPolicy(Qt::ClickFocus);
    // Blends into the window like a label, yet a long path can be scrolled
    // and copied.
    lblFileName->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    lblFileType = valueLabel(this, "lblFileType");
    lblSizeBytes = valueLabel(this, "lblSizeBytes");
    lblSizeK = valueLabel(this, "lblSizeK");
    lblCreate = valueLabel(this, "lblCreate");
    lblModify = valueLabel(this, "lblModify");
    lblAccess = valueLabel(this, "lblAccess");
    lblAttributes = valueLabel(this, "lblAttributes");

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);
    grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    const std::pair<const char*, QWidget*> rows[] = {
        {"Name of file:", lblFileName}, {"Type of file:", lblFileType},   {"Size:", lblSizeBytes},
        {nullptr, lblSizeK},            {"Creation date:", lblCreate},    {"Modification date:", lblModify},
        {"Access date:", lblAccess},    {"Attributes:", lblAttributes},
    };
    int row = 0;
    for (const auto& [caption, value] : rows) {
        if (caption)
            grid->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 1);
        grid->addWidget(value, row, 2);
        ++row;
    }
    grid->setColumnStretch(2, 1);

    Memo1 = named(new QPlainTextEdit(this), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The values line up after the longest label.
    Memo1->setTabStopDistance(QFontMetrics(Memo1->font()).horizontalAdvance(QStringLiteral("Private build info:  ")));
    Memo1->setFixedHeight(QFontMetrics(Memo1->font()).lineSpacing() * 11 + 12);

    btLaunch = comp::namedButton("&Open", "Run/launch associated application", this, "btLaunch");
    btView = comp::namedButton("&View", "View file", this, "btView");
    btPrint = comp::namedButton("Print", "Print file details", this, "btPrint");
    btClose = comp::namedButton("Close", "", this, "btClose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {btLaunch, btView, btPrint, btClose}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    btClose->setDefault(true);

    lb = named(new QListWidget(this), "lb");
    lb->hide();

    auto* main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addWidget(Memo1);
    // The buttons stay 10 pixels below whatever is above them.
    main->addSpacing(10 - main->spacing());
    main->addLayout(buttons);
    // A fixed-size dialog: it takes the size its contents ask for, and
    // shrinks when the version lines are hidden.
    main->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(480 * logicalDpiX() / 96);
    lblFileName->setMinimumWidth(380 * logicalDpiX() / 96);

    connect(btLaunch, &QPushButton::clicked, this, comp::guarded([this] { btLaunchClick(); }));
    connect(btView, &QPushButton::clicked, this, comp::guarded([this] { btViewClick(); }));
    connect(btPrint, &QPushButton::clicked, this, comp::guarded([this] { btPrintClick(); }));
    connect(btClose, &QPushButton::clicked, this, comp::guarded([this] { reject(); }));
}

void TfrmDetails::showEvent(QShowEvent* e)
{
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
    QDialog::showEvent(e);
    if (!e->spontaneous()) {
        if (const QScreen* s = screen())
            move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
}

void TfrmDetails::FormShow()
{
    btView->setEnabled(canViewFiles());
    details_ = ReadFileDetails(FileToShow);
    if (!details_.found)
        return;  // a file that has gone: nothing is filled in

    QIcon icon;
    FileIconFor(FileToShow, icon);
    Image1->setPixmap(icon.pixmap(32, 32));

    Memo1->setPlainText(details_.versionLines.join(QLatin1Char('\n')));
    Memo1->setVisible(!details_.versionLines.isEmpty());

    lblFileType->setText(details_.typeText);
    lblFileName->setText(FileToShow);
    // A path too long for the field shows its end: the file's own name.
    lblFileName->setCursorPosition(int(FileToShow.size()));
    lblFileName->setToolTip(FileToShow);
    lblSizeBytes->setText(details_.sizeText);
    lblSizeK->setText(details_.clusterText);
    lblCreate->setText(details_.createText);
    lblModify->setText(details_.modifyText);
    lblAccess->setText(details_.accessText);
    lblAttributes->setText(details_.attributesText);
    // Take the new size now, so the window is centred at the size it shows.
    layout()->activate();
}

void TfrmDetails::btLaunchClick()
{
    if (!plat::openWithDesktop(FileToShow))
        core::ErrorBox(QStringLiteral("Couldn't open ") + FileToShow);
}

void TfrmDetails::btViewClick()
{
    viewFile(this, FileToShow);
}

void TfrmDetails::btPrintClick()
{
    const auto target = core::prompter().choosePrinter(QStringLiteral("Print"));
    if (!target)
        return;
    // The lines as the window shows them, so a file that has gone since
    // prints what is on the screen.
    FileDetails shown = details_;
    shown.path = FileToShow;
    lb->clear();
    lb->addItems(DetailsPrintLines(shown));
    QStringList lines;
    for (int i = 0; i < lb->count(); ++i)
        lines << lb->item(i)->text();
    reports::PrintListListing(lines, DetailsPrintTitle(FileToShow), *target);
}

}  // namespace browse
