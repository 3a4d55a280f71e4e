#include "finders/searchstate.h"

#include "components/slotguard.h"

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>

namespace finders {

SearchState::SearchState(QDialog* window) : QObject(window), window_(window), hints_(new HintSwitch(window))
{
    window->installEventFilter(this);
}

void SearchState::enter()
{
    searching_ = true;
    if (abort_)
        abort_->show();
    for (QWidget* w : hidden_)
        w->hide();
    for (QWidget* w : locked_)
        w->setEnabled(false);
    if (busy_)
        busy_->setCursor(Qt::WaitCursor);
    pump_.start();
}

void SearchState::leave()
{
    searching_ = false;
    if (busy_)
        busy_->unsetCursor();
    if (abort_)
        abort_->hide();
    for (QWidget* w : locked_)
        w->setEnabled(true);
    if (onLeave)
        onLeave();
}

SearchState::Running::Running(SearchState& state) : s_(state)
{
    s_.enter();
}

SearchState::Running::~Running()
{
    comp::guardSlot([this] { s_.leave(); });
}

bool SearchState::eventFilter(QObject* watched, QEvent* event)
{
    // The close box and Alt+F4 arrive as a close event, Esc as a key the
    // dialog would turn into reject(): none may leave a search running.
    // The event type before the window: a window being destroyed still
    // sends events, and comparing with the QPointer would then cast it.
    const QEvent::Type type = event->type();
    if (searching_ && (type == QEvent::Close || type == QEvent::KeyPress) && watched == window_) {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace finders
