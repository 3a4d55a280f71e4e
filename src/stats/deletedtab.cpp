#include "stats/deletedtab.h"

#include "components/resultgridview.h"
#include "components/shadowlabel.h"
#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "delete/deletetotals.h"
#include "delete/deletionlog.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "reports/csvlisting.h"
#include "reports/listings.h"

#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

namespace stats {

namespace {

using comp::guarded;

const QString kNotAvailable = QStringLiteral("n/a");
const QString kMakerSite = QStringLiteral("www.halvane.example");

// A stored day number (days since 30 December 1899) as a date.
QDate dayNumberDate(qint64 day)
{
    return QDate(1899, 12, 30).addDays(day);
}

// The program folder in drive form, where the save dialogs start.
QString programFolderDrivePath()
{
    const auto drivePath = plat::toDrivePath(QFile::encodeName(plat::programFolderPosix()));
    return drivePath ? *drivePath : QString();
}

core::SaveRequest logSaveRequest(const QString& caption, int filterIndex, const QString& suffix,
                                 const QString& name)
{
    core::SaveRequest r;
    r.caption = caption;
    r.filter = QStringLiteral("Text files|*.txt|CSV files |*.csv|HTML files|*.htm; *.html|All files|*.*");
    r.filterIndex = filterIndex;
    r.defaultSuffix = suffix;
    const QString folder = programFolderDrivePath();
    r.initialName = folder.isEmpty() ? name : core::JoinPath(folder, name);
    return r;
}

QLineEdit* makeField(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    e->setGeometry(geometry);
    return e;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

}  // namespace

DeletedTab::DeletedTab(QWidget* parent) : QWidget(parent), logGrid_(del::DeletionLog::kColumns, 2)
{
    setObjectName(QStringLiteral("tsDeleted"));
    lblDeletedTitle = new comp::ShadowLabel(QStringLiteral("Files processed by Trovik"), this);
    lblDeletedTitle->setObjectName(QStringLiteral("lblDeletedTitle"));
    QFont f = lblDeletedTitle->font();
    f.setPixelSize(20);
    f.setBold(true);
    lblDeletedTitle->setFont(f);
    lblDeletedTitle->setTextColor(QColor(0, 0, 128));
    lblDeletedTitle->setGeometry(12, 6, 500, 32);

    pgDeleted = new QTabWidget(this);
    pgDeleted->setObjectName(QStringLiteral("pgDeleted"));
    auto* cumulative = new QWidget;
    cumulative->setObjectName(QStringLiteral("tsCumulative"));
    auto* details = new QWidget;
    details->setObjectName(QStringLiteral("tsDetails"));
    pgDeleted->addTab(cumulative, QStringLiteral("Cumulative"));
    pgDeleted->addTab(details, QStringLiteral("Details"));
    buildCumulative(cumulative);
    buildDetails(details);
    attachLog();
}

void DeletedTab::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    pgDeleted->setGeometry(8, 44, width() - 16, height() - 52);
    grDelete->setGeometry(6, 6, pgDeleted->width() - 16, pgDeleted->height() - 72);
    btOptions->move(6, grDelete->geometry().bottom() + 8);
}

void DeletedTab::buildCumulative(QWidget* tab)
{
    makeLabel(tab, nullptr, QStringLiteral("Number of files"), QRect(230, 14, 170, 20))->setAlignment(Qt::AlignRight);
    makeLabel(tab, nullptr, QStringLiteral("Space recovered"), QRect(420, 14, 200, 20))->setAlignment(Qt::AlignRight);
    struct Row {
        const char* caption;
        QLineEdit** count;
        const char* countName;
        QLineEdit** size;
        const char* sizeName;
    };
    const Row rows[] = {
        {"Deleted files", &edNdelete, "edNdelete", &edSzDelete, "edSzDelete"},
        {"Zipped files", &edNZip, "edNZip", &edSzZip, "edSzZip"},
        {"Files sent to the recycle bin", &edNWaste, "edNWaste", &edSzWaste, "edSzWaste"},
    };
    int y = 40;
    for (const Row& r : rows) {
        makeLabel(tab, nullptr, QString::fromLatin1(r.caption), QRect(16, y, 210, 24));
        *r.count = makeField(tab, r.countName, QRect(230, y, 170, 24));
        *r.size = makeField(tab, r.sizeName, QRect(420, y, 200, 24));
        y += 52;
    }
    lblSince1 = makeLabel(tab, "lblSince1", QString(), QRect(16, 40 + 24, 210, 18));
    lblZipSince = makeLabel(tab, "lblZipSince", QString(), QRect(16, 92 + 24, 210, 18));
    for (QLabel* since : {lblSince1, lblZipSince}) {
        QFont small = since->font();
        small.setItalic(true);
        since->setFont(small);
    }
    Button1 = new QPushButton(QStringLiteral("Reset these numbers"), tab);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(16, 210, 180, 30);
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
}

void DeletedTab::buildDetails(QWidget* tab)
{
    grDelete = new comp::ResultGridView(tab);
    grDelete->setObjectName(QStringLiteral("grDelete"));
    grDelete->setGrid(&logGrid_);
    grDelete->setSelectionMode(QAbstractItemView::NoSelection);
    for (int c = 1; c < del::DeletionLog::kColumns; ++c) {
        grDelete->setRightAligned(c, true);
        grDelete->setColumnKind(c, comp::ResultGridView::ColumnKind::Number);
    }
    grDelete->setColumnKind(0, comp::ResultGridView::ColumnKind::Date);

    popGridDelete = new QMenu(this);
    popGridDelete->setObjectName(QStringLiteral("popGridDelete"));
    struct Item {
        const char* name;
        const char* caption;
        void (DeletedTab::*slot)();
    };
    const Item items[] = {
        {"Printgrid1", "Print entries", &DeletedTab::Printgrid1Click},
        {"Cleargrid1", "Clear entries", &DeletedTab::Cleargrid1Click},
        {"Saveas1", "Save as comma-delimited (CSV)", &DeletedTab::Saveas1Click},
        {"SaveasawebpageHTML1", "Save as a web page (HTML)", &DeletedTab::SaveasawebpageHTML1Click},
    };
    for (const Item& it : items) {
        QAction* a = popGridDelete->addAction(QString::fromLatin1(it.caption));
        a->setObjectName(QLatin1String(it.name));
        const auto slot = it.slot;
        connect(a, &QAction::triggered, this, guarded([this, slot] { (this->*slot)(); }));
    }
    grDelete->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grDelete, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popGridDelete->popup(grDelete->viewport()->mapToGlobal(at)); });

    btOptions = new QPushButton(QStringLiteral("Options"), tab);
    btOptions->setObjectName(QStringLiteral("btOptions"));
    btOptions->resize(100, 28);
    btOptions->setMenu(popGridDelete);
}

