#include "finders/frmdupcompare.h"

#include "browse/fileicon.h"
#include "browse/viewhook.h"
#include "components/namedbutton.h"
#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "core/prompter.h"
#include "core/safeharbor.h"
#include "finders/frmdup.h"
#include "platform/desktop.h"
#include "platform/drives.h"
#include "reports/listings.h"

#include <QCheckBox>
#include <QCursor>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace finders {

namespace {

TfrmDupCompare* g_programWindow = nullptr;

template <class W>
W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

QString sideName(const char* base, int side)
{
    return QLatin1String(base) + QString::number(side);
}

// A long folder may wrap after any backslash.
QString wrappable(const QString& folder)
{
    QString out = folder;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\u200B"));
    return out;
}

QLabel* valueLabel(QWidget* parent, const QString& name)
{
    auto* l = named(new QLabel(parent), name);
    l->setAutoFillBackground(true);
    l->setMargin(1);
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return l;
}

void setHighlighted(QLabel* l, bool on)
{
    QPalette p = l->palette();
    const QPalette app = l->parentWidget() ? l->parentWidget()->palette() : QPalette();
    p.setColor(QPalette::Window, app.color(on ? QPalette::Highlight : QPalette::Button));
    p.setColor(QPalette::WindowText, app.color(on ? QPalette::HighlightedText : QPalette::WindowText));
    l->setPalette(p);
}

bool isHighlighted(const QLabel* l)
{
    return l->palette().color(QPalette::Window) == l->parentWidget()->palette().color(QPalette::Highlight);
}

QPixmap arrowPicture(Arrow a)
{
    QPixmap pm(24, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 90, 200));
    if (a == Arrow::Equal) {
        p.drawRect(QRectF(5, 4, 14, 3));
        p.drawRect(QRectF(5, 9, 14, 3));
    } else {
        QPainterPath arrow;
        arrow.moveTo(2, 8);
        arrow.lineTo(10, 1);
        arrow.lineTo(10, 5);
        arrow.lineTo(22, 5);
        arrow.lineTo(22, 11);
        arrow.lineTo(10, 11);
        arrow.lineTo(10, 15);
        arrow.closeSubpath();
        if (a == Arrow::Right)
            p.setTransform(QTransform(-1, 0, 0, 1, 24, 0));
        p.drawPath(arrow);
    }
    p.end();
    return pm;
}

void showArrow(QLabel* l, Arrow a)
{
    l->setVisible(a != Arrow::Hidden);
    l->setProperty("arrow", int(a));
    if (a != Arrow::Hidden)
        l->setPixmap(arrowPicture(a));
}

}  // namespace

TfrmDupCompare* programPairWindow()
{
    return g_programWindow;
}

void setProgramPairWindow(TfrmDupCompare* window)
{
    g_programWindow = window;
}

struct TfrmDupCompare::SideControls {
    QGroupBox* group;
    QLabel *image, *folder, *size, *type, *create, *modify, *access, *attrib, *crc, *del;
    QLabel *simple, *sFolder, *sCreate, *sAccess, *sSize, *sSystem;
    QListWidget* list;
    QPushButton *browse, *mark, *launch, *view;
};

