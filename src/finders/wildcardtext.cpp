#include "finders/wildcardtext.h"

#include "core/helpers.h"

namespace finders {

QString WildcardAllText(const QString& pattern)
{
    return pattern == QLatin1String("*.*") ? QStringLiteral("All files") : QString();
}

QString WildcardTypeText(const QString& pattern)
{
    return core::FileTypeName(pattern.mid(1));
}

QString WildcardLabel(const QString& pattern)
{
    return pattern == QLatin1String("*.*") ? WildcardAllText(pattern) : WildcardTypeText(pattern);
}

QStringList WildcardChoices()
{
    QStringList list;
    core::ListRegisteredExtensions(list, true);
    return list;
}

}  // namespace finders
