#include "delete/frmreallydelete.h"

#include "components/eventthrottle.h"
#include "components/namedbutton.h"
#include "components/slotguard.h"
#include "components/standbyprogress.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "core/safeharbor.h"
#include "delete/deletionlog.h"
#include "delete/zipoptionsstep.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace del {

const char* const kAllProtectedMessage =
    "All files selected appear on the Safe Harbor list.  To delete the files anyway, move them off of the Safe "
    "Harbor list onto the DELETION PANEL.";
const char* const kNoFilesMessage =
    "There are no files on the deletion panel.  In order to perform this operation you need to move files from "
    "the NON-DELETE list to the deletion panel.";
const char* const kReallyDeleteQuestion = "Really delete?";
const char* const kTrashQuestion =
    "Note that the recycle bin may be full or that you may have the \"Immediately Remove Files On Delete\" "
    "option turned on in the recycle bin. If either is true, then you will not be able to recover the deleted "
    "files from the recycle bin. \r\rSend to the recycle bin anyway?";
const char* const kNotDeletedMessage = "Files not deleted";
const char* const kTrashFailedMessage = "An error occurred sending files to the recycle bin.  The bin may be full.";
const char* const kReallyAbortQuestion = "Really abort?  Folders may be partially deleted!";
const char* const kZippedMessage = "Files deleted and stored in archive zip files in the folder \"%1\"";

namespace {

using comp::guarded;

QLabel* note(const char* text, const char* name)
{
    auto* l = new QLabel(QString::fromLatin1(text));
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Wrapped to whatever width the page gives, however narrow.
    l->setMinimumWidth(40);
    return l;
}

// The two notes of a page, one below the other, as tall as their lines need
// at the page's width. Where the panel is too small for all their lines they
// scroll, rather than being squeezed into the same few pixels.
class NotesArea : public QScrollArea {
public:
    NotesArea(QWidget* parent, const char* name, QLabel* first, QLabel* second) : QScrollArea(parent)
    {
        setObjectName(QString::fromLatin1(name));
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFocusPolicy(Qt::NoFocus);
        auto* body = new QWidget;
        auto* notes = new QVBoxLayout(body);
        notes->setContentsMargins(0, 0, 0, 0);
        notes->addWidget(first);
        notes->addWidget(second);
        notes->addStretch(1);
        setWidget(body);
        // The page's colour behind the text, as for any label.
        viewport()->setAutoFillBackground(false);
        body->setAutoFillBackground(false);
    }

    QSize sizeHint() const override
    {
        const int w = viewport()->width() > 0 ? viewport()->width() : QScrollArea::sizeHint().width();
        return QSize(QScrollArea::sizeHint().width(), widget()->heightForWidth(w));
    }
    // Room for two lines at least, so that the notes are seen to be there.
    QSize minimumSizeHint() const override { return QSize(80, 2 * fontMetrics().lineSpacing()); }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QScrollArea::resizeEvent(e);
        // The height the notes need follows the width they are given.
        if (e->oldSize().width() != e->size().width())
            updateGeometry();
    }
};

