#pragma once
// The searching state of a finder window: while a search runs, the controls
// that could start another one or close the window are disabled, "&Abort"
// stands where the result buttons were, the grid shows the hourglass, and
// the close box, Alt+F4 and Esc are refused. The search's event pump and
// the window's hint switch live here too.

#include "finders/eventpump.h"
#include "finders/hintswitch.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QDialog;

namespace finders {

class SearchState : public QObject {
    Q_OBJECT
public:
    explicit SearchState(QDialog* window);

    bool searching() const { return searching_; }
    EventPump& pump() { return pump_; }
    HintSwitch& hints() { return *hints_; }

    // Shown while a search runs, hidden otherwise.
    void setAbortButton(QWidget* abort) { abort_ = abort; }
    // Disabled while a search runs and enabled again after it.
    void setLocked(const QWidgetList& controls) { locked_ = controls; }
    // Hidden when a search starts; the window shows what it found after it.
    void setHidden(const QWidgetList& controls) { hidden_ = controls; }
    // The widget that shows the hourglass while a search runs.
    void setBusyWidget(QWidget* w) { busy_ = w; }
    // Called when the state is left, however the search ended.
    std::function<void()> onLeave;

    // The state for one scope: entered by the constructor, left by the
    // destructor, also when the search throws.
    class Running {
    public:
        explicit Running(SearchState& state);
        ~Running();
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        SearchState& s_;
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enter();
    void leave();

    QPointer<QDialog> window_;
    EventPump pump_;
    HintSwitch* hints_ = nullptr;
    QPointer<QWidget> abort_;
    QPointer<QWidget> busy_;
    QWidgetList locked_;
    QWidgetList hidden_;
    bool searching_ = false;
};

}  // namespace finders
