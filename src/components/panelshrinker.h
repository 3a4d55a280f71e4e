#pragma once
// "Shrink top panel" / "Restore top panel" of the result windows: the panel
// folds to no height, so the grid below fills the window, and comes back at
// the height it had when the window was first shown, whatever the window's
// size did meanwhile. The two menu items swap their enabled states.

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace comp {

class PanelShrinker : public QObject {
    Q_OBJECT
public:
    explicit PanelShrinker(QWidget* panel, QObject* parent = nullptr);

    // The items to enable and disable; either may be null.
    void setActions(QAction* shrink, QAction* restore);
    // Notes the panel's height the first time (when the window is shown).
    void remember();
    void shrink();
    void restore();

    bool shrunk() const { return shrunk_; }
    int savedHeight() const { return saved_; }

private:
    void updateActions();

    QPointer<QWidget> panel_;
    QPointer<QAction> shrinkAction_;
    QPointer<QAction> restoreAction_;
    int saved_ = -1;
    bool shrunk_ = false;
};

}  // namespace comp
