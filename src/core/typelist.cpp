#include "core/typelist.h"

#include "core/helpers.h"
#include "core/settings.h"

namespace core {

QString PatternExtension(const QString& pattern)
{
    const qsizetype dot = pattern.lastIndexOf('.');
    return dot < 0 ? QString() : pattern.mid(dot);
}

QString TypeEntry(const QString& pattern)
{
    return pattern + '\t' + FileTypeName(PatternExtension(pattern));
}

QString TypeEntryPattern(const QString& entry)
{
    const qsizetype tab = entry.indexOf('\t');
    return tab < 0 ? entry : entry.left(tab);
}

QStringList ReadTypeList(const QString& section, const QStringList& defaultPatterns)
{
    const std::optional<QStringList> stored = SettingsStore::readList(section);
    QStringList entries;
    for (const QString& pattern : stored.value_or(defaultPatterns))
        if (!pattern.isEmpty())
            entries << TypeEntry(pattern);
    return entries;
}

void WriteTypeList(const QString& section, const QStringList& entries)
{
    SettingsStore::writeList(section, entries);  // keeps the text before the tab
}

bool AddUniqueLine(QStringList& lines, const QString& line)
{
    if (lines.contains(line, Qt::CaseInsensitive))
        return false;
    lines << line;
    return true;
}

}  // namespace core