QStringList textsOf(const QListWidget* list)
{
    QStringList out;
    out.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

// The texts of both lists in list order, each exact path once.
QStringList mergedSorted(QStringList a, const QStringList& b)
{
    a.append(b);
    std::sort(a.begin(), a.end(), pathLess);
    a.erase(std::unique(a.begin(), a.end()), a.end());
    return a;
}

void setListTexts(QListWidget* list, const QStringList& texts)
{
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(texts);
    list->setUpdatesEnabled(true);
}

// A file list takes the page's height that its notes leave, never less than
// three lines.
void fillHeight(QListWidget* list)
{
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    list->setMinimumHeight(3 * list->fontMetrics().lineSpacing() + 2 * list->frameWidth());
}

bool hasSelection(const QListWidget* list)
{
    return !list->selectedItems().isEmpty();
}

// The hourglass for the length of a scope.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

TfrmReallyDelete::TfrmReallyDelete(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmReallyDelete"));
    setWindowTitle(QStringLiteral("Clean up the following files"));
    buildControls();
    // The smallest size keeps every control whole; only the notes scroll.
    setMinimumSize(430, 324);
    resize(560, 460);

    tmWarning = new QTimer(this);
    tmWarning->setObjectName(QStringLiteral("tmWarning"));
    tmWarning->setSingleShot(true);
    tmWarning->setInterval(500);

    connect(tmWarning, &QTimer::timeout, this, guarded([this] { ShowWarning(); }));
    connect(lb1, &QListWidget::itemSelectionChanged, this, guarded([this] { updateLeftRight(); }));
    connect(lb2, &QListWidget::itemSelectionChanged, this, guarded([this] { updateLeftRight(); }));
    connect(btToAgainst, &QPushButton::clicked, this, guarded([this] { btToAgainstClick(); }));
    connect(btMoveLeft, &QPushButton::clicked, this, guarded([this] { btMoveLeftClick(); }));
    connect(btReason, &QPushButton::clicked, this, guarded([this] { btReasonClick(); }));
    connect(btDelete, &QPushButton::clicked, this, guarded([this] { DeleteAllClick(); }));
    connect(btRecycle, &QPushButton::clicked, this, guarded([this] { RecycleClick(); }));
    connect(btZip, &QPushButton::clicked, this, guarded([this] { ZipItClick(); }));
    connect(btClose, &QPushButton::clicked, this, guarded([this] { btCloseClick(); }));
    updateLeftRight();
}

TfrmReallyDelete::~TfrmReallyDelete() = default;

void TfrmReallyDelete::buildControls()
{
    auto* top = new QVBoxLayout(this);

    lblDelete = new QLabel(this);
    lblDelete->setObjectName(QStringLiteral("lblDelete"));
    top->addWidget(lblDelete);

    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    top->addWidget(pages, 1);

    pageDelete = new QWidget;
    pageDelete->setObjectName(QStringLiteral("pageDelete"));
    auto* left = new QVBoxLayout(pageDelete);
    lblLeft = new QLabel(pageDelete);
    lblLeft->setObjectName(QStringLiteral("lblLeft"));
    lb1 = new QListWidget(pageDelete);
    lb1->setObjectName(QStringLiteral("lb1"));
    lb1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fillHeight(lb1);
    btToAgainst = comp::namedButton("Move files OFF to safe harbor", "Move selected files off of the deletion list", pageDelete,
                         "btToAgainst");
    left->addWidget(lblLeft);
    left->addWidget(lb1, 1);
    left->addWidget(btToAgainst, 0, Qt::AlignLeft);
    left->addWidget(new NotesArea(
        pageDelete, "pnlDeleteNotes",
        note("These files are not in the registry or in the windows search path therefore it is safer to delete "
             "these files.  However, these files may still belong to working applications therefore they may be "
             "needed for proper operation of other applications.",
             "lblDeleteNote"),
        note("To move these files off of the list of files to be deleted drag the mouse cursor over the file list "
             "to select the desired files then click on the Move button.",
             "lblDeleteHowTo")));
    pages->addTab(pageDelete, QStringLiteral("Files to be deleted"));

    pageHarbor = new QWidget;
    pageHarbor->setObjectName(QStringLiteral("pageHarbor"));
    auto* right = new QVBoxLayout(pageHarbor);
    lblRight = new QLabel(pageHarbor);
    lblRight->setObjectName(QStringLiteral("lblRight"));
    lb2 = new QListWidget(pageHarbor);
    lb2->setObjectName(QStringLiteral("lb2"));
    lb2->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fillHeight(lb2);
    btMoveLeft = comp::namedButton("Move files to the deletion panel", "Move files on to the list of files to be deleted",
                        pageHarbor, "btMoveLeft");
    btReason = comp::namedButton("Reason that file is on this list", "Why the file is on the list of non-deleted files",
                      pageHarbor, "btReason");
    auto* harborButtons = new QHBoxLayout;
    harborButtons->addWidget(btMoveLeft);
    harborButtons->addWidget(btReason);
    harborButtons->addStretch(1);
    right->addWidget(lblRight);
    right->addWidget(lb2, 1);
    right->addLayout(harborButtons);
    right->addWidget(new NotesArea(
        pageHarbor, "pnlHarborNotes",
        note("It is not recommended that you delete these files without uninstalling their associated "
             "applications.  They are either located in the windows system directories or are in the system "
             "registry.  These files will not be deleted.",
             "lblHarborNote"),
        note("To delete these files move them to the deletion panel.  You may select multiple files by dragging "
             "the mouse over the list of files above then clicking on the Move files button.",
             "lblHarborHowTo")));
    pages->addTab(pageHarbor, QStringLiteral("Safe Harbor - Do not delete these files"));

    auto* savings = new QHBoxLayout;
    auto* savingsCaption = new QLabel(QStringLiteral("Potential savings of "), this);
    savingsCaption->setObjectName(QStringLiteral("lblSavingsCaption"));
    lblSavings = new QLabel(this);
    lblSavings->setObjectName(QStringLiteral("lblSavings"));
    savings->addWidget(savingsCaption);
    savings->addWidget(lblSavings);
    savings->addStretch(1);
    top->addLayout(savings);

    // The operation strip; the progress strip takes its place while an
    // operation runs.
    pnlButtons = new QWidget(this);
    pnlButtons->setObjectName(QStringLiteral("pnlButtons"));
    auto* ops = new QHBoxLayout(pnlButtons);
    ops->setContentsMargins(0, 0, 0, 0);
    btZip = comp::namedButton("&Archive files into a zip file", "Compress files into a ZIP file", pnlButtons, "btZip");
    btDelete = comp::namedButton("&Delete all files", "Delete the files shown above permanently.  Cannot be undeleted.",
                      pnlButtons, "btDelete");
    btRecycle = comp::namedButton("&Send to recycle bin", "Send to recycle bin.  Recycle bin can be emptied later.", pnlButtons,
                       "btRecycle");
    ops->addWidget(btZip);
    ops->addWidget(btDelete);
    ops->addWidget(btRecycle);
    top->addWidget(pnlButtons);

    pnlProgress = new QWidget(this);
    pnlProgress->setObjectName(QStringLiteral("pnlProgress"));
    auto* progress = new QVBoxLayout(pnlProgress);
    progress->setContentsMargins(0, 0, 0, 0);
    lblName = new QLabel(pnlProgress);
    lblName->setObjectName(QStringLiteral("lblName"));
    // The label keeps the whole path; a long one does not widen the window,
    // it is clipped on the screen only.
    lblName->setTextFormat(Qt::PlainText);
    lblName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar = new QProgressBar(pnlProgress);
    bar->setObjectName(QStringLiteral("bar"));
    bar->setTextVisible(false);
    Gauge1 = new QProgressBar(pnlProgress);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setTextVisible(false);
    Gauge1->hide();
    progress->addWidget(lblName);
    progress->addWidget(bar);
    progress->addWidget(Gauge1);
    pnlProgress->hide();
    top->addWidget(pnlProgress);

    auto* closeRow = new QHBoxLayout;
    btClose = comp::namedButton("Cancel", "Cancel and close.  May cancel an operation in progress.", this, "btClose");
    closeRow->addStretch(1);
    closeRow->addWidget(btClose);
    top->addLayout(closeRow);
}

void TfrmReallyDelete::setFiles(const QStringList& paths)
{
    lb1->clear();
    lb1->addItems(uniqueSortedPaths(paths));
    updateLeftRight();
}

QStringList TfrmReallyDelete::deletionList() const
{
    return textsOf(lb1);
}

QStringList TfrmReallyDelete::harborList() const
{
    return textsOf(lb2);
}

QString TfrmReallyDelete::savingsText(double bytes)
{
    // Grouped with two decimals in the user's locale, then cut before the
    // locale's decimal separator (which in many locales is not ".").
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    const QString text = locale.toString(bytes, 'f', 2);
    const qsizetype cut = text.lastIndexOf(locale.decimalPoint());
    return cut >= 0 ? text.left(cut) : text;
}

QString TfrmReallyDelete::reasonText(core::SafeHarbor& harbor, const QString& path)
{
    const QString quoted = QStringLiteral("This file \"") + path + QStringLiteral("\"");
    const int reason = harbor.IsInSafeHarbor(path, true);
    if (reason != core::shNone)
        return quoted + QStringLiteral(" is on the Safe Harbor List since the folder that it is stored in is ") +
               core::SafeHarborReasonText(reason);
    return quoted + QStringLiteral(" is on the Safe Harbor List because you moved it here.");
}

void TfrmReallyDelete::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    opener_ = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    if (opener_ == this)
        opener_ = nullptr;
    comp::guardSlot([this] { FormShow(); });
}

