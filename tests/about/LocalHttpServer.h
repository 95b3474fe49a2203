#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A small HTTP server on 127.0.0.1: every request gets the same status and body,
// except on a path sent on elsewhere (redirect). The head of each request (its
// request line and header lines) is kept, in the order they came.
class LocalHttpServer : public QTcpServer {
public:
    static constexpr int NoAnswer = 0;  // as status: requests are kept, never answered

    LocalHttpServer(int status, QByteArray body) : m_status(status), m_body(std::move(body))
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
    }

    QUrl url(const QString& path = QStringLiteral("/help/")) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }

    // Requests for `path` (query included, if any) answer 302 to `target`;
    // `extraHeaders` are whole header lines, each ending in CR LF.
    void redirect(const QByteArray& path, const QByteArray& target, const QByteArray& extraHeaders = {})
    {
        m_redirects.insert(path, {target, extraHeaders});
    }

    const QList<QByteArray>& requests() const { return m_requests; }
    // Heads of the requests whose target (path and query) starts with `prefix`.
    QList<QByteArray> requestsFor(const QByteArray& prefix) const
    {
        QList<QByteArray> found;
        for (const QByteArray& head : m_requests)
            if (target(head).startsWith(prefix))
                found << head;
        return found;
    }
    static QByteArray target(const QByteArray& head) { return head.split(' ').value(1); }

private:
    struct Redirect {
        QByteArray target;
        QByteArray extraHeaders;
    };

    void answer(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray head = buffer.left(end);
        m_buffers.remove(socket);
        m_requests << head;
        if (m_status == NoAnswer)
            return;
        const QByteArray path = target(head);
        if (m_redirects.contains(path)) {
            const Redirect& to = m_redirects[path];
            reply(socket, "302 Found", "Location: " + to.target + "\r\n" + to.extraHeaders, QByteArray());
            return;
        }
        const QByteArray reason = m_status == 200 ? "OK" : "Not Found";
        reply(socket, QByteArray::number(m_status) + ' ' + reason, "Content-Type: text/html; charset=utf-8\r\n",
              m_body);
    }

    static void reply(QTcpSocket* socket, const QByteArray& status, const QByteArray& headers, const QByteArray& body)
    {
        socket->write("HTTP/1.1 " + status + "\r\n" + headers + "Content-Length: " + QByteArray::number(body.size())
                      + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    int m_status;
    QByteArray m_body;
    QHash<QByteArray, Redirect> m_redirects;
    QHash<QTcpSocket*, QByteArray> m_buffers;  // each connection's request so far
    QList<QByteArray> m_requests;
};
