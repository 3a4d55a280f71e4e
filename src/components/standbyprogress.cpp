#include "components/standbyprogress.h"

namespace comp {

namespace {
StandbyProgress* theProgress = nullptr;
}

StandbyProgress* standbyProgress()
{
    return theProgress;
}

void setStandbyProgress(StandbyProgress* progress)
{
    theProgress = progress;
}

}  // namespace comp
