#pragma once
// A race harness: a thread that keeps exchanging two paths (a real folder
// and a symbolic link, say) with renameat2(RENAME_EXCHANGE) until stopped,
// so that code under test sees the folder and the link in turns while it
// runs. Tests assert on what was touched, never on timing.

#include <QByteArray>
#include <atomic>
#include <thread>

namespace testing_support {

class LinkSwapper {
public:
    // Starts swapping the two POSIX paths at once. Both must exist on one
    // file system.
    LinkSwapper(const QByteArray& a, const QByteArray& b);
    ~LinkSwapper();  // stops and leaves the two paths as they were at the start
    LinkSwapper(const LinkSwapper&) = delete;
    LinkSwapper& operator=(const LinkSwapper&) = delete;

    // Stops the thread and restores the original order; the number of
    // successful exchanges made.
    long stop();
    long swaps() const { return swaps_.load(); }
    // True when the kernel and file system support the exchange at all.
    static bool supported(const QByteArray& a, const QByteArray& b);

private:
    QByteArray a_, b_;
    std::atomic<bool> stop_{false};
    std::atomic<long> swaps_{0};
    std::thread thread_;
    bool stopped_ = false;
};

}  // namespace testing_support
