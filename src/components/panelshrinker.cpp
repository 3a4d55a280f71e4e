#include "components/panelshrinker.h"

#include "components/slotguard.h"

#include <QAction>
#include <QWidget>

namespace comp {

PanelShrinker::PanelShrinker(QWidget* panel, QObject* parent) : QObject(parent), panel_(panel)
{
}

void PanelShrinker::setActions(QAction* shrinkItem, QAction* restoreItem)
{
    shrinkAction_ = shrinkItem;
    restoreAction_ = restoreItem;
    if (shrinkAction_)
        connect(shrinkAction_, &QAction::triggered, this, [this] { guardSlot([this] { shrink(); }); });
    if (restoreAction_)
        connect(restoreAction_, &QAction::triggered, this, [this] { guardSlot([this] { restore(); }); });
    updateActions();
}

void PanelShrinker::remember()
{
    if (saved_ < 0 && panel_)
        saved_ = panel_->height();
}

void PanelShrinker::shrink()
{
    if (!panel_)
        return;
    remember();
    panel_->setFixedHeight(0);
    shrunk_ = true;
    updateActions();
}

void PanelShrinker::restore()
{
    if (!panel_ || !shrunk_)
        return;
    panel_->setFixedHeight(saved_);
    shrunk_ = false;
    updateActions();
}

void PanelShrinker::updateActions()
{
    if (shrinkAction_)
        shrinkAction_->setEnabled(!shrunk_);
    if (restoreAction_)
        restoreAction_->setEnabled(shrunk_);
}

}  // namespace comp
