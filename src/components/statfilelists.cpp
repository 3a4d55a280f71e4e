#include "components/statfilelists.h"

#include "core/typelist.h"

namespace comp {

QStringList DefaultStatPatterns()
{
    return {QStringLiteral("*.doc"), QStringLiteral("*.exe"), QStringLiteral("*.dll")};
}

void ReadStatFilesFromDisk(QStringList& list, const QString& section)
{
    list = core::ReadTypeList(section, DefaultStatPatterns());
}

QStringList ReadStatFiles(const QString& section)
{
    QStringList list;
    ReadStatFilesFromDisk(list, section);
    return list;
}

void WriteStatFilesToDisk(const QStringList& list, const QString& section)
{
    core::WriteTypeList(section, list);
}

}  // namespace comp
