#pragma once
// The maker's web site and the addresses derived from it: the version file,
// the release notes, the update page, the home page of the About window, and
// the mail link of "Recommend to a friend". Only http and https addresses
// are ever used.

#include <QString>
#include <QUrl>
#include <functional>

namespace net {

inline constexpr char kDefaultSite[] = "https://www.halvane.example/";

struct Site {
    QUrl home;        // ends with "/"; empty when problem is set
    QString problem;  // why no address can be used

    bool usable() const { return problem.isEmpty(); }
    QUrl versionFile() const { return home.resolved(QUrl(QStringLiteral("version/trovik/ver.txt"))); }
    QUrl releaseNotes() const { return home.resolved(QUrl(QStringLiteral("version/trovik/note.rtf"))); }
    QUrl updatePage() const { return home.resolved(QUrl(QStringLiteral("version/trovik/update.htm"))); }
    QString webAddress() const { return home.toString(); }

    // An http(s) address with a host; user, query and fragment are dropped
    // and the path gets its final "/".
    static Site parse(const QString& text);
    // $TROVIK_SITE, else the setting "Options"/"Site", else the default. The
    // first one that is set is used; when it is not an http(s) address the
    // site has a problem (no silent fall-back to another address).
    static Site configured();
};

// The "Recommend to a friend" link: the typed address percent-encoded (it can
// add no header or parameter), then subject and body as the program writes
// them, with the web address inside.
QString RecommendLink(const QString& typedAddress, const QString& webAddress);

// Hands a web page or mail link to the desktop; false when nothing took it.
// Tests replace the opener.
using UrlOpener = std::function<bool(const QString&)>;
bool OpenWebTarget(const QString& target);
void SetUrlOpener(UrlOpener opener);  // empty restores the desktop

}  // namespace net
