#pragma once
// The hourglass over the whole program for one scope (marking or sorting a
// long list), put back on every way out.

#include <QGuiApplication>

namespace comp {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace comp