TfrmDupCompare::TfrmDupCompare(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDupCompare"));
    setWindowTitle(QStringLiteral("Compare file pairs"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);

    buildButtons();
    pnlDetailed = named(new QWidget(this), QStringLiteral("pnlDetailed"));
    GroupBox1 = buildSide(1);
    GroupBox2 = buildSide(2);
    auto* arrows = new QWidget(pnlDetailed);
    arrows->setObjectName(QStringLiteral("pnlArrows"));
    arrows->setFixedWidth(28);
    for (auto [label, name] : {std::pair{&imCreate, "imCreate"}, {&imAccess, "imAccess"}, {&imModify, "imModify"}}) {
        *label = named(new QLabel(arrows), QLatin1String(name));
        (*label)->setToolTip(QStringLiteral("Arrow points to most recent entry"));
        (*label)->setFixedSize(24, 16);
        (*label)->hide();
    }
    auto* detailed = new QHBoxLayout(pnlDetailed);
    detailed->setContentsMargins(0, 0, 0, 0);
    detailed->setSpacing(2);
    detailed->addWidget(GroupBox1);
    detailed->addWidget(arrows);
    detailed->addWidget(GroupBox2);
    buildSimple();

    tlBox1 = named(new QListWidget(this), QStringLiteral("tlBox1"));
    tlBox2 = named(new QListWidget(this), QStringLiteral("tlBox2"));
    auto* lists = new QHBoxLayout;
    lists->setSpacing(30);
    for (QListWidget* l : {tlBox1, tlBox2}) {
        l->setFixedHeight(l->fontMetrics().lineSpacing() * 11 + 8);
        l->setSelectionMode(QAbstractItemView::NoSelection);
        l->setFocusPolicy(Qt::NoFocus);
        l->hide();
        lists->addWidget(l);
    }

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(3, 3, 3, 3);
    main->setSpacing(3);
    main->addWidget(pnlSimple);
    main->addWidget(pnlDetailed);
    main->addLayout(lists);
    main->addWidget(pnlButtons);
    // The window takes the height of what it shows: the lists come and go.
    main->setSizeConstraint(QLayout::SetFixedSize);
    pnlDetailed->hide();

    // Page Up and Page Down step through the pairs whichever control has
    // the focus.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

TfrmDupCompare::~TfrmDupCompare()
{
    if (g_programWindow == this)
        g_programWindow = nullptr;
}

void TfrmDupCompare::buildButtons()
{
    pnlButtons = named(new QWidget(this), QStringLiteral("pnlButtons"));
    auto* bar = new QVBoxLayout(pnlButtons);
    bar->setContentsMargins(0, 0, 0, 0);
    auto* sides = new QHBoxLayout;
    auto* steps = new QHBoxLayout;
    bar->addLayout(sides);
    bar->addLayout(steps);

    const char* browseHint = "Browse this file and folder";
    const char* markHint = "Mark file for deletion (double click on grid also works)";
    const char* launchHint = "Run/launch associated application";
    btBrowse1 = comp::namedButton("&Browse", browseHint, pnlButtons, "btBrowse1");
    btMark1 = comp::namedButton("&Mark", markHint, pnlButtons, "btMark1");
    btLaunch1 = comp::namedButton("&Open", launchHint, pnlButtons, "btLaunch1");
    btView1 = comp::namedButton("&View", "View file", pnlButtons, "btView1");
    btBrowse2 = comp::namedButton("Bro&wse", browseHint, pnlButtons, "btBrowse2");
    btMark2 = comp::namedButton("M&ark", markHint, pnlButtons, "btMark2");
    btLaunch2 = comp::namedButton("Ope&n", launchHint, pnlButtons, "btLaunch2");
    btView2 = comp::namedButton("Vi&ew", "View file", pnlButtons, "btView2");
    for (QPushButton* b : {btBrowse1, btMark1, btLaunch1, btView1})
        sides->addWidget(b);
    sides->addStretch(1);
    for (QPushButton* b : {btBrowse2, btMark2, btLaunch2, btView2})
        sides->addWidget(b);

    cbDetails = named(new QCheckBox(QStringLiteral("&Details"), pnlButtons), QStringLiteral("cbDetails"));
    cbCRC = named(new QCheckBox(QStringLiteral("Auto compare CRC (size must be the same)"), pnlButtons),
                  QStringLiteral("cbCRC"));
    cbCRC->setToolTip(QStringLiteral("If checked and file sizes are equal, will check CRC value"));
    sbL1 = comp::namedButton("&Prev pair", "Display previous match (PgUp)", pnlButtons, "sbL1");
    sbR1 = comp::namedButton("&Next pair", "Display next match (PgDn)", pnlButtons, "sbR1");
    btCompute = comp::namedButton(
        "&CRC", "If CRC values are different the the contents of each file is different", pnlButtons, "btCompute");
    btPrint = comp::namedButton("Prin&t", "Print file details", pnlButtons, "btPrint");
    btClose = comp::namedButton("Close", "", pnlButtons, "btClose");
    steps->addWidget(cbDetails);
    steps->addWidget(cbCRC);
    steps->addStretch(1);
    for (QPushButton* b : {sbL1, sbR1, btCompute, btPrint, btClose}) {
        b->setAutoDefault(false);
        steps->addWidget(b);
    }
    // The folder browser comes with a later part of the program.
    btBrowse1->setEnabled(false);
    btBrowse2->setEnabled(false);

    auto slot = [this](auto f) { return comp::guarded(f); };
    connect(sbL1, &QPushButton::clicked, this, slot([this] { sbL1Click(); }));
    connect(sbR1, &QPushButton::clicked, this, slot([this] { sbR1Click(); }));
    connect(btCompute, &QPushButton::clicked, this, slot([this] { btComputeClick(); }));
    connect(btPrint, &QPushButton::clicked, this, slot([this] { btPrintClick(); }));
    connect(btClose, &QPushButton::clicked, this, slot([this] { reject(); }));
    connect(cbDetails, &QCheckBox::toggled, this, slot([this] { cbDetailsClick(); }));
    connect(btMark1, &QPushButton::clicked, this, slot([this] { markSide(1); }));
    connect(btMark2, &QPushButton::clicked, this, slot([this] { markSide(2); }));
    connect(btLaunch1, &QPushButton::clicked, this, slot([this] { launchSide(1); }));
    connect(btLaunch2, &QPushButton::clicked, this, slot([this] { launchSide(2); }));
    connect(btView1, &QPushButton::clicked, this, slot([this] { viewSide(1); }));
    connect(btView2, &QPushButton::clicked, this, slot([this] { viewSide(2); }));
}

QGroupBox* TfrmDupCompare::buildSide(int n)
{
    auto* box = named(new QGroupBox(pnlDetailed), sideName("GroupBox", n));
    box->setFixedWidth(340 * logicalDpiX() / 96);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    QLabel* image = named(new QLabel(box), sideName("Image", n));
    image->setFixedSize(32, 32);
    QLabel* del = valueLabel(box, sideName("lblDel", n));
    del->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(image, 0, 0);
    grid->addWidget(del, 0, 1);
    (n == 1 ? Image1 : Image2) = image;
    (n == 1 ? lblDel1 : lblDel2) = del;

    const std::pair<const char*, QLabel**> rows[] = {
        {"Folder:", n == 1 ? &lblFolder1 : &lblFolder2},
        {"Size:", n == 1 ? &lblSizeBytes1 : &lblSizebytes2},
        {"Type:", n == 1 ? &lblType1 : &lblTYpe2},
        {"Creation date:", n == 1 ? &lblCreate1 : &lblCreate2},
        {"Modify date:", n == 1 ? &lblModify1 : &lblModify2},
        {"Access date:", n == 1 ? &lblAccess1 : &lblAccess2},
        {"Attributes:", n == 1 ? &lblAttrib1 : &lblAttrib2},
        {"CRC Value:", n == 1 ? &lblCRC1 : &lblCRC2},
    };
    const char* names[] = {"lblFolder", n == 1 ? "lblSizeBytes" : "lblSizebytes", n == 1 ? "lblType" : "lblTYpe",
                           "lblCreate", "lblModify", "lblAccess", "lblAttrib", "lblCRC"};
    int row = 1;
    for (const auto& [caption, label] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), box), row, 0, Qt::AlignTop);
        *label = valueLabel(box, sideName(names[row - 1], n));
        grid->addWidget(*label, row, 1);
        ++row;
    }
    (n == 1 ? lblFolder1 : lblFolder2)->setWordWrap(true);
    grid->setColumnStretch(1, 1);
    return box;
}

