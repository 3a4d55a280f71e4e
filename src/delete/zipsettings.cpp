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
    return core::SettingsStore::readString(kSection, QStringLiteral("Path"), defaultZipFolder());
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
        observer()(zipFolder);
}

void setZipFolderObserver(std::function<void(const QString& zipFolder)> o)
{
    observer() = std::move(o);
}

}  // namespace del
