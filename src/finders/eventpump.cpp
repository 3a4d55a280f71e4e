#include "finders/eventpump.h"

#include <QCoreApplication>

namespace finders {

EventPump::EventPump()
{
    timer_.start();
    clock = [this] { return timer_.elapsed(); };
}

void EventPump::start()
{
    last_ = clock();
    runs_ = 0;
}

void EventPump::pump()
{
    if (observer)
        observer();
    const qint64 now = clock();
    if (now - last_ < kIntervalMs)
        return;
    QCoreApplication::processEvents();
    ++runs_;
    // Measured after the events: a long repaint must not make the next
    // entry run events again at once.
    last_ = clock();
}

}  // namespace finders
