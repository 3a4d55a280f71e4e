// The HTTP client against a scripted loopback server: what counts as a
// failed transfer, the body cap, the waits, redirects and TLS.
#include "components/httpclient.h"
#include "net/scriptedserver.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using comp::HttpClient;
using namespace net_test;

TEST(HttpClient, RedirectRules)
{
    struct Row {
        const char* from;
        const char* to;
        int sofar;
        const char* refusal;  // part of the message; nullptr = allowed
    };
    const Row rows[] = {
        {"http://a/", "http://b/", 0, nullptr},
        {"http://a/", "https://b/", 4, nullptr},
        {"https://a/", "https://b/", 0, nullptr},
        {"https://a/", "http://a/", 0, "from a secure to an insecure address"},
        {"HTTPS://a/", "HTTP://a/", 0, "from a secure to an insecure address"},
        {"http://a/", "http://b/", 5, "more than 5 times"},
        {"http://a/", "ftp://b/", 0, "not a web address"},
        {"http://a/", "file:///etc/passwd", 0, "not a web address"},
    };
    for (const Row& r : rows) {
        const QString why = HttpClient::redirectRefusal(QUrl(r.from), QUrl(r.to), r.sofar);
        if (r.refusal)
            EXPECT_TRUE(why.contains(r.refusal)) << r.from << " -> " << r.to << ": " << qPrintable(why);
        else
            EXPECT_TRUE(why.isEmpty()) << r.from << " -> " << r.to << ": " << qPrintable(why);
    }
}

TEST(HttpClient, TransfersAndTheirFailures)
{
    ScriptedServer web;
    ScriptedServer tls(true);
    web.answer("/ok", okAnswer("4.1\r\n"));
    web.answer("/empty", okAnswer(""));
    web.answer("/missing", statusAnswer(404, "Not Found", "4.1"));
    web.answer("/hang", hangAnswer());
    web.answer("/trickle", trickleAnswer());
    web.answer("/big", okAnswer(QByteArray(5 * 1024 * 1024, 'v')));
    web.answer("/bigchunked", chunkedAnswer(5 * 1024 * 1024));
    web.answer("/cap", okAnswer(QByteArray(HttpClient::kMaxBody, 'c')));
    web.answer("/moved", redirectAnswer("/ok"));
    web.answer("/toftp", redirectAnswer("ftp://127.0.0.1/x"));
    for (int i = 0; i < 6; ++i)
        web.answer(QString("/loop%1").arg(i), redirectAnswer(QString("/loop%1").arg(i + 1).toLatin1()));
    web.answer("/loop6", okAnswer("end"));
    tls.answer("/ok", okAnswer("secure"));
    tls.answer("/down", redirectAnswer(web.url("/ok").toEncoded()));

    struct Row {
        QUrl url;
        bool trustTls;
        QByteArray body;     // expected body when it succeeds
        const char* error;   // part of the message when it fails
        int idleMs = 5000;
        int totalMs = 20000;
    };
    const Row rows[] = {
        {web.url("/ok"), false, "4.1\r\n", nullptr},
        {web.url("/cap"), false, QByteArray(HttpClient::kMaxBody, 'c'), nullptr},
        {web.url("/moved"), false, "4.1\r\n", nullptr},
        {web.url("/empty"), false, {}, "empty answer"},
        {web.url("/missing"), false, {}, "answered 404 Not Found"},
        {web.url("/hang"), false, {}, "sent nothing for 0.3 seconds", 300},
        {web.url("/trickle"), false, {}, "took longer than 0.6 seconds", 5000, 600},
        {web.url("/big"), false, {}, "larger than 1048576 bytes"},
        {web.url("/bigchunked"), false, {}, "larger than 1048576 bytes"},
        {web.url("/toftp"), false, {}, "not a web address"},
        {web.url("/loop0"), false, {}, "more than 5 times"},
        {QUrl(QString("http://127.0.0.1:%1/").arg(ScriptedServer::closedPort())), false, {}, "refused"},
        {tls.url("/ok"), true, "secure", nullptr},
        {tls.url("/ok"), false, {}, "certificate"},
        {tls.url("/down"), true, {}, "from a secure to an insecure address"},
        {QUrl("file:///etc/passwd"), false, {}, "Not a web address"},
    };
    for (const Row& r : rows) {
        HttpClient client;
        client.setTimeouts(r.idleMs, r.totalMs);
        if (r.trustTls)
            client.addCaCertificates(ScriptedServer::certificate());
        QSignalSpy failed(&client, &HttpClient::failed);
        QSignalSpy opened(&client, &HttpClient::opened);
        client.setUrl(r.url);
        const comp::HttpResult got = client.get();
        const std::string name = r.url.toString().toStdString();
        EXPECT_EQ(got.ok, r.error == nullptr) << name << ": " << qPrintable(got.error);
        EXPECT_EQ(failed.size(), r.error ? 1 : 0) << name;
        EXPECT_FALSE(client.busy());
        if (r.error) {
            EXPECT_TRUE(got.error.contains(r.error, Qt::CaseInsensitive)) << name << ": " << qPrintable(got.error);
            EXPECT_TRUE(got.body.isEmpty()) << name;
        } else {
            EXPECT_EQ(got.body, r.body) << name;
            EXPECT_EQ(opened.size(), 1) << name;
        }
    }
    // Five redirects were followed, the sixth was not.
    EXPECT_TRUE(web.requested.contains("/loop5"));
    EXPECT_FALSE(web.requested.contains("/loop6"));
}