void TfrmReallyDelete::FormShow()
{
    AbortRequested = false;
    {
        WaitCursor wait;
        lblSavings->setText(savingsText(PotentialSavings) + QStringLiteral(" bytes"));
        updateDeleteLabel();
        lblName->clear();
        MoveFiles();
    }
    if (lb1->count() == 0)
        tmWarning->start();
    pages->setCurrentIndex(0);
}

void TfrmReallyDelete::MoveFiles()
{
    core::SafeHarbor& harbor = harbor_ ? *harbor_ : core::programSafeHarbor();
    // While the lists are sorted, queued window messages run: nothing may
    // start an operation or move files until the lists are complete.
    sorting_ = true;
    setOperationControlsEnabled(false);
    struct Done {
        TfrmReallyDelete& w;
        ~Done()
        {
            if (comp::StandbyProgress* standby = comp::standbyProgress())
                standby->end();
            w.sorting_ = false;
            w.setOperationControlsEnabled(true);
        }
    } done{*this};

    comp::StandbyProgress* standby = comp::standbyProgress();
    const QStringList files = deletionList();
    if (standby)
        standby->begin(std::max(0, int(files.size()) - 1));
    // Walked from the last entry to the first, as the bar counts them.
    QStringList reversed(files.crbegin(), files.crend());
    comp::EventThrottle events(EventIntervalMs);
    const HarborSplit split = splitBySafeHarbor(reversed, harbor, [standby, &events](int doneCount) {
        if (standby)
            standby->step(doneCount);
        events.pump();
    });
    // Both lists are rebuilt in one go: item by item, a hand-over of tens of
    // thousands of files would cost files x protected files.
    QStringList keep(split.toDelete.crbegin(), split.toDelete.crend());
    setListTexts(lb1, keep);
    setListTexts(lb2, mergedSorted(textsOf(lb2), split.protectedFiles));
}

