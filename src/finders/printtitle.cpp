#include "finders/printtitle.h"

namespace finders {

QString DriveListText(const QStringList& tickedEntries)
{
    QString out;
    for (const QString& entry : tickedEntries) {
        if (entry.isEmpty())
            continue;
        out += entry.front();
        out += u' ';
    }
    return out;
}

QString SizeRuleText(SizeRelation relation, int num1, int num2, bool unitKB)
{
    const QString unit = unitKB ? QStringLiteral("KB") : QStringLiteral("bytes");
    const QString first = QString::number(num1) + u' ' + unit;
    switch (relation) {
    case SizeRelation::SmallerOrEqual:
        return QStringLiteral("smaller or equal to ") + first;
    case SizeRelation::Between:
        return QStringLiteral("in between ") + first + QStringLiteral(" and ") + QString::number(num2) + u' ' + unit;
    case SizeRelation::LargerOrEqual:
        break;
    }
    return QStringLiteral("larger or equal to ") + first;
}

QString DupPrintTitle(const DupCriteria& criteria)
{
    return (criteria.duplicateMode ? QStringLiteral("Duplicates ") : QStringLiteral("File Hogs "))
           + SizeRuleText(criteria.relation, criteria.num1, criteria.num2, criteria.unitKB)
           + QStringLiteral(" matching ") + criteria.wildcard + QStringLiteral(" on drive(s) ")
           + DriveListText(criteria.roots);
}

}  // namespace finders
