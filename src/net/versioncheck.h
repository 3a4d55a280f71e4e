#pragma once
// The version check without widgets: fetch the version file and the release
// notes from the maker's web site, compare line 1 of the version file with
// the program's own version text as exact text, and record the day of a
// completed check in "Options"/"Days". Bodies stay in memory.

#include "net/site.h"

#include <QString>
#include <QStringList>

namespace comp {
class HttpClient;
}

namespace net {

inline constexpr char kOwnVersion[] = "4.1";

struct CheckOutcome {
    enum class Kind {
        NoConnection,  // the version file did not arrive
        NotesFailed,   // the version file came, the release notes did not
        Cancelled,     // the user cancelled a transfer
        Current,       // line 1 is exactly the own version
        OutOfDate,     // anything else
    };
    Kind kind = Kind::NoConnection;
    QStringList lines;  // the version file's lines, when it arrived
    QString version;    // line 1
    QString date;       // line 2
    QString notes;      // the release notes as plain text
    QString error;      // the transfer's message, when one failed

    bool completed() const { return kind == Kind::Current || kind == Kind::OutOfDate; }
};

// The texts of the check.
QString NoConnectionText();                                         // the error box
QString CurrentText(const QString& version);                       // status and note box
QString OutOfDateWarning(const QString& version, const QString& date);
QString OutOfDateStatus(const QString& date);
QString OutOfDateTitle();

// Runs both transfers through the client; writes "Options"/"Days" (today's
// day number) only when the check completed.
CheckOutcome RunVersionCheck(comp::HttpClient& client, const Site& site);

}  // namespace net
