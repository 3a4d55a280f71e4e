#include "components/extensionchoice.h"

#include "core/helpers.h"
#include "core/typelist.h"

namespace comp {

QString NormalizeExtensionPattern(const QString& typed)
{
    if (typed == QLatin1String("*.*") || typed == QLatin1String(".*") || typed == QLatin1String("*"))
        return QString();
    if (typed.startsWith(QLatin1String("*.")))
        return typed;
    if (!typed.contains('*') && !typed.contains('.'))
        return typed.isEmpty() ? QString() : "*." + typed;
    if (!typed.contains('*') && typed.startsWith('.'))
        return "*" + typed;
    return typed;
}

ExtensionChoice MakeExtensionChoice(const QStringList& selectedLines, const QString& editText)
{
    ExtensionChoice c;
    if (selectedLines.size() > 1) {
        c.severalChosen = true;
        c.selectedLines = selectedLines;
        return c;
    }
    c.chosenPattern = NormalizeExtensionPattern(editText);
    if (!c.chosenPattern.isEmpty())
        c.chosenTypeName = core::FileTypeName(core::PatternExtension(c.chosenPattern));
    return c;
}

bool AddChosenExtensions(QStringList& lines, const ExtensionChoice& choice)
{
    if (choice.severalChosen) {
        bool added = false;
        for (const QString& line : choice.selectedLines)
            added = core::AddUniqueLine(lines, line) || added;
        return added;
    }
    if (choice.chosenPattern.isEmpty() || choice.chosenPattern == QLatin1String("*.*"))
        return false;
    return core::AddUniqueLine(lines, choice.chosenPattern + '\t' + choice.chosenTypeName);
}

}  // namespace comp
