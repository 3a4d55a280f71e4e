#include "finders/drivelist.h"

#include "core/settings.h"
#include "platform/fileops.h"

namespace finders {

namespace {

const QString kNewFolders = QStringLiteral("NewFolders");

QString capitalised(const QString& label)
{
    return label.left(1).toUpper() + label.mid(1).toLower();
}

}  // namespace

DriveOffer DriveOfferFor(DriveListOwner owner)
{
    using K = plat::DriveKind;
    switch (owner) {
    case DriveListOwner::WhichDrive:
    case DriveListOwner::StatisticsSpace:
        return {{K::Fixed, K::Network, K::CdRom, K::RamDisk}, false};
    case DriveListOwner::Dup:
    case DriveListOwner::DirHog:
    case DriveListOwner::Clean:
        return {{K::Removable, K::Fixed, K::Network, K::CdRom}, true};
    case DriveListOwner::Mods:
        return {{K::Removable, K::Fixed, K::Network}, true};
    }
    return {};
}

QString DriveEntryText(const plat::Drive& drive, bool upperCase)
{
    const QString letter = upperCase ? QString(drive.letter.toUpper()) : QString(drive.letter.toLower());
    const QString head = letter + QLatin1Char(':');
    switch (drive.kind) {
    case plat::DriveKind::Removable:
        return head;
    case plat::DriveKind::Network:
        // The mount table gives no connection name in a form of its own;
        // the label stands for it. An unnamed one falls back to the fixed form.
        if (!drive.label.isEmpty())
            return head + QLatin1Char(' ') + (upperCase ? drive.label.toUpper() : drive.label.toLower());
        break;
    default:
        break;
    }
    return head + QLatin1Char(' ') + capitalised(drive.label);
}

QList<DriveEntry> DriveEntries(const DriveOffer& offer)
{
    QList<DriveEntry> out;
    for (const plat::Drive& d : plat::drives()) {  // the table is in letter order
        if (offer.offers(d.kind))
            out.append({DriveEntryText(d, offer.upperCase), d.kind});
    }
    return out;
}

QString CurrentDriveEntry(const QList<DriveEntry>& entries)
{
    const QString current = plat::currentFolder();
    if (current.size() < 2 || current[1] != QLatin1Char(':'))
        return QString();
    for (const DriveEntry& e : entries) {
        if (e.text.startsWith(current.left(2), Qt::CaseInsensitive))
            return e.text;
    }
    return QString();
}

DefaultTicks DefaultDriveTicks(const QStringList& lines, const QString& currentEntry)
{
    DefaultTicks t;
    if (lines.isEmpty())
        return t;
    if (!currentEntry.isEmpty()) {
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].compare(currentEntry, Qt::CaseInsensitive) == 0) {
                t.rows << i;
                t.defaultRow = i;
                return t;
            }
        }
    }
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QLatin1Char('c'), Qt::CaseInsensitive)) {
            t.rows << i;
            t.defaultRow = i;
        }
    }
    if (t.defaultRow < 0)
        t.defaultRow = 0;
    return t;
}

QStringList AddedFolders()
{
    return core::SettingsStore::readList(kNewFolders).value_or(QStringList());
}

void WriteAddedFolders(const QStringList& folders)
{
    core::SettingsStore::writeList(kNewFolders, folders);
}

}  // namespace finders
