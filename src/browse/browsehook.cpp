#include "browse/browsehook.h"

namespace browse {

namespace {

BrowseHook& hook()
{
    static BrowseHook h;
    return h;
}

}  // namespace

void setBrowseHook(BrowseHook h)
{
    hook() = std::move(h);
}

bool canBrowse()
{
    return bool(hook());
}

bool browseFolder(QWidget* owner, const BrowseRequest& request)
{
    // A copy: the browser runs the event loop, during which the hook could
    // be replaced.
    const BrowseHook h = hook();
    if (!h)
        return false;
    h(owner, request);
    return true;
}

}  // namespace browse