QString DeletedTab::printTitle()
{
    return QStringLiteral("Files processed by Trovik  (") + kMakerSite + QLatin1Char(')');
}

void DeletedTab::attachLog()
{
    del::DeletionLog* log = &del::programLog();
    if (log_ != log) {
        if (log_)
            disconnect(log_, nullptr, this, nullptr);
        log_ = log;
        connect(log, &del::DeletionLog::changed, this, [this] { fillLogGrid(); });
    }
    fillLogGrid();
}

void DeletedTab::fillLogGrid()
{
    if (!log_)
        return;
    const int rows = std::max(2, log_->rowCount());
    logGrid_.setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        QStringList cells;
        for (int c = 0; c < del::DeletionLog::kColumns; ++c)
            cells << log_->cell(c, r);
        logGrid_.setRowCells(r, cells);
    }
    logGrid_.setRowsUsed(rows - 1);
    QList<int> widths;
    for (int c = 0; c < del::DeletionLog::kColumns; ++c)
        widths << log_->columnWidth(c);
    grDelete->sync();
    grDelete->setColumnWidths(widths);
}

void DeletedTab::showCumulativeTab()
{
    pgDeleted->setCurrentIndex(0);
}

void DeletedTab::showFilesDeleted()
{
    attachLog();
    const core::CumulativeTotals t = core::CumulativeTotals::load();
    lblSince1->setText(t.delDate >= 0 ? QStringLiteral("Since ") + core::SafeDateToStr(dayNumberDate(t.delDate))
                                      : QString());
    lblZipSince->setText(t.zipDate >= 0 ? QStringLiteral("Since ") + core::SafeDateToStr(dayNumberDate(t.zipDate))
                                        : QString());
    const auto show = [](QLineEdit* count, QLineEdit* size, qint64 n, qint64 bytes) {
        if (n > 0) {
            count->setText(core::FormatGrouped(n) + QStringLiteral(" files"));
            // A size that could not be read is not shown as a negative amount.
            size->setText(bytes >= 0 ? core::FormatGrouped(bytes) + QStringLiteral(" bytes") : kNotAvailable);
        } else {
            count->setText(kNotAvailable);
            size->setText(kNotAvailable);
        }
    };
    show(edNdelete, edSzDelete, t.nDelete, t.sizeDelete);
    show(edNWaste, edSzWaste, t.nWaste, t.sizeWaste);
    show(edNZip, edSzZip, t.nZip, t.sizeZip);
}

