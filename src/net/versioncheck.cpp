#include "net/versioncheck.h"

#include "components/httpclient.h"
#include "core/settings.h"
#include "net/notestext.h"

namespace net {

QString NoConnectionText()
{
    return QStringLiteral("Could not establish connection to internet.");
}

QString CurrentText(const QString& version)
{
    return QStringLiteral("You have the latest version - ") + version;
}

QString OutOfDateWarning(const QString& version, const QString& date)
{
    return QStringLiteral("Your version is out of date, the latest version is ") + version + QStringLiteral(" ")
           + QStringLiteral("last updated on") + QStringLiteral(" ") + date;
}

QString OutOfDateStatus(const QString& date)
{
    return QStringLiteral("Out of date!  Last version was on ") + date;
}

QString OutOfDateTitle()
{
    return QStringLiteral("Out of date!");
}

CheckOutcome RunVersionCheck(comp::HttpClient& client, const Site& site)
{
    using Kind = CheckOutcome::Kind;
    CheckOutcome out;
    if (!site.usable()) {
        out.error = site.problem;
        return out;
    }

    client.setUrl(site.versionFile());
    const comp::HttpResult version = client.get();
    if (!version.ok) {
        out.kind = version.cancelled ? Kind::Cancelled : Kind::NoConnection;
        out.error = version.error;
        return out;
    }
    out.lines = SplitLines(version.body);
    out.version = out.lines.value(0);
    out.date = out.lines.value(1);

    client.setUrl(site.releaseNotes());
    const comp::HttpResult notes = client.get();
    if (!notes.ok) {
        out.kind = notes.cancelled ? Kind::Cancelled : Kind::NotesFailed;
        out.error = notes.error;
        return out;
    }
    out.notes = NotesText(notes.body);
    out.kind = out.version == QLatin1String(kOwnVersion) ? Kind::Current : Kind::OutOfDate;
    core::SettingsStore::writeInt(QStringLiteral("Options"), QStringLiteral("Days"), core::todayDayNumber());
    return out;
}

}  // namespace net
