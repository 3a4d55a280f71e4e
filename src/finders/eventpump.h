#pragma once
// The pump hook of a finder window's search: the walk calls it after every
// entry, and it lets pending window events run at most once every 20 ms, so
// that the window repaints and "&Abort" can be pressed without the events
// costing more than the walk.

#include <QElapsedTimer>
#include <functional>

namespace finders {

class EventPump {
public:
    static constexpr int kIntervalMs = 20;

    EventPump();

    // Starts a new search: the first events run 20 ms from now.
    void start();
    // The hook: runs pending events when 20 ms have passed since the last run.
    void pump();
    // How many times pending events ran since start().
    int runs() const { return runs_; }

    // Called on every pump() before anything else, whether events run or
    // not; tests act from here as a user would between two entries.
    std::function<void()> observer;
    // Milliseconds of a monotonic clock; replaceable so that tests need not
    // depend on the machine's speed.
    std::function<qint64()> clock;

private:
    qint64 last_ = 0;
    int runs_ = 0;
    QElapsedTimer timer_;
};

}  // namespace finders
