#include "harbor/extensionlist.h"

#include "core/typelist.h"
#include "harbor/foldereditor.h"

#include <algorithm>

namespace harbor {

namespace {
const QString kSection = QStringLiteral("NoDelExt");
}

QStringList DefaultProtectedPatterns()
{
    return {QStringLiteral("*.sys"), QStringLiteral("*.drv")};
}

QStringList ReadProtectedExtensionEntries()
{
    return core::ReadTypeList(kSection, DefaultProtectedPatterns());
}

void ExtensionListEditor::load()
{
    lines_ = ReadProtectedExtensionEntries();
    sort();
}

void ExtensionListEditor::save() const
{
    core::WriteTypeList(kSection, lines_);
}

bool ExtensionListEditor::add(const comp::ExtensionChoice& choice)
{
    const bool added = comp::AddChosenExtensions(lines_, choice);
    sort();
    return added;
}

bool ExtensionListEditor::addDefaults()
{
    bool added = false;
    for (const QString& pattern : DefaultProtectedPatterns())
        added = core::AddUniqueLine(lines_, core::TypeEntry(pattern)) || added;
    sort();
    return added;
}

void ExtensionListEditor::remove(const QList<int>& rows)
{
    RemoveRows(lines_, rows);
}

void ExtensionListEditor::sort()
{
    std::stable_sort(lines_.begin(), lines_.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
}

QString DeleteExtensionsQuestion(int count)
{
    return QStringLiteral("Really delete ") + QString::number(count) + QStringLiteral(" extensions?");
}

QString ClearExtensionsQuestion()
{
    return QStringLiteral("Really clear out all extensions?");
}

}  // namespace harbor
