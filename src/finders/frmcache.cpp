#include "finders/frmcache.h"

#include "components/namedbutton.h"
#include "components/slotguard.h"
#include "components/waitcursor.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "finders/cacheclear.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

namespace finders {

TfrmCache::TfrmCache(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmCache"));
    setWindowTitle(QStringLiteral("Internet Browser Cache Folders"));
    setModal(true);

    auto* lblTitle = new QLabel(QStringLiteral("Internet Browser Cache Folders"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    lblTitle->setFont(titleFont);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFixedSize(680, 200);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* lblNote = new QLabel(
        QStringLiteral("As you use the internet, temporary files are saved in a disk cache which can grow quite "
                       "large.  To reclaim disk space you can decrease the amount of space that the cache uses (see "
                       "your internet browser documentation) or you can periodically clear it out."),
        this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);

    nDays = new QSpinBox(this);
    nDays->setObjectName(QStringLiteral("nDays"));
    nDays->setRange(kMinCacheDays, kMaxCacheDays);
    nDays->setSingleStep(1);
    auto* age = new QHBoxLayout;
    age->addWidget(new QLabel(QStringLiteral("Clear all files that have not been accessed in "), this));
    age->addWidget(nDays);
    age->addWidget(new QLabel(QStringLiteral("days"), this));
    age->addStretch(1);

    btAdd = comp::namedButton("&Add a folder", "", this, "btAdd");
    btDel = comp::namedButton("&Delete a folder", "", this, "btDel");
    btInit = comp::namedButton("&Initialize", "", this, "btInit");
    btClear = comp::namedButton("&Clear internet cache", "", this, "btClear");
    btClose = comp::namedButton("Close", "Close window", this, "btClose");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btAdd, btDel, btInit, btClear, btClose}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    btClear->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(ListBox1);
    layout->addWidget(lblNote);
    layout->addLayout(age);
    layout->addLayout(buttons);
    // A dialog frame: the window keeps the size its contents give it.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btAdd, &QPushButton::clicked, this, comp::guarded([this] { btAddClick(); }));
    connect(btDel, &QPushButton::clicked, this, comp::guarded([this] { btDelClick(); }));
    connect(btInit, &QPushButton::clicked, this, comp::guarded([this] { btInitClick(); }));
    connect(btClear, &QPushButton::clicked, this, comp::guarded([this] { btClearClick(); }));
    // Esc and the close box reject; every way out stores the list (done()).
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmCache::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    comp::guardSlot([this] {
        ListBox1->clear();
        for (const QString& folder : LoadCacheFolders())
            addFolder(folder);
        nDays->setValue(0);
        open_ = true;
    });
}

void TfrmCache::done(int result)
{
    if (open_) {
        open_ = false;
        comp::guardSlot([this] { SaveCacheFolders(folders()); });
    }
    QDialog::done(result);
}

QStringList TfrmCache::folders() const
{
    QStringList out;
    for (int i = 0; i < ListBox1->count(); ++i)
        out << ListBox1->item(i)->text();
    return out;
}

void TfrmCache::addFolder(const QString& folder)
{
    auto* item = new QListWidgetItem(folder, ListBox1);
    item->setToolTip(folder);
}

void TfrmCache::btAddClick()
{
    const auto folder = core::prompter().pickFolder(QStringLiteral("Select an internet Cache folder"),
                                                    QStringLiteral("C:\\"));
    if (folder && !folder->isEmpty())
        addFolder(*folder);
}

void TfrmCache::btDelClick()
{
    QListWidgetItem* item = ListBox1->currentItem();
    if (!item || !item->isSelected()) {
        core::ErrorBox(QString::fromLatin1(kSelectCacheFolderMessage));
        return;
    }
    // Only the entry goes; the folder on disk is not touched.
    if (core::prompter().confirm(core::ConfirmKind::OkCancel, QLatin1String(kReallyDeleteCacheFolder) + item->text())
        == core::Answer::Ok)
        delete item;
}

void TfrmCache::btInitClick()
{
    QStringList list = folders();
    const qsizetype before = list.size();
    AddBrowserCacheFolders(list);
    for (qsizetype i = before; i < list.size(); ++i)
        addFolder(list[i]);
    if (list.isEmpty())
        core::InfoBox(QString::fromLatin1(kNoCacheFoldersMessage));
}

void TfrmCache::btClearClick()
{
    CleanRequest request;
    {
        const comp::WaitCursor wait;
        CacheFiles found = FindCacheFiles(folders(), nDays->value());
        request.files = std::move(found.paths);
        request.potentialSavings = found.totalBytes;
    }
    if (request.files.isEmpty()) {
        core::ErrorBox(QString::fromLatin1(kNoCacheFilesMessage));
        return;
    }
    request.archiveTag = QString::fromLatin1(kCacheArchiveTag);
    // Whatever the panel returns, the window stays open with its list.
    cleanPanel_(this, request);
}

}  // namespace finders