void TfrmDupCompare::buildSimple()
{
    pnlSimple = named(new QWidget(this), QStringLiteral("pnlSimple"));
    auto* columns = new QHBoxLayout(pnlSimple);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->setSpacing(30);
    for (int n : {1, 2}) {
        auto* col = new QVBoxLayout;
        col->setSpacing(4);
        QLabel** labels[] = {n == 1 ? &lblSimple1 : &lblSimple2,   n == 1 ? &lblSFolder1 : &lblSFolder2,
                             n == 1 ? &lblSCreate1 : &lblSCreate2, n == 1 ? &lblSAccess1 : &lblSAccess2,
                             n == 1 ? &lblSSize1 : &lblSSize2,     n == 1 ? &lblSsystem1 : &lblSsystem2};
        const char* names[] = {"lblSimple", "lblSFolder", "lblSCreate", "lblSAccess", "lblSSize", "lblSsystem"};
        for (int i = 0; i < 6; ++i) {
            QLabel* l = named(new QLabel(pnlSimple), sideName(names[i], n));
            l->setFixedWidth(320 * logicalDpiX() / 96);
            *labels[i] = l;
            col->addWidget(l);
        }
        QFont bold = (*labels[0])->font();
        bold.setBold(true);
        (*labels[0])->setFont(bold);
        (*labels[1])->setWordWrap(true);
        col->addStretch(1);
        columns->addLayout(col);
    }
}

