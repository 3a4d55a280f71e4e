#include "cli/rowoutput.h"
#include "support/localescope.h"

#include <QJsonObject>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// Sets TZ for one test and puts the old value back.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* tz) : old_(std::getenv("TZ") ? std::getenv("TZ") : "")
    {
        setenv("TZ", tz, 1);
        tzset();
    }
    ~TimeZoneScope()
    {
        setenv("TZ", old_.c_str(), 1);
        tzset();
    }

private:
    std::string old_;
};

TEST(RowOutputTest, FileTimesAsLocalTimeWithOffset)
{
    const plat::FileTime epoch = plat::unixToFileTime(0, 0);
    struct Case {
        const char* tz;  // POSIX form: the offset is west of UTC
        plat::FileTime time;
        QJsonValue text;
    };
    const Case cases[] = {
        {"UTC0", 0, QJsonValue::Null},  // not recorded
        {"UTC0", epoch, "1970-01-01T00:00:00+00:00"},
        {"IST-5:30", epoch + 9'999'999, "1970-01-01T05:30:00+05:30"},  // fraction dropped
        {"BRT3", epoch, "1969-12-31T21:00:00-03:00"},
        {"UTC0", plat::unixToFileTime(5'000'000'000LL, 0), "2128-06-11T08:53:20+00:00"},
        {"UTC0", plat::unixToFileTime(-11'644'473'599LL, 0), "1601-01-01T00:00:01+00:00"},
        {"UTC0", ~plat::FileTime(0), QJsonValue::Null},  // beyond year 9999
    };
    for (const Case& c : cases) {
        TimeZoneScope zone(c.tz);
        EXPECT_EQ(cli::FileTimeJson(c.time), c.text) << c.tz << ' ' << c.time;
    }
}

TEST(RowOutputTest, PathsKeepTheirBytes)
{
    struct Case {
        QByteArray posix;
        QString path;
        QString pathBytes;  // empty: none
    };
    const Case cases[] = {
        {"/srv/a \"b\"\n\t.txt", "/srv/a \"b\"\n\t.txt", ""},
        {"/srv/\xc3\xa9t\xc3\xa9", QString::fromUtf8("/srv/\xc3\xa9t\xc3\xa9"), ""},
        {"/mnt/\xff\xfe/x", QString::fromUtf8("/mnt/\xef\xbf\xbd\xef\xbf\xbd/x"), "L21udC///i94"},
    };
    for (const Case& c : cases) {
        QJsonObject row;
        cli::PutPosixPath(row, c.posix);
        EXPECT_EQ(row["path"].toString(), c.path);
        EXPECT_EQ(row["pathBytes"].toString(), c.pathBytes);
        if (!c.pathBytes.isEmpty()) {
            EXPECT_EQ(QByteArray::fromBase64(c.pathBytes.toLatin1()), c.posix);
        }
    }
}

TEST(RowOutputTest, GroupedCounts)
{
    struct Case {
        QLocale::Language language;
        QString text;
        std::optional<quint64> n;
    };
    const Case cases[] = {
        {QLocale::C, "0", 0},
        {QLocale::C, "5,368,709,120", 5368709120ULL},
        {QLocale::German, "5.368.709.120", 5368709120ULL},
        {QLocale::C, "9,007,199,254,740,993", 9007199254740993ULL},  // above 2^53, exact
        {QLocale::C, "18,446,744,073,709,551,615", 18446744073709551615ULL},
        {QLocale::C, "18,446,744,073,709,551,616", std::nullopt},
        {QLocale::C, "", std::nullopt},
        {QLocale::C, "???", std::nullopt},
        {QLocale::C, "-5", std::nullopt},
        {QLocale::C, "1.5", std::nullopt},
    };
    for (const Case& c : cases) {
        testing_support::LocaleScope locale{QLocale(c.language)};
        EXPECT_EQ(cli::ParseGroupedCount(c.text), c.n) << qPrintable(c.text);
    }
}

}  // namespace
