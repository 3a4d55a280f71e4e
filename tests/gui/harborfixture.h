#pragma once
// What the Safe Harbor window tests share: temporary drives and settings, a
// scripted prompter, a fixed table of type names, key trees of the test's
// own in place of the system's, and a way to act on a modal window once it
// shows without ever blocking on it.

#include "core/prompter.h"
#include "core/scriptedprompter.h"
#include "core/settings.h"
#include "harbor/keytrees.h"
#include "platform/filetypes.h"
#include "platform/keytree.h"
#include "support/tempdrives.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace harbortest {

// A key tree that takes its time over every key, so that a build lasts long
// enough to watch the window redraw.
class SlowKeyTree : public plat::MemoryKeyTree {
public:
    explicit SlowKeyTree(int delayMs) : delayMs_(delayMs) {}
    QStringList values(const QString& key) override
    {
        if (delayMs_ > 0)
            QThread::msleep(delayMs_);
        return plat::MemoryKeyTree::values(key);
    }

private:
    int delayMs_;
};

class HarborFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        core::setPrompter(&prompter);
        plat::setFileTypes(&types);
        harbor::setKeyTreeSource({[this] { return makeTree(machine); }, [this] { return makeTree(user); }});
    }
    void TearDown() override
    {
        harbor::resetKeyTreeSource();
        plat::setFileTypes(nullptr);
        core::setPrompter(nullptr);
    }

    // A key of a scanned tree: "\SOFTWARE\<name>" with its values.
    struct Key {
        QString name;
        QStringList values;
    };
    std::unique_ptr<plat::KeyTree> makeTree(const QList<Key>& keys)
    {
        auto tree = std::make_unique<SlowKeyTree>(keyDelayMs);
        tree->add("\\SOFTWARE");
        for (const Key& k : keys)
            tree->add("\\SOFTWARE\\" + k.name, k.values);
        ++treesMade;
        return tree;
    }

    QString foldersFile() const { return drives.programHome() + "/folders.txt"; }
    void writeFoldersFile(const QStringList& lines)
    {
        QFile f(foldersFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const QString& l : lines)
            f.write(l.toUtf8() + "\n");
    }
    QStringList foldersFileLines() const
    {
        QFile f(foldersFile());
        if (!f.open(QIODevice::ReadOnly))
            return {"<missing>"};
        QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    testing_support::TempDrives drives{"CD"};
    core::ScriptedPrompter prompter;
    plat::FakeFileTypes types{{{".sys", "System file"}, {".drv", "Device driver"}, {".bak", "Backup file"}}};
    QList<Key> machine;
    QList<Key> user;
    int keyDelayMs = 0;
    int treesMade = 0;
};

// Runs f on the next modal window of type W as soon as it is the active
// modal window; after timeoutMs the test fails and whatever modal window is
// up is rejected, so a test never hangs on a box.
template <class W>
void onNextModal(std::function<void(W&)> f, int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, f, clock, timeoutMs] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            f(*w);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the expected modal window did not show";
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                d->reject();
        }
    });
    timer->start(10);
}

// Waits (running events) until done() holds or timeoutMs passed.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}

inline void click(QWidget& w, const char* name)
{
    auto* b = w.findChild<QAbstractButton*>(name);
    ASSERT_NE(b, nullptr) << name;
    b->click();
}

}  // namespace harbortest
