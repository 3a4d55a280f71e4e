#include "browse/versionstrings.h"

#include "platform/filereader.h"

namespace browse {

namespace {

struct VersionLine {
    const char* label;
    const char* name;
};

constexpr VersionLine kLines[] = {
    {"Company: ", "CompanyName"},
    {"File description: ", "FileDescription"},
    {"File version: ", "FileVersion"},
    {"Internal name: ", "InternalName"},
    {"Copyright: ", "LegalCopyright"},
    {"Trademarks: ", "LegalTrademarks"},
    {"Original filename: ", "OriginalFilename"},
    {"Private build info: ", "PrivateBuild"},
    {"Product name: ", "ProductName"},
    {"Product version: ", "ProductVersion"},
    {"Special build info: ", "SpecialBuild"},
};

QString withoutLeadingBlanks(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

}  // namespace

QStringList VersionStringNames()
{
    QStringList out;
    for (const VersionLine& l : kLines)
        out << QLatin1String(l.name);
    return out;
}

QStringList VersionLabels()
{
    QStringList out;
    for (const VersionLine& l : kLines)
        out << QLatin1String(l.label);
    return out;
}

QStringList VersionLinesOf(const VersionBlock& block, bool useTab)
{
    QStringList lines;
    const auto translation = block.translation();
    if (!translation)
        return lines;
    const QString table = QStringLiteral("\\StringFileInfo\\") + StringTableName(translation->first, translation->second)
                          + QLatin1Char('\\');
    const QString separator = useTab ? QStringLiteral("\t") : QString();
    for (const VersionLine& l : kLines) {
        const QString name = QLatin1String(l.name);
        const QString value = withoutLeadingBlanks(block.text(QString(table + name)).value_or(QString()));
        const QString sep = name == QLatin1String("LegalCopyright") ? separator + separator : separator;
        lines << QLatin1String(l.label) + sep + value;
    }
    return lines;
}

void ReadVersionStrings(const QString& drivePath, QStringList& lines, bool useTab)
{
    lines.clear();
    plat::RegularFileReader reader;
    if (!reader.open(drivePath))
        return;
    FileSource source(reader);
    const auto block = FindVersionBlock(source);
    if (!block)
        return;
    lines = VersionLinesOf(VersionBlock(*block), useTab);
}

}  // namespace browse
