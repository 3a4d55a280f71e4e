#include "finders/frmtempfiles.h"

#include "components/extensionchoice.h"
#include "components/frmselectextension.h"
#include "components/picklist.h"
#include "components/shadowlabel.h"
#include "components/slotguard.h"
#include "core/prompter.h"
#include "core/typelist.h"
#include "finders/templists.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <memory>

namespace finders {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, const char* hint, int y)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(QString::fromLatin1(hint));
    b->setAutoDefault(false);
    b->setGeometry(316, y, 100, 28);
    return b;
}

QLabel* makeNote(QWidget* parent, const char* name, const char* text, int y, int height)
{
    auto* note = new QLabel(QString::fromLatin1(text), parent);
    note->setObjectName(QLatin1String(name));
    note->setWordWrap(true);
    note->setGeometry(12, y, 404, height);
    return note;
}

}  // namespace

TfrmTempFiles::TfrmTempFiles(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmTempFiles"));
    setWindowTitle(QStringLiteral("Temporary file extensions"));
    setFixedSize(428, 420);

    auto* title = new comp::ShadowLabel(QStringLiteral("Temporary File Extensions"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont f = title->font();
    f.setPixelSize(20);
    f.setBold(true);
    title->setFont(f);
    title->setTextColor(QColor(0, 0, 128));
    title->setGeometry(12, 6, 404, 32);

    PickList1 = new comp::PickList(this);
    PickList1->setObjectName(QStringLiteral("PickList1"));
    PickList1->setSortedLines(true);
    PickList1->setTabStop(70);
    PickList1->setToolTip(QStringLiteral("List of temporary file extensions and types"));
    PickList1->setGeometry(12, 42, 292, 256);

    btAdd = makeButton(this, "btAdd", "&Add", "Add a file extension to this list", 42);
    btDelete = makeButton(this, "btDelete", "&Delete", "Delete a file extension", 78);
    btClear = makeButton(this, "btClear", "&Clear all", "Clear all extensions", 114);
    btDefaults = makeButton(this, "btDefaults", "D&efaults", "Inserts some default temporary file extensions", 150);
    btClose = makeButton(this, "btClose", "Close", "Close window", 270);

    makeNote(this, "lblNote1",
             "Some common temporary file extensions are .TMP, .TEMP, .$$$, .OLD and .BAK.  It is your "
             "responsibility to ensure that you have selected the proper extensions for file deletion.",
             306, 52);
    makeNote(this, "lblNote2",
             ".FTS files may deleted if you're really short of space.  They are Windows help file searching "
             "add-ons.  They can be re-generated as needed.",
             360, 52);

    connect(btAdd, &QPushButton::clicked, this, comp::guarded([this] { btAddClick(); }));
    connect(btDelete, &QPushButton::clicked, this, comp::guarded([this] { btDeleteClick(); }));
    connect(btClear, &QPushButton::clicked, this, comp::guarded([this] { btClearClick(); }));
    connect(btDefaults, &QPushButton::clicked, this, comp::guarded([this] { btDefaultsClick(); }));
    // Esc and the close box end here too; every way out stores the list.
    connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmTempFiles::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmTempFiles::FormShow()
{
    PickList1->setLines(ReadTempList(EditorDefaultPatterns()));
    shown_ = true;
}

void TfrmTempFiles::done(int result)
{
    // A window closed before it was ever shown has no list of its own to store.
    if (shown_)
        comp::guardSlot([&] { WriteTempList(PickList1->lines()); });
    QDialog::done(result);
}

void TfrmTempFiles::addLines(const QStringList& lines)
{
    QStringList all = PickList1->lines();
    for (const QString& line : lines)
        if (core::AddUniqueLine(all, line))
            PickList1->addLine(line);
}

void TfrmTempFiles::btAddClick()
{
    std::unique_ptr<comp::TfrmSelectExtension> picker(new comp::TfrmSelectExtension(this));
    if (picker->exec() != QDialog::Accepted)
        return;
    QStringList chosen;
    comp::AddChosenExtensions(chosen, picker->choice());
    addLines(chosen);
}

void TfrmTempFiles::btDeleteClick()
{
    const int n = PickList1->selectedCount();
    if (n > 1
        && core::prompter().confirm(core::ConfirmKind::YesNoCancel,
                                    QStringLiteral("Really delete ") + QString::number(n) + QStringLiteral(" extensions?"))
               != core::Answer::Yes)
        return;
    PickList1->removeSelectedLines();
}

void TfrmTempFiles::btClearClick()
{
    if (core::prompter().confirm(core::ConfirmKind::YesNoCancel, QStringLiteral("Really clear out all extensions?"))
        == core::Answer::Yes)
        PickList1->clear();
}

void TfrmTempFiles::btDefaultsClick()
{
    QStringList entries;
    for (const QString& pattern : EditorResetPatterns())
        entries << core::TypeEntry(pattern);
    addLines(entries);
}

}  // namespace finders
