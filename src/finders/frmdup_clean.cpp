// TfrmDup: the hand-over of the marked files to the deletion panel.
#include "finders/frmdup.h"

#include "components/slotguard.h"
#include "delete/frmreallydelete.h"

namespace finders {

int TfrmDup::runDeletionPanel(QWidget* owner, const CleanRequest& request)
{
    return comp::runModal<del::TfrmReallyDelete>(owner, [&](del::TfrmReallyDelete& panel) {
        panel.setFiles(request.files);
        panel.PotentialSavings = request.potentialSavings;
        panel.ArchiveTag = request.archiveTag;
    });
}

}  // namespace finders
