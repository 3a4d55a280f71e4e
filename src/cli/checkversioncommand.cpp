#include "cli/checkversioncommand.h"

#include "cli/cliargs.h"
#include "components/httpclient.h"
#include "net/versioncheck.h"

namespace cli {

const char* const kCheckVersionUsage =
    "  trovik-scan checkversion\n"
    "      Asks the maker's web site ($TROVIK_SITE, else the setting\n"
    "      Options/Site, else https://www.halvane.example/) for the current\n"
    "      version and the release notes, as \"Version Check\" does. Prints the\n"
    "      verdict, then the release notes as text, and records the day of the\n"
    "      check in Options/Days. Exit status 1, with the message on standard\n"
    "      error, when a transfer fails.\n";

int RunCheckVersion(const QStringList& args)
{
    if (!args.isEmpty())
        return kUsage;
    comp::HttpClient client;
    const net::CheckOutcome outcome = net::RunVersionCheck(client, net::Site::configured());
    using Kind = net::CheckOutcome::Kind;
    switch (outcome.kind) {
    case Kind::NoConnection:
    case Kind::Cancelled:
        Err(net::NoConnectionText());
        Err(QStringLiteral("Error : ") + outcome.error);
        return kMessage;
    case Kind::NotesFailed:
        Err(QStringLiteral("Error : ") + outcome.error);
        return kMessage;
    case Kind::OutOfDate:
        Out(net::OutOfDateWarning(outcome.version, outcome.date));
        Out(net::OutOfDateStatus(outcome.date));
        break;
    case Kind::Current:
        Out(net::CurrentText(outcome.version));
        break;
    }
    Out(QString());
    Out(outcome.notes);
    return kOk;
}

}  // namespace cli
