// Disk space by statvfs, asked in a worker thread so that a dead network
// mount costs two seconds once instead of hanging the program.
#include "platform/drives_p.h"
#include "platform/fileops.h"
#include "platform/fileops_p.h"

#include <QByteArray>
#include <QSet>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace plat {

namespace {

constexpr auto kAnswerLimit = std::chrono::seconds(2);

std::atomic<detail::StatvfsFn> g_statvfs{nullptr};

// Mount points whose statvfs has not come back yet. A hung mount gets no
// second thread until the first one returns. Never destroyed: a worker may
// still be blocked when the program ends.
std::mutex& hungMutex()
{
    static auto* m = new std::mutex;
    return *m;
}
QSet<QByteArray>& hungMounts()
{
    static auto* s = new QSet<QByteArray>;
    return *s;
}

struct Probe {
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    bool abandoned = false;  // the caller gave up waiting
    int rc = -1;
    struct statvfs result {};
};

}  // namespace

void detail::setStatvfsForTest(StatvfsFn fn)
{
    g_statvfs = fn;
}

std::optional<DiskSpace> diskSpace(const QString& drivePath)
{
    const auto r = detail::resolve(drivePath);
    if (!r)
        return std::nullopt;
    const QByteArray mount = r->mountPoint;
    {
        std::lock_guard lock(hungMutex());
        if (hungMounts().contains(mount))
            return std::nullopt;
    }
    auto probe = std::make_shared<Probe>();
    detail::StatvfsFn fn = g_statvfs.load();
    if (!fn)
        fn = &::statvfs;
    try {
        std::thread([probe, mount, fn] {
            struct statvfs sv {};
            const int rc = fn(mount.constData(), &sv);
            bool abandoned;
            {
                std::lock_guard lock(probe->m);
                probe->rc = rc;
                probe->result = sv;
                probe->done = true;
                abandoned = probe->abandoned;
            }
            probe->cv.notify_all();
            if (abandoned) {
                std::lock_guard lock(hungMutex());
                hungMounts().remove(mount);
            }
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;  // no thread to ask with: treat as not ready
    }

    std::unique_lock lock(probe->m);
    if (!probe->cv.wait_for(lock, kAnswerLimit, [&] { return probe->done; })) {
        // Marked while holding the probe's lock, so the worker either sees
        // "abandoned" and clears the mark, or has already answered.
        probe->abandoned = true;
        std::lock_guard hung(hungMutex());
        hungMounts().insert(mount);
        return std::nullopt;
    }
    if (probe->rc != 0)
        return std::nullopt;
    const struct statvfs& sv = probe->result;
    const quint64 unit = sv.f_frsize ? sv.f_frsize : sv.f_bsize;
    DiskSpace space;
    space.clusterSize = unit;
    space.freeBytes = quint64(sv.f_bavail) * unit;
    space.totalBytes = quint64(sv.f_blocks) * unit;
    return space;
}

bool driveReady(QChar letter)
{
    return diskSpace(driveRoot(letter)).has_value();
}

}  // namespace plat