void TfrmReallyDelete::setOperationControlsEnabled(bool enabled)
{
    btDelete->setEnabled(enabled);
    btRecycle->setEnabled(enabled);
    btZip->setEnabled(enabled);
    updateLeftRight();
}

void TfrmReallyDelete::updateDeleteLabel()
{
    lblDelete->setText(QStringLiteral("Delete - %1, Do NOT delete - %2").arg(lb1->count()).arg(lb2->count()));
}

void TfrmReallyDelete::updateLeftRight()
{
    lblLeft->setText(QStringLiteral("Deletion Panel - files to be deleted: %1").arg(lb1->count()));
    lblRight->setText(QStringLiteral("Safe Harbor - files NOT to be deleted: %1").arg(lb2->count()));
    const bool idle = !busy();
    btMoveLeft->setEnabled(idle && hasSelection(lb2));
    btToAgainst->setEnabled(idle && hasSelection(lb1));
    btReason->setEnabled(btMoveLeft->isEnabled());
    updateDeleteLabel();
}

void TfrmReallyDelete::moveSelected(QListWidget* from, QListWidget* to)
{
    QStringList stay, moving;
    for (int i = 0; i < from->count(); ++i)
        (from->item(i)->isSelected() ? moving : stay).append(from->item(i)->text());
    if (moving.isEmpty())
        return;
    setListTexts(from, stay);
    setListTexts(to, mergedSorted(textsOf(to), moving));
}

