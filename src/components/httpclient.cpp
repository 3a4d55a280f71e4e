#include "components/httpclient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>

#include <algorithm>
#include <iterator>

namespace comp {

namespace {

QString seconds(int ms)
{
    return QString::number(ms / 1000.0);
}

}  // namespace

HttpClient::HttpClient(QObject* parent) : QObject(parent) {}

HttpClient::~HttpClient()
{
    // A transfer still running belongs to a caller that is being unwound;
    // the reply goes with the access manager, a child of this object.
    if (reply_)
        reply_->disconnect(this);
}

void HttpClient::setTimeouts(int idleMs, int totalMs)
{
    idleMs_ = qMax(1, idleMs);
    totalMs_ = qMax(1, totalMs);
}

bool HttpClient::isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
           && !url.host().isEmpty();
}

QString HttpClient::redirectRefusal(const QUrl& from, const QUrl& to, int redirectsSoFar)
{
    if (redirectsSoFar >= kMaxRedirects)
        return QStringLiteral("The web site redirected more than %1 times.").arg(kMaxRedirects);
    if (!isWebAddress(to))
        return QStringLiteral("The web site redirected to an address that is not a web address: %1")
            .arg(to.toDisplayString());
    if (from.scheme().toLower() == QLatin1String("https") && to.scheme().toLower() == QLatin1String("http"))
        return QStringLiteral("The web site redirected from a secure to an insecure address: %1")
            .arg(to.toDisplayString());
    return QString();
}

void HttpClient::cancel()
{
    if (inGet_)
        stop(QStringLiteral("The transfer was cancelled."), true);
}

void HttpClient::stop(const QString& message, bool cancelled)
{
    if (stopped_)
        return;
    stopped_ = true;
    stopMessage_ = message;
    cancelled_ = cancelled;
    if (reply_)
        reply_->abort();  // emits finished, which ends the local loop
}

void HttpClient::readBody()
{
    if (!reply_ || stopped_)
        return;
    const qint64 before = body_.size();
    while (reply_->bytesAvailable() > 0) {
        // Never more than one byte past the cap is held.
        const QByteArray chunk = reply_->read(kMaxBody + 1 - body_.size());
        if (chunk.isEmpty())
            break;
        body_ += chunk;
        if (body_.size() > kMaxBody) {
            stop(QStringLiteral("The answer of the web site is larger than %1 bytes.").arg(kMaxBody));
            return;
        }
    }
    if (body_.size() > before)
        emit dataArriving(body_.size());
}

QNetworkRequest HttpClient::request(const QUrl& url) const
{
    QNetworkRequest request(url);
    // Redirects are followed here, one request per hop, so that every hop
    // passes redirectRefusal() and is counted.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // Bodies are counted as they come over the wire: no automatic
    // decompression that could turn a small answer into a huge one.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Trovik/4.1"));
    if (!extraCa_.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(extraCa_);
        request.setSslConfiguration(tls);
    }
    return request;
}

HttpResult HttpClient::get()
{
    HttpResult result;
    if (reply_ || inGet_) {
        result.error = QStringLiteral("A transfer is already running.");
        emit failed(result.error);
        return result;
    }
    if (!isWebAddress(url_)) {
        result.error = QStringLiteral("Not a web address: %1").arg(url_.toDisplayString());
        emit failed(result.error);
        return result;
    }
    if (!nam_)
        nam_ = new QNetworkAccessManager(this);

    inGet_ = true;
    body_.clear();
    stopped_ = false;
    cancelled_ = false;
    stopMessage_.clear();
    bool openedSent = false;
    auto announceOpen = [&] {
        if (!openedSent) {
            openedSent = true;
            emit opened();
        }
    };
    QTimer total;
    total.setSingleShot(true);
    connect(&total, &QTimer::timeout, this, [&] {
        stop(QStringLiteral("The transfer took longer than %1 seconds.").arg(seconds(totalMs_)));
    });
    total.start(totalMs_);

    QUrl current = url_;
    for (int redirects = 0; !stopped_;) {
        QEventLoop loop;
        QTimer idle;
        idle.setSingleShot(true);
        auto wake = [&] { idle.start(idleMs_); };
        reply_ = nam_->get(request(current));
        QNetworkReply* reply = reply_;
        connect(reply, &QNetworkReply::socketStartedConnecting, &loop, announceOpen);
        connect(reply, &QNetworkReply::requestSent, &loop, announceOpen);
        connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
            wake();
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            if (length.isValid() && length.toLongLong() > kMaxBody)
                stop(QStringLiteral("The answer of the web site is larger than %1 bytes.").arg(kMaxBody));
        });
        connect(reply, &QNetworkReply::readyRead, &loop, [&] {
            wake();
            readBody();
        });
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        connect(&idle, &QTimer::timeout, &loop, [&] {
            stop(QStringLiteral("The web site sent nothing for %1 seconds.").arg(seconds(idleMs_)));
        });
        wake();
        if (!reply->isFinished())
            loop.exec();
        idle.stop();
        readBody();
        reply_ = nullptr;
        reply->disconnect();
        reply->deleteLater();
        if (stopped_)
            break;

        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        static const int kRedirects[] = {301, 302, 303, 307, 308};
        if (std::find(std::begin(kRedirects), std::end(kRedirects), result.status) != std::end(kRedirects)
            && target.isValid() && !target.isEmpty()) {
            const QUrl next = current.resolved(target);
            const QString refusal = redirectRefusal(current, next, redirects);
            if (!refusal.isEmpty()) {
                stop(refusal);
                break;
            }
            ++redirects;
            current = next;
            body_.clear();
            continue;
        }
        if (result.status != 0 && (result.status < 200 || result.status > 299)) {
            QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
            for (QChar& c : reason) {
                if (c.category() == QChar::Other_Control)
                    c = QLatin1Char(' ');
            }
            reason = reason.simplified().left(100);
            result.error = QStringLiteral("The web site answered %1 %2").arg(result.status).arg(reason).trimmed();
        } else if (reply->error() != QNetworkReply::NoError) {
            result.error = reply->errorString();
        } else if (body_.isEmpty()) {
            result.error = QStringLiteral("The web site sent an empty answer.");
        } else {
            result.ok = true;
            result.body = body_;
        }
        break;
    }
    total.stop();
    if (stopped_) {
        result.error = stopMessage_;
        result.cancelled = cancelled_;
    }
    body_.clear();
    inGet_ = false;
    if (!result.ok)
        emit failed(result.error);
    return result;
}

}  // namespace comp
