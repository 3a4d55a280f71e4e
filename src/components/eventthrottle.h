#pragma once
// Lets pending window events run during a long operation, but at most once
// every 20 ms: enough for the window to repaint and for Cancel to be
// pressed, without the events costing more than the work between them.

#include <QCoreApplication>
#include <QElapsedTimer>

namespace comp {

class EventThrottle {
public:
    static constexpr qint64 kIntervalMs = 20;

    explicit EventThrottle(qint64 intervalMs = kIntervalMs) : intervalMs_(intervalMs) { timer_.start(); }

    // Runs pending events when the interval has passed since they last ran
    // (or since the throttle was made).
    void pump()
    {
        if (timer_.elapsed() < intervalMs_)
            return;
        QCoreApplication::processEvents();
        timer_.restart();
        ++runs_;
    }
    int runs() const { return runs_; }

private:
    qint64 intervalMs_;
    QElapsedTimer timer_;
    int runs_ = 0;
};

}  // namespace comp
