#pragma once
// The boundary of every window's slots: whatever the work throws is caught
// here and shown in the error box, so that nothing escapes into the event
// loop.

#include "core/helpers.h"

#include <QString>
#include <QWidget>
#include <exception>
#include <memory>
#include <utility>

namespace comp {

// Runs f; an exception is reported with ErrorBox. True when f returned.
template <class F>
bool guardSlot(F&& f) noexcept
{
    try {
        std::forward<F>(f)();
        return true;
    } catch (const std::exception& e) {
        try {
            core::ErrorBox(QString::fromLocal8Bit(e.what()));
        } catch (...) {
        }
    } catch (...) {
        try {
            core::ErrorBox(QStringLiteral("An unexpected error occurred."));
        } catch (...) {
        }
    }
    return false;
}

// f wrapped for a signal connection: the slot runs inside guardSlot.
template <class F>
auto guarded(F f)
{
    return [f] { guardSlot(f); };
}

// Creates a window of type W with its owner, lets setup fill it, shows it
// modally and destroys it when the modal showing ends, also when an error
// leaves setup or the window. Returns the modal result.
template <class W, class Setup>
int runModal(QWidget* owner, Setup&& setup)
{
    std::unique_ptr<W> window(new W(owner));
    setup(*window);
    return window->exec();
}

template <class W>
int runModal(QWidget* owner)
{
    return runModal<W>(owner, [](W&) {});
}

}  // namespace comp
