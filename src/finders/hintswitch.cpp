#include "finders/hintswitch.h"

#include <QApplication>
#include <QEvent>
#include <QToolTip>

namespace finders {

HintSwitch::HintSwitch(QWidget* window) : QObject(window), window_(window) {}

HintSwitch::~HintSwitch()
{
    if (!shown_ && qApp)
        qApp->removeEventFilter(this);
}

void HintSwitch::setHintsShown(bool on)
{
    if (on == shown_)
        return;
    shown_ = on;
    // Tool-tip events go to the widget under the mouse, any child of the
    // window; only the application sees them all.
    if (on) {
        qApp->removeEventFilter(this);
    } else {
        qApp->installEventFilter(this);
        QToolTip::hideText();
    }
}

bool HintSwitch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && window_) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (w == window_ || window_->isAncestorOf(w)))
            return true;
    }
    return false;
}

}  // namespace finders
