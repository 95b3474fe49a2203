#include "TestHttpServer.h"

#include <QHostAddress>

TestHttpServer::TestHttpServer(QObject* parent) : TestHttpServer(QHostAddress(QHostAddress::LocalHost), parent) {}

TestHttpServer::TestHttpServer(const QHostAddress& address, QObject* parent)
    : QObject(parent), m_host(address.toString())
{
    m_server.listen(address);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl TestHttpServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://%1%2").arg(hostAndPort(), path));
}

QString TestHttpServer::hostAndPort() const { return QStringLiteral("%1:%2").arg(m_host).arg(m_server.serverPort()); }

void TestHttpServer::addPage(const QByteArray& path, const QByteArray& html, const QByteArray& extraHeaders)
{
    m_pages.insert(path, html);
    m_headers.insert(path, extraHeaders);
}

void TestHttpServer::addHangingPath(const QByteArray& path) { m_hangingPaths.append(path); }

void TestHttpServer::serve(QTcpSocket* socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n"))
        return;  // the headers are not complete yet
    socket->setProperty("request", QByteArray());
    const QList<QByteArray> lines = request.split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    Request record{first.value(1), {}};
    for (const QByteArray& line : lines) {
        if (line.toLower().startsWith("cookie:"))
            record.cookie = line.mid(7).trimmed();
    }
    m_requests.append(record);
    emit requestReceived(record.path);
    if (m_hangingPaths.contains(record.path)) {
        m_hanging.append({socket, record.path});
        return;
    }
    answer(socket, record.path);
}

void TestHttpServer::answer(QTcpSocket* socket, const QByteArray& path)
{
    const bool known = m_pages.contains(path);
    const QByteArray body = known ? m_pages.value(path) : QByteArray("<html><title>404</title></html>");
    QByteArray response = known ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n";
    response += "Content-Type: text/html; charset=utf-8\r\n";
    response += "Cache-Control: no-store\r\n";
    response += m_headers.value(path);
    response += "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    socket->write(response);
    socket->disconnectFromHost();
}

void TestHttpServer::releaseHanging()
{
    // A request that arrives after the release is answered at once: it must
    // not hang because it came late.
    m_hangingPaths.clear();
    const auto hanging = m_hanging;
    m_hanging.clear();
    for (const auto& [socket, path] : hanging) {
        if (socket)
            answer(socket, path);
    }
}

QByteArray htmlPage(const QString& title, const QString& body)
{
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                          "<body>%2</body></html>")
        .arg(title, body)
        .toUtf8();
}

QString dataPage(const QString& title, const QString& body)
{
    return QStringLiteral("data:text/html;charset=utf-8,")
        + QString::fromLatin1(htmlPage(title, body).toPercentEncoding());
}
