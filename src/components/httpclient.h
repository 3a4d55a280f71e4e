#pragma once
// A small HTTP client for whole, small resources: one GET at a time, awaited
// in a local event loop so that the caller reads like a blocking call while
// the window keeps painting. A transfer fails when no connection can be made,
// when the server answers with anything but 2xx or sends nothing, when the
// body grows past the cap, when nothing arrives for the idle time or the
// whole transfer takes longer than the total time, and when a redirect would
// leave http(s), go from https to http, or come more than five times. TLS
// errors always end the transfer.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

namespace comp {

struct HttpResult {
    bool ok = false;
    QByteArray body;   // the whole body when ok
    int status = 0;    // the last HTTP status seen; 0 = none
    QString error;     // why it failed
    bool cancelled = false;
};

class HttpClient : public QObject {
    Q_OBJECT
public:
    static constexpr int kIdleTimeoutMs = 10000;
    static constexpr int kTotalTimeoutMs = 30000;
    static constexpr qint64 kMaxBody = 1024 * 1024;
    static constexpr int kMaxRedirects = 5;

    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;

    // The resource of the next get().
    void setUrl(const QUrl& url) { url_ = url; }
    QUrl url() const { return url_; }

    // Tests shorten the waits; the program keeps the defaults.
    void setTimeouts(int idleMs, int totalMs);
    // Certificates trusted besides the system's (a test server's own).
    void addCaCertificates(const QList<QSslCertificate>& certificates) { extraCa_ += certificates; }

    // Fetches the resource; returns when it has arrived or failed. Every
    // failure is also announced by failed().
    HttpResult get();
    // During get(): ends the transfer as cancelled.
    void cancel();
    bool busy() const { return inGet_; }

    // Whether a redirect may be followed: only to http(s), never from https
    // to http, at most kMaxRedirects times. Empty = allowed, else the reason.
    static QString redirectRefusal(const QUrl& from, const QUrl& to, int redirectsSoFar);
    static bool isWebAddress(const QUrl& url);

signals:
    // The connection is being opened (once per get()).
    void opened();
    // Body data arrived; received counts the body bytes so far.
    void dataArriving(qint64 received);
    // The transfer failed with this message.
    void failed(const QString& message);

private:
    QNetworkRequest request(const QUrl& url) const;
    void stop(const QString& message, bool cancelled = false);
    void readBody();

    QUrl url_;
    int idleMs_ = kIdleTimeoutMs;
    int totalMs_ = kTotalTimeoutMs;
    QList<QSslCertificate> extraCa_;
    QNetworkAccessManager* nam_ = nullptr;
    QNetworkReply* reply_ = nullptr;
    QByteArray body_;
    QString stopMessage_;
    bool inGet_ = false;
    bool stopped_ = false;
    bool cancelled_ = false;
};

}  // namespace comp