void TfrmReallyDelete::btToAgainstClick()
{
    if (busy())
        return;
    moveSelected(lb1, lb2);
    updateLeftRight();
    if (lb1->count() == 0)
        pages->setCurrentIndex(1);
}

void TfrmReallyDelete::btMoveLeftClick()
{
    if (busy())
        return;
    moveSelected(lb2, lb1);
    // Files to delete again: the warning that every file is protected is
    // no longer true.
    if (lb1->count() > 0)
        tmWarning->stop();
    updateLeftRight();
    if (lb2->count() == 0)
        pages->setCurrentIndex(0);
}

void TfrmReallyDelete::btReasonClick()
{
    const QListWidgetItem* item = lb2->currentItem();
    if (!item)
        return;
    core::SafeHarbor& harbor = harbor_ ? *harbor_ : core::programSafeHarbor();
    core::InfoBox(reasonText(harbor, item->text()));
}

void TfrmReallyDelete::ShowWarning()
{
    core::InfoBox(QString::fromLatin1(kAllProtectedMessage));
    pages->setCurrentIndex(1);
}

void TfrmReallyDelete::runOperation(const std::function<bool(const QStringList& files)>& operation)
{
    if (busy())
        return;
    if (lb1->count() == 0) {
        core::InfoBox(QString::fromLatin1(kNoFilesMessage));  // NoFilesToDelete
        return;
    }
    // The all-protected warning must not pop up inside the operation's
    // event processing.
    tmWarning->stop();
    const QStringList files = deletionList();
    bool ran = false;
    {
        running_ = true;
        pnlButtons->hide();
        pnlProgress->show();
        updateLeftRight();
        struct Restore {
            TfrmReallyDelete& w;
            ~Restore()
            {
                w.pnlButtons->show();
                w.pnlProgress->hide();
                w.running_ = false;
                w.updateLeftRight();
            }
        } restore{*this};
        ran = operation(files);
    }
    if (!ran)
        return;
    lb1->clear();
    updateDeleteLabel();
    done(QDialog::Accepted);
}

bool TfrmReallyDelete::runRemove(RemoveMode mode, const QStringList& files)
{
    const bool trash = mode == RemoveMode::Trash;
    const QString question = QString::fromLatin1(trash ? kTrashQuestion : kReallyDeleteQuestion);
    // Permanent deletion cannot be undone: a stray Enter answers No.
    const core::Answer enterAnswers = trash ? core::Answer::Yes : core::Answer::No;
    if (core::prompter().confirmWithDefault(core::ConfirmKind::YesNo, question, enterAnswers) != core::Answer::Yes) {
        core::InfoBox(QString::fromLatin1(kNotDeletedMessage));
        return false;
    }

    BatchResult result;
    {
        WaitCursor wait;
        bar->setRange(0, std::max(0, int(files.size()) - 1));
        bar->setValue(0);
        bar->show();
        btClose->setEnabled(false);
        struct Restore {
            TfrmReallyDelete& w;
            ~Restore()
            {
                w.btClose->setEnabled(true);
                w.bar->hide();
            }
        } restore{*this};

        BatchCallbacks callbacks;
        callbacks.progress = [this](int i, const QString& path) {
            lblName->setText(path);
            bar->setValue(i);
        };
        callbacks.failed = [trash](const QString& path) {
            if (trash)
                core::ErrorBox(QString::fromLatin1(kTrashFailedMessage));
            else
                core::ErrorBox(QStringLiteral("Couldn't delete file - ") + path);
        };
        result = removeFiles(files, mode, callbacks);
    }

    lastResult_ = result;
    record([&result](DeletionLog& log) { return recordBatch(result, log); });
    return true;
}

