#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A one-page HTTP server on 127.0.0.1: every request gets the same status and body.
class LocalHttpServer : public QTcpServer {
public:
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

private:
    void answer(QTcpSocket* socket)
    {
        m_request += socket->readAll();
        if (!m_request.contains("\r\n\r\n"))
            return;
        m_request.clear();
        const QByteArray reason = m_status == 200 ? "OK" : "Not Found";
        socket->write("HTTP/1.1 " + QByteArray::number(m_status) + ' ' + reason
                      + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
                      + QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" + m_body);
        socket->disconnectFromHost();
    }

    int m_status;
    QByteArray m_body;
    QByteArray m_request;
};
