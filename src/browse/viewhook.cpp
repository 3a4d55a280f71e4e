#include "browse/viewhook.h"

namespace browse {

namespace {

ViewFileHook& hook()
{
    static ViewFileHook h;
    return h;
}

}  // namespace

void setViewFileHook(ViewFileHook h)
{
    hook() = std::move(h);
}

bool canViewFiles()
{
    return bool(hook());
}

bool viewFile(QWidget* owner, const QString& drivePath)
{
    // A copy: the viewer may run the event loop, during which the hook
    // could be replaced.
    const ViewFileHook h = hook();
    if (!h)
        return false;
    h(owner, drivePath);
    return true;
}

}  // namespace browse
