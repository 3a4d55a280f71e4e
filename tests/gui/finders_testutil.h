#pragma once
// Shared pieces of the scope window tests: temporary drives and settings,
// a fixed file-type table, the scripted prompter, and a way to work a modal
// window that the code under test opens with exec().

#include "core/scriptedprompter.h"
#include "platform/fileops.h"
#include "platform/filetypes.h"
#include "support/tempdrives.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace finders_test {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        core::setPrompter(&prompter);
        plat::setFileTypes(&types);
        plat::setCurrentFolder("C:\\");
    }
    void TearDown() override
    {
        plat::setFileTypes(nullptr);
        core::setPrompter(nullptr);
    }
    testing_support::TempDrives drives{"CD"};
    core::ScriptedPrompter prompter;
    plat::FakeFileTypes types{{{".doc", "Word document"},
                               {".exe", "Program"},
                               {".dll", "Library"},
                               {".txt", "Text Document"}}};
};

// Runs work on the next modal window of type W once it is open (the caller
// then starts what opens it). The work must close the window. Should the
// window never come, or the work leave it open, the test fails and the window
// is rejected, so that no test ever waits on it.
template <class W>
void whenModal(std::function<void(W&)> work)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, work, tries = 0]() mutable {
        W* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w) {
            if (++tries >= 500) {
                ADD_FAILURE() << "the modal window never opened";
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        work(*w);
        if (w->isVisible()) {
            ADD_FAILURE() << "the modal window was left open";
            w->reject();
        }
    });
    timer->start();
}

}  // namespace finders_test
