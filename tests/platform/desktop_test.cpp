// Handing targets to the desktop: the URL handlers stand in for it.
#include "platform/desktop.h"
#include "support/tempdrives.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include "util.h"

#include <gtest/gtest.h>

namespace {

class Recorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class Handlers {
public:
    explicit Handlers(Recorder* r)
    {
        for (const char* s : schemes)
            QDesktopServices::setUrlHandler(s, r, "open");
    }
    ~Handlers()
    {
        for (const char* s : schemes)
            QDesktopServices::unsetUrlHandler(s);
    }
private:
    static constexpr const char* schemes[] = {"file", "http", "https", "mailto"};
};

}  // namespace

TEST(Desktop, DrivePathsBecomeFileUrls)
{
    testing_support::TempDrives t;
    t.writeFile('C', "docs/read me.txt");
    Recorder rec;
    Handlers h(&rec);
    EXPECT_TRUE(plat::openWithDesktop("C:\\docs\\read me.txt"));
    ASSERT_EQ(rec.urls.size(), 1);
    EXPECT_EQ(rec.urls[0], QUrl::fromLocalFile(t.posix(u'C') + "/docs/read me.txt"));
}

TEST(Desktop, WebAndMailPassThrough)
{
    Recorder rec;
    Handlers h(&rec);
    EXPECT_TRUE(plat::openWithDesktop("https://example.org/help"));
    EXPECT_TRUE(plat::openWithDesktop("mailto:someone@example.org"));
    EXPECT_TRUE(plat::openWithDesktop("HTTP://example.org"));
    ASSERT_EQ(rec.urls.size(), 3);
    EXPECT_EQ(rec.urls[0].toString(), "https://example.org/help");
    EXPECT_EQ(rec.urls[1].scheme(), "mailto");
}

TEST(Desktop, RefusesWhatIsNeitherDrivePathNorWebAddress)
{
    testing_support::TempDrives t;
    Recorder rec;
    Handlers h(&rec);
    EXPECT_FALSE(plat::openWithDesktop("Q:\\nowhere"));
    EXPECT_FALSE(plat::openWithDesktop("ftp://example.org"));
    EXPECT_FALSE(plat::openWithDesktop("/etc/passwd"));
    EXPECT_TRUE(rec.urls.isEmpty());
}

#include "desktop_test.moc"
