#pragma once
// A file system mounted for one test and unmounted whatever happens; ok()
// is false where the test may not mount (then it skips).

#include <QByteArray>
#include <QFile>
#include <QString>
#include <sys/mount.h>

namespace testing_support {

class Mounted {
public:
    // type nullptr with MS_BIND binds source onto target.
    Mounted(const QString& source, const QString& target, const char* type, unsigned long flags)
        : target_(QFile::encodeName(target))
    {
        ok_ = ::mount(QFile::encodeName(source).constData(), target_.constData(), type, flags, nullptr) == 0;
    }
    ~Mounted()
    {
        if (ok_)
            ::umount2(target_.constData(), MNT_DETACH);
    }
    Mounted(const Mounted&) = delete;
    Mounted& operator=(const Mounted&) = delete;
    bool ok() const { return ok_; }

private:
    QByteArray target_;
    bool ok_ = false;
};

}  // namespace testing_support