void DeletedTab::setAllNotAvailable()
{
    for (QLineEdit* e : {edNdelete, edSzDelete, edNZip, edSzZip, edNWaste, edSzWaste})
        e->setText(kNotAvailable);
}

void DeletedTab::Button1Click()
{
    if (core::prompter().confirm(core::ConfirmKind::YesNo, QStringLiteral("Reset cumulative totals?"))
        != core::Answer::Yes)
        return;
    del::ResetTotals();
    lblSince1->clear();
    lblZipSince->clear();
    setAllNotAvailable();
}

void DeletedTab::Printgrid1Click()
{
    const auto target = core::prompter().choosePrinter(QStringLiteral("Print"));
    if (!target)
        return;
    reports::PrintGridListing(logGrid_, grDelete->columnWidths(), printTitle(), *target);
}

void DeletedTab::Cleargrid1Click()
{
    if (core::prompter().confirm(core::ConfirmKind::YesNo, QStringLiteral("Really clear out deletion log?"))
        != core::Answer::Yes)
        return;
    if (!log_)
        return;
    if (!log_->clear())
        core::ErrorBox(QStringLiteral("The deletion log ") + log_->file() +
                       QStringLiteral(" could not be saved: ") + log_->lastError());
}

void DeletedTab::Saveas1Click()
{
    const auto file = core::prompter().saveFile(
        logSaveRequest(QStringLiteral("Save as Comma-Delimited"), 1, QStringLiteral(".csv"), QStringLiteral("delete.csv")));
    if (!file)
        return;
    QString error;
    if (!reports::SaveGridAsCsv(logGrid_, *file, &error)) {
        core::ErrorBox(QStringLiteral("Cannot write the file ") + *file + QStringLiteral(": ") + error);
        return;
    }
    core::InfoBox(QStringLiteral("CSV file saved as ") + *file);
}

void DeletedTab::SaveasawebpageHTML1Click()
{
    const auto file = core::prompter().saveFile(
        logSaveRequest(QStringLiteral("Save as web page"), 2, QStringLiteral(".htm"), QStringLiteral("delete.htm")));
    if (!file)
        return;
    // The numbers stand right-aligned in their cells, as on screen.
    const reports::WebCellRule rule = [](int, int column, reports::WebCellLook& look) {
        if (column > 0)
            look.align = reports::WebCellLook::Right;
    };
    if (reports::SaveGridAsWebPage(logGrid_, *file, rule))
        core::InfoBox(QStringLiteral("HTML file saved as ") + *file);
}

}  // namespace stats
