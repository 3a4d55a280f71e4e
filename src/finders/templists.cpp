#include "finders/templists.h"

#include "core/typelist.h"
#include "finders/scanscope.h"

namespace finders {

const char* const kTempFilesSection = "TempFiles";

QStringList CleanDefaultPatterns()
{
    return {"*.bak", "*.chk", "*.da0", "*.db$", "*.ftg", "*.fts", "*.gid",
            "*.old", "*.tmp", "*.$$$", "*.---", "*.~mp", "*.~*"};
}

QStringList EditorDefaultPatterns()
{
    return {"*.tmp", "*.fts", "*.bak", "*.$$$"};
}

QStringList EditorResetPatterns()
{
    return {"*.bak", "*.chk", "*.tmp", "*.temp", "*.fts", "*.old", "*.$$$",
            "*.---", "*.~mp", "*.~*", "*.gid", "*.ftg", "*.da0", "*.db$"};
}

QStringList ReadTempList(const QStringList& defaults)
{
    return core::ReadTypeList(QString::fromLatin1(kTempFilesSection), defaults);
}

void WriteTempList(const QStringList& entries)
{
    core::WriteTypeList(QString::fromLatin1(kTempFilesSection), entries);
}

QString TempMatchExtension(const QString& entry)
{
    const QString ext = TypeEntryExtension(entry);
    // "*" would otherwise equal every name without an extension, and "*."
    // every name ending in a dot.
    if (ext.size() < 2 || !ext.startsWith(u'.') || ext.contains(u'*') || ext.contains(u'?'))
        return QString();
    return ext;
}

}  // namespace finders
