#include "delete/zipsettings.h"

#include "core/settings.h"
#include "platform/environment.h"

namespace del {

namespace {

const QString kSection = QStringLiteral("ZipFile");

std::function<void(const QString&)>& observer()
{
    static std::function<void(const QString&)> o;
    return o;
}

}  // namespace

QString defaultZipFolder()
{
    return plat::homeDrivePath();
}

QString readZipFolderSetting()
{
    // An empty value (a hand-edited file, an older version) would put the
    // archives into the drive root: it means the default like an absent one.
    const QString stored = core::SettingsStore::readString(kSection, QStringLiteral("Path"));
    return stored.trimmed().isEmpty() ? defaultZipFolder() : stored;
}

QString readZipCommentSetting()
{
    return core::SettingsStore::readString(kSection, QStringLiteral("Comment"));
}

void writeZipSettings(const QString& zipFolder, const QString& comment)
{
    core::SettingsStore::writeString(kSection, QStringLiteral("Path"), zipFolder);
    core::SettingsStore::writeString(kSection, QStringLiteral("Comment"), comment);
    if (observer())
        observer()(zipFolder.trimmed().isEmpty() ? defaultZipFolder() : zipFolder);
}

void setZipFolderObserver(std::function<void(const QString& zipFolder)> o)
{
    observer() = std::move(o);
}

}  // namespace del
