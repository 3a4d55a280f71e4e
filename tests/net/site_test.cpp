// The maker's web site: which address is used, what derives from it, and the
// mail link of "Recommend to a friend".
#include "core/settings.h"
#include "net/site.h"
#include "support/tempdrives.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

using net::Site;

namespace {

// Sets TROVIK_SITE for one test and restores it.
class SiteVariable {
public:
    explicit SiteVariable(const QByteArray& value) : had_(qEnvironmentVariableIsSet("TROVIK_SITE")),
                                                     old_(qgetenv("TROVIK_SITE"))
    {
        value.isNull() ? qunsetenv("TROVIK_SITE") : qputenv("TROVIK_SITE", value);
    }
    ~SiteVariable() { had_ ? qputenv("TROVIK_SITE", old_) : qunsetenv("TROVIK_SITE"); }

private:
    bool had_;
    QByteArray old_;
};

}  // namespace

TEST(Site, AddressesDeriveFromTheSite)
{
    struct Row {
        const char* text;
        const char* home;  // nullptr = refused
    };
    const Row rows[] = {
        {"https://www.halvane.example/", "https://www.halvane.example/"},
        {"http://127.0.0.1:8080/base", "http://127.0.0.1:8080/base/"},
        {" HTTP://User:pw@Host.example/x/?q=1#f ", "http://host.example/x/"},
        {"ftp://host.example/", nullptr},
        {"file:///etc/", nullptr},
        {"javascript:alert(1)", nullptr},
        {"www.halvane.example", nullptr},
        {"https:///nohost", nullptr},
    };
    for (const Row& r : rows) {
        const Site s = Site::parse(r.text);
        if (!r.home) {
            EXPECT_FALSE(s.usable()) << r.text;
            EXPECT_TRUE(s.problem.contains("is not an http or https address")) << qPrintable(s.problem);
            continue;
        }
        ASSERT_TRUE(s.usable()) << r.text;
        EXPECT_EQ(s.webAddress(), r.home);
        EXPECT_EQ(s.versionFile().toString(), QString(r.home) + "version/trovik/ver.txt");
        EXPECT_EQ(s.releaseNotes().toString(), QString(r.home) + "version/trovik/note.rtf");
        EXPECT_EQ(s.updatePage().toString(), QString(r.home) + "version/trovik/update.htm");
    }
}

TEST(Site, VariableThenSettingThenDefault)
{
    testing_support::TempDrives drives("C");
    {
        SiteVariable unset(QByteArray{});
        EXPECT_EQ(Site::configured().webAddress(), "https://www.halvane.example/");
        core::SettingsStore::writeString("Options", "Site", "http://setting.example/");
        EXPECT_EQ(Site::configured().webAddress(), "http://setting.example/");
    }
    {
        SiteVariable set("http://variable.example");
        EXPECT_EQ(Site::configured().webAddress(), "http://variable.example/");
    }
    {
        // A bad address is reported, never replaced by another one.
        SiteVariable bad("file:///etc/passwd");
        EXPECT_FALSE(Site::configured().usable());
    }
}

TEST(Site, RecommendLinkKeepsTheTypedAddressInItsPlace)
{
    const QString web = "https://www.halvane.example/";
    const QString tail = "?subject=Software recommendation&body=Dear [name of friend],%0D%0A%0D%0A"
                         "Here is a great software product called Trovik that I want to share with you. "
                         "%0D%0A%0D%0AClick here: https://www.halvane.example/ to access the website.%0D%0A";
    struct Row {
        QString typed;
        QString addressPart;
    };
    const Row rows[] = {
        {"friend's e-mail", "friend%27s%20e-mail"},
        {"ann@example.org", "ann@example.org"},
        {"a@b.c?attach=/etc/passwd&cc=x#y%", "a@b.c%3Fattach%3D%2Fetc%2Fpasswd%26cc%3Dx%23y%25"},
    };
    for (const Row& r : rows) {
        const QString link = net::RecommendLink(r.typed, web);
        EXPECT_EQ(link, "mailto:" + r.addressPart + tail);
        const QUrl url(link);
        EXPECT_EQ(url.path(QUrl::FullyDecoded), r.typed);
        QStringList keys;
        for (const auto& item : QUrlQuery(url).queryItems())
            keys << item.first;
        EXPECT_EQ(keys, (QStringList{"subject", "body"}));
    }
}

TEST(Site, OnlyWebPagesAndMailLinksAreOpened)
{
    QStringList opened;
    net::SetUrlOpener([&](const QString& t) {
        opened << t;
        return true;
    });
    for (const char* t : {"http://a.example/", "HTTPS://b.example/", "mailto:x@y.z"})
        EXPECT_TRUE(net::OpenWebTarget(t)) << t;
    for (const char* t : {"file:///etc/passwd", "/bin/sh", "C:\\bin\\sh", "javascript:alert(1)", ""})
        EXPECT_FALSE(net::OpenWebTarget(t)) << t;
    net::SetUrlOpener({});
    EXPECT_EQ(opened.size(), 3);
}