TfrmDupCompare::SideControls TfrmDupCompare::side(int n) const
{
    if (n == 1)
        return {GroupBox1,   Image1,     lblFolder1,  lblSizeBytes1, lblType1,    lblCreate1, lblModify1,
                lblAccess1,  lblAttrib1, lblCRC1,     lblDel1,       lblSimple1,  lblSFolder1, lblSCreate1,
                lblSAccess1, lblSSize1,  lblSsystem1, tlBox1,        btBrowse1,   btMark1,    btLaunch1,
                btView1};
    return {GroupBox2,   Image2,     lblFolder2,  lblSizebytes2, lblTYpe2,   lblCreate2, lblModify2,
            lblAccess2,  lblAttrib2, lblCRC2,     lblDel2,       lblSimple2, lblSFolder2, lblSCreate2,
            lblSAccess2, lblSSize2,  lblSsystem2, tlBox2,        btBrowse2,  btMark2,    btLaunch2,
            btView2};
}

void TfrmDupCompare::ShowFor(TfrmDup* dup)
{
    if (!dup)
        return;
    if (isVisible() && dup_ == dup) {
        move(dup->frameGeometry().topLeft());
        raise();
        activateWindow();
        return;
    }
    if (dup_ && dup_ != dup)
        handBack(dup_);
    dup_ = dup;
    // A window of its own, yet a child of the modal duplicate window, which
    // would otherwise block its input.
    setParent(dup, windowFlags());
    pairs_.load(dup->results(), dup->grid->currentRow(), dup->resultCriteria().matchMode);
    showPair();
    move(dup->frameGeometry().topLeft());
    show();
    btCompute->setFocus();
}

TfrmDup* TfrmDupCompare::owner() const
{
    return dup_;
}

void TfrmDupCompare::handBack(TfrmDup* dup)
{
    if (!dup || dup_ != dup)
        return;
    hide();
    setParent(nullptr, windowFlags());
    dup_ = nullptr;
}

void TfrmDupCompare::showPair()
{
    pairs_.fill(core::programSafeHarbor());
    fillSide(1, pairs_.left());
    fillSide(2, pairs_.right());
    btCompute->setEnabled(pairs_.canComputeCrc());
    highlight();
}

void TfrmDupCompare::fillSide(int n, const PairSide& s)
{
    const SideControls c = side(n);
    c.group->setTitle(s.name);
    QIcon icon;
    if (s.found())
        browse::FileIconFor(s.path, icon);
    c.image->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(32, 32));
    c.folder->setText(wrappable(s.folder));
    c.folder->setToolTip(s.folder);
    c.size->setText(s.sizeText);
    c.type->setText(s.typeText);
    c.create->setText(s.createText);
    c.modify->setText(s.modifyText);
    c.access->setText(s.accessText);
    c.attrib->setText(s.attributesText);
    c.crc->setText(s.crcText);
    c.del->setText(s.harborText);
    c.simple->setText(s.name);
    c.sFolder->setText(wrappable(s.folder));
    c.sCreate->setText(s.simpleCreate);
    c.sAccess->setText(s.simpleAccess);
    c.sSize->setText(s.simpleSize);
    c.sSystem->setText(s.harborText);
    c.list->clear();
    for (QString line : s.versionLines)
        c.list->addItem(line.replace(QLatin1Char('\t'), QLatin1Char(' ')));
    c.mark->setEnabled(s.found());
    c.launch->setEnabled(s.found());
    c.view->setEnabled(s.found() && browse::canViewFiles());
}

