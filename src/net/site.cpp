#include "net/site.h"

#include "core/settings.h"
#include "platform/desktop.h"
#include "platform/environment.h"

namespace net {

namespace {

UrlOpener& opener()
{
    static UrlOpener o;
    return o;
}

}  // namespace

Site Site::parse(const QString& text)
{
    Site s;
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || url.host().isEmpty()) {
        s.problem = QStringLiteral("The web site address \"%1\" is not an http or https address.").arg(text.trimmed());
        return s;
    }
    QUrl home;
    home.setScheme(scheme);
    home.setHost(url.host());
    home.setPort(url.port());
    QString path = url.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    home.setPath(path);
    s.home = home;
    return s;
}

Site Site::configured()
{
    QString text = plat::siteOverride();
    if (text.isEmpty())
        text = core::SettingsStore::readString(QStringLiteral("Options"), QStringLiteral("Site")).trimmed();
    if (text.isEmpty())
        text = QString::fromLatin1(kDefaultSite);
    return parse(text);
}

QString RecommendLink(const QString& typedAddress, const QString& webAddress)
{
    // The address part takes the typed text literally: "?", "&", "#" and "%"
    // stay characters of the address instead of starting parameters.
    const QString address = QString::fromLatin1(QUrl::toPercentEncoding(typedAddress, "@"));
    const QString web = QString::fromLatin1(QUrl::toPercentEncoding(webAddress, ":/"));
    return QStringLiteral("mailto:") + address
           + QStringLiteral("?subject=Software recommendation&body=Dear [name of friend],%0D%0A%0D%0A")
           + QStringLiteral("Here is a great software product called Trovik that I want to share with you. "
                            "%0D%0A%0D%0A")
           + QStringLiteral("Click here: ") + web + QStringLiteral(" to access the website.%0D%0A");
}

bool OpenWebTarget(const QString& target)
{
    // Web pages and mail links only: never a file or a program.
    const QString scheme = QUrl(target).scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https") && scheme != QLatin1String("mailto"))
        return false;
    if (opener())
        return opener()(target);
    return plat::openWithDesktop(target);
}

void SetUrlOpener(UrlOpener o)
{
    opener() = std::move(o);
}

}  // namespace net
