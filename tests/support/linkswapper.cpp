#include "support/linkswapper.h"

#include <cstdio>
#include <fcntl.h>
#include <sched.h>

namespace testing_support {

namespace {

bool exchange(const QByteArray& a, const QByteArray& b)
{
    return ::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE) == 0;
}

}  // namespace

bool LinkSwapper::supported(const QByteArray& a, const QByteArray& b)
{
    if (!exchange(a, b))
        return false;
    return exchange(a, b);
}

LinkSwapper::LinkSwapper(const QByteArray& a, const QByteArray& b) : a_(a), b_(b)
{
    thread_ = std::thread([this] {
        while (!stop_.load(std::memory_order_relaxed)) {
            if (exchange(a_, b_))
                swaps_.fetch_add(1, std::memory_order_relaxed);
            sched_yield();
        }
    });
}

LinkSwapper::~LinkSwapper()
{
    stop();
}

long LinkSwapper::stop()
{
    if (stopped_)
        return swaps_.load();
    stopped_ = true;
    stop_.store(true);
    thread_.join();
    // An odd number of exchanges leaves the two swapped: put them back.
    if (swaps_.load() % 2 != 0)
        exchange(a_, b_);
    return swaps_.load();
}

}  // namespace testing_support