void TfrmDupCompare::highlight()
{
    layOut(true);
    for (int n : {1, 2}) {
        const SideControls c = side(n);
        const bool on = !c.del->text().isEmpty();
        // An empty label shows no box of its own.
        for (QLabel* l : {c.del, c.sSystem}) {
            setHighlighted(l, on);
            l->setAutoFillBackground(on);
        }
    }
    if (cbCRC->isChecked() && pairs_.autoCrcApplies() && pairs_.left().crcText.isEmpty()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        pairs_.computeCrc();
        QGuiApplication::restoreOverrideCursor();
        lblCRC1->setText(pairs_.left().crcText);
        lblCRC2->setText(pairs_.right().crcText);
    }
    const QList<bool> differs = pairs_.differences();
    const QLabel* pairsOfLabels[][2] = {{lblSizeBytes1, lblSizebytes2}, {lblType1, lblTYpe2},
                                        {lblCreate1, lblCreate2},       {lblModify1, lblModify2},
                                        {lblAccess1, lblAccess2},       {lblAttrib1, lblAttrib2},
                                        {lblCRC1, lblCRC2}};
    for (qsizetype i = 0; i < differs.size(); ++i)
        for (const QLabel* l : pairsOfLabels[i])
            setHighlighted(const_cast<QLabel*>(l), differs[i]);
    showArrow(imCreate, pairs_.createArrow());
    showArrow(imAccess, pairs_.accessArrow());
    showArrow(imModify, pairs_.modifyArrow());
    placeArrows();
    for (QListWidget* list : {tlBox1, tlBox2})
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setBackground(pairs_.versionLineDiffers(i) ? QBrush(Qt::cyan) : QBrush());
}

void TfrmDupCompare::layOut(bool movePointer)
{
    const int before = height();
    const bool lists = pairs_.showVersionLists();
    tlBox1->setVisible(lists);
    tlBox2->setVisible(lists);
    layout()->activate();
    if (!isVisible() || height() == before)
        return;
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    if (frameGeometry().bottom() > area.bottom())
        move(x(), area.top() + std::max(0, (area.height() - frameGeometry().height()) / 2));
    // After a new pair, the pointer follows "&Next pair" to where it went.
    const QPoint middle = sbR1->mapToGlobal(sbR1->rect().center());
    if (movePointer && area.contains(middle))
        QCursor::setPos(middle);
}

void TfrmDupCompare::placeArrows()
{
    // Each arrow beside the line it compares.
    const std::pair<QLabel*, QLabel*> rows[] = {{imCreate, lblCreate1}, {imAccess, lblAccess1}, {imModify, lblModify1}};
    for (const auto& [arrow, beside] : rows) {
        QWidget* column = arrow->parentWidget();
        const int y = beside->mapTo(pnlDetailed, QPoint(0, beside->height() / 2)).y() - column->y();
        arrow->move((column->width() - arrow->width()) / 2, y - arrow->height() / 2);
    }
}

void TfrmDupCompare::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    placeArrows();
}

