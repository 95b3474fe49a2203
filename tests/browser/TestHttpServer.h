#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A tiny HTTP/1.0 server on 127.0.0.1 (or another loopback address: 127.0.0.2
// is another site) for browser tests: fixed pages by path, pages that
// never answer until released (to keep a page loading), and a record of each request.
class TestHttpServer : public QObject {
    Q_OBJECT
public:
    struct Request {
        QByteArray path;
        QByteArray cookie;  // the request's Cookie header, if any
    };

    explicit TestHttpServer(QObject* parent = nullptr);
    explicit TestHttpServer(const QHostAddress& address, QObject* parent = nullptr);
    bool isListening() const { return m_server.isListening(); }
    QUrl url(const QString& path) const;
    QString hostAndPort() const;

    void addPage(const QByteArray& path, const QByteArray& html, const QByteArray& extraHeaders = {});
    void addHangingPath(const QByteArray& path);  // answered only by releaseHanging()
    void releaseHanging();
    const QList<Request>& requests() const { return m_requests; }
    int hangingCount() const { return m_hanging.size(); }

signals:
    void requestReceived(const QByteArray& path);

private:
    void serve(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& path);

    QTcpServer m_server;
    QString m_host;
    QHash<QByteArray, QByteArray> m_pages;
    QHash<QByteArray, QByteArray> m_headers;
    QList<QByteArray> m_hangingPaths;
    QList<QPair<QPointer<QTcpSocket>, QByteArray>> m_hanging;
    QList<Request> m_requests;
};

// A whole HTML page with `title` and `body`.
QByteArray htmlPage(const QString& title, const QString& body = {});
// The same page as a data: URL.
QString dataPage(const QString& title, const QString& body = {});
