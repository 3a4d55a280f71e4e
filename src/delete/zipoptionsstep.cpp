#include "delete/zipoptionsstep.h"

#include "components/slotguard.h"
#include "delete/frmzipoptions.h"
#include "delete/zipsettings.h"

namespace del {

std::optional<FolderZipTarget> showZipOptions(QWidget* owner)
{
    FolderZipTarget target;
    const int result = comp::runModal<TfrmZipOptions>(owner, [&](TfrmZipOptions& w) {
        // The window is gone when runModal returns: take its texts as it closes.
        QObject::connect(&w, &QDialog::finished, &w, [&target, &w](int) {
            comp::guardSlot([&] {
                target.zipFolder = w.ZipFolder;
                target.comment = w.ZipComment;
            });
        });
    });
    if (result != QDialog::Accepted)
        return std::nullopt;
    target.time = QDateTime::currentDateTime();
    return target;
}

std::optional<FolderZipTarget> zipTargetFromSettings()
{
    FolderZipTarget target;
    target.zipFolder = readZipFolderSetting();
    target.comment = readZipCommentSetting();
    target.time = QDateTime::currentDateTime();
    return target;
}

}  // namespace del
