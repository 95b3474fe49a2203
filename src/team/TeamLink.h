#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <functional>

class QTimer;

// The connection to the team's server, in a thread of its own: a connection
// is bound to the thread that opened it, and the server's notifications
// arrive through that thread's event loop. Connecting (a DNS lookup, a server
// that does not answer) never holds up the window.
//
// While the server cannot be reached it tries again every `retryMs`; while
// it can, a light query every few retries notices a server gone quiet.
class TeamLink : public QObject {
    Q_OBJECT
public:
    using Work = std::function<bool(QSqlDatabase&, QString* error)>;

    TeamLink(const QString& driverOptions, int retryMs);
    ~TeamLink() override;

    // In the link's thread: runs `work` on the open connection. False when
    // there is none or it failed; a connection lost on the way is closed and
    // reported, and tried again later.
    bool run(const Work& work, QString* error);
    bool isOnline() const { return m_online; }
    // The connection is closed or libpq has given it up.
    static bool isBroken(const QSqlDatabase& db);

public slots:
    void begin();

signals:
    // `reason` says why it is offline (empty when online).
    void onlineChanged(bool online, const QString& reason);
    // Another member changed an article's round: the md5 of its name.
    void notified(const QByteArray& articleDigest);

private:
    void tryConnect();
    void heartbeat();
    void setOnline(bool online, const QString& reason);
    void closeConnection();

    QString m_options;
    QString m_name;
    int m_retryMs;
    QTimer* m_timer = nullptr;
    bool m_online = false;
    QString m_reason;
};
