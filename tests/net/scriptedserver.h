#pragma once
// A web server on the loopback interface that answers each path with a
// scripted answer: a whole response, silence, or a slow trickle. Plain or
// over TLS with a fixed self-signed certificate for 127.0.0.1.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QStringList>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

namespace net_test {

struct Answer {
    enum class Kind { Send, Hang, Trickle };
    Kind kind = Kind::Send;
    QByteArray raw;  // status line, headers and body
};

Answer okAnswer(const QByteArray& body);
Answer statusAnswer(int code, const QByteArray& reason, const QByteArray& body);
Answer redirectAnswer(const QByteArray& location);
Answer chunkedAnswer(qint64 bodyBytes);  // 200 with no length given
Answer hangAnswer();                     // reads the request, says nothing
Answer trickleAnswer();                  // headers, then a byte every 10 ms

class ScriptedServer : public QObject {
    Q_OBJECT
public:
    explicit ScriptedServer(bool tls = false);
    ~ScriptedServer() override;

    void answer(const QString& path, const Answer& a) { answers_.insert(path, a); }
    QUrl url(const QString& path = QStringLiteral("/")) const;
    QStringList requested;  // paths in the order asked

    // The certificate of the TLS server, for the client to trust.
    static QList<QSslCertificate> certificate();
    // A loopback port on which nothing listens.
    static quint16 closedPort();

private:
    void serve(QTcpSocket* socket);
    QTcpServer* server_ = nullptr;
    bool tls_ = false;
    QHash<QString, Answer> answers_;
};

}  // namespace net_test