void TfrmReallyDelete::record(const std::function<bool(DeletionLog&)>& update)
{
    DeletionLog& log = log_ ? *log_ : programLog();
    if (!update(log))
        core::WarningBox(QStringLiteral("The deletion log could not be saved to ") + log.file() +
                         QStringLiteral(": ") + log.lastError());
}

bool TfrmReallyDelete::runZip(const QStringList& files)
{
    // Cancel stops here; the window has stored its folder and comment anyway.
    const std::optional<FolderZipTarget> target = showZipOptions(this);
    if (!target)
        return false;

    ZipOperationSettings settings;
    settings.zipFolder = target->zipFolder;
    settings.tag = ArchiveTag;
    settings.comment = target->comment;
    settings.start = QDateTime::currentDateTime();

    ZipOperationResult result;
    {
        WaitCursor wait;
        bar->setRange(0, std::max(0, int(files.size()) - 1));
        bar->setValue(0);
        bar->show();
        Gauge1->setRange(0, 100);
        Gauge1->setValue(0);
        Gauge1->show();
        // btClose stays enabled: a confirmed Cancel sets AbortRequested,
        // which the operation looks at between files and within a file.
        btClose->setEnabled(true);
        struct Restore {
            TfrmReallyDelete& w;
            ~Restore()
            {
                w.bar->hide();
                w.Gauge1->hide();
            }
        } restore{*this};

        // Events run at most every 20 ms: tens of thousands of small files
        // would otherwise spend more time in the event loop than zipping.
        comp::EventThrottle events(EventIntervalMs);
        ZipOperationCallbacks callbacks;
        callbacks.fileStarted = [this, &events](int i, const QString& path) {
            lblName->setText(path);
            bar->setValue(i);
            Gauge1->setValue(0);
            events.pump();
        };
        callbacks.fileProgress = [this, &events](int percent) {
            Gauge1->setValue(percent);
            events.pump();
        };
        callbacks.error = [](const QString& message) { core::ErrorBox(message); };
        result = zipThenDelete(files, settings, &AbortRequested, callbacks);
    }
    lastZipResult_ = result;
    // An archive that could not be opened: the error was shown and nothing
    // was touched, so the panel stays for another try.
    if (!result.ran)
        return false;

    record([&result](DeletionLog& log) { return recordZipOperation(result, log); });
    if (!AbortRequested && !result.stopped)
        core::InfoBox(QString::fromLatin1(kZippedMessage).arg(settings.zipFolder));
    return true;
}

void TfrmReallyDelete::DeleteAllClick()
{
    runOperation([this](const QStringList& files) { return runRemove(RemoveMode::Delete, files); });
}

void TfrmReallyDelete::RecycleClick()
{
    runOperation([this](const QStringList& files) { return runRemove(RemoveMode::Trash, files); });
}

void TfrmReallyDelete::ZipItClick()
{
    runOperation([this](const QStringList& files) { return runZip(files); });
}

void TfrmReallyDelete::btCloseClick()
{
    if (sorting_)
        return;
    if (running_) {
        // Only an operation that checks AbortRequested leaves btClose enabled.
        if (core::prompter().confirm(core::ConfirmKind::YesNo, QString::fromLatin1(kReallyAbortQuestion)) ==
            core::Answer::Yes)
            AbortRequested = true;
        return;
    }
    done(QDialog::Rejected);
}

void TfrmReallyDelete::reject()
{
    // Esc and the title bar's close go the way of Cancel.
    comp::guardSlot([this] { btCloseClick(); });
}

void TfrmReallyDelete::done(int result)
{
    QDialog::done(result);
    // Without this the keyboard may be left with no window at all once the
    // panel is gone, and Alt+letter does nothing until a click.
    if (opener_ && opener_->isVisible()) {
        opener_->activateWindow();
        if (QWidget* last = opener_->focusWidget())
            last->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void TfrmReallyDelete::closeEvent(QCloseEvent* e)
{
    if (busy()) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

}  // namespace del