bool TfrmDupCompare::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_PageDown || k->key() == Qt::Key_PageUp) {
            if (event->type() == QEvent::KeyRelease && !k->isAutoRepeat())
                comp::guardSlot([&] { k->key() == Qt::Key_PageDown ? sbR1Click() : sbL1Click(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmDupCompare::sbR1Click()
{
    if (pairs_.next() == PairList::Step::EndOfList) {
        core::InfoBox(QString::fromLatin1(kEndOfList));
        return;
    }
    showPair();
    if (dup_)
        dup_->grid->setCurrentRow(pairs_.current());
}

void TfrmDupCompare::sbL1Click()
{
    if (pairs_.prev() == PairList::Step::StartOfList) {
        core::InfoBox(QString::fromLatin1(kStartOfList));
        return;
    }
    showPair();
    if (dup_)
        dup_->grid->setCurrentRow(pairs_.current());
}

void TfrmDupCompare::btComputeClick()
{
    if (!pairs_.canComputeCrc())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    pairs_.computeCrc();
    QGuiApplication::restoreOverrideCursor();
    lblCRC1->setText(pairs_.left().crcText);
    lblCRC2->setText(pairs_.right().crcText);
    highlight();
}

void TfrmDupCompare::markSide(int n)
{
    const PairSide& s = n == 1 ? pairs_.left() : pairs_.right();
    if (!dup_ || s.path.isEmpty())
        return;
    // The shown file's row in the duplicate window, found by its real path:
    // the same row number first, as the list was copied from there.
    const comp::ResultGrid& rows = dup_->results();
    const int guess = pairs_.current() + (n - 1);
    int row = rows.path(guess) == s.path ? guess : 0;
    for (int r = 1; row == 0 && r < rows.rowCount(); ++r)
        if (rows.path(r) == s.path)
            row = r;
    if (row > 0)
        dup_->MarkThisFile(row);
}

void TfrmDupCompare::launchSide(int n)
{
    const PairSide& s = n == 1 ? pairs_.left() : pairs_.right();
    if (s.path.isEmpty())
        return;
    if (!plat::openWithDesktop(s.path))
        core::ErrorBox(QStringLiteral("Couldn't open ") + s.path);
}

void TfrmDupCompare::viewSide(int n)
{
    const PairSide& s = n == 1 ? pairs_.left() : pairs_.right();
    if (s.found())
        browse::viewFile(this, s.path);
}

void TfrmDupCompare::cbDetailsClick()
{
    pnlDetailed->setVisible(cbDetails->isChecked());
    pnlSimple->setVisible(!cbDetails->isChecked());
    layOut(false);
    placeArrows();
}

void TfrmDupCompare::setWhite(bool white)
{
    QList<QWidget*> surfaces = {this, pnlSimple, pnlDetailed, GroupBox1, GroupBox2, tlBox1, tlBox2};
    for (QLabel* l : findChildren<QLabel*>())
        if (l->autoFillBackground() && !isHighlighted(l))
            surfaces << l;
    for (QWidget* w : surfaces) {
        QPalette p = w->palette();
        const QColor face = palette().color(QPalette::Button);
        p.setColor(QPalette::Window, white ? QColor(Qt::white) : face);
        // Black on white for the print, whatever the theme's text colour.
        p.setColor(QPalette::WindowText,
                   white ? QColor(Qt::black) : QGuiApplication::palette().color(QPalette::WindowText));
        if (w == tlBox1 || w == tlBox2) {
            p.setColor(QPalette::Base, white ? QColor(Qt::white) : QGuiApplication::palette().color(QPalette::Base));
            p.setColor(QPalette::Text, white ? QColor(Qt::black) : QGuiApplication::palette().color(QPalette::Text));
        }
        w->setPalette(p);
        w->setAutoFillBackground(w != this || white);
    }
}

void TfrmDupCompare::btPrintClick()
{
    const auto target = core::prompter().choosePrinter(QStringLiteral("Print"));
    if (!target)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Trovik file pair"));
    if (!target->pdfFile.isEmpty()) {
        const auto posix = plat::toPosix(target->pdfFile);
        if (!posix) {
            core::ErrorBox(QString::fromLatin1(reports::kPrintErrorMessage));
            return;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QFile::decodeName(*posix));
    } else {
        printer.setPrinterName(target->printerName);
    }
    setWhite(true);
    const QPixmap image = grab();
    setWhite(false);
    highlight();
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer)) {
        core::ErrorBox(QString::fromLatin1(reports::kPrintErrorMessage));
        return;
    }
    // The window's picture across the page's width, as large as it fits.
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), image);
    painter.end();
}

}  // namespace finders
