#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PostgreSQL 15 server of the test's own, in a temporary folder: reachable
// only through a Unix socket in a folder of its own (no TCP port), its one
// role "qvb" with a password that clients find in passFile() (as libpq reads
// ~/.pgpass). The server refuses to run as root, so as root it runs as
// nobody. Stopped, and its folder removed, when the object goes.
class PostgresServer {
public:
    enum Durability {
        Fast,  // no fsync: a test's server
        Durable  // as a real server, for figures that include the commit
    };
    static constexpr const char* Role = "qvb";
    static constexpr const char* Password = "team-secret";

    explicit PostgresServer(Durability durability = Fast);
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // The first start makes the cluster. False with error() when it failed.
    bool start();
    bool stop();
    bool restart() { return stop() && start(); }
    bool isRunning() const { return m_running; }
    QString error() const { return m_error; }

    // A libpq connection string, without the password.
    QString conninfo() const;
    QString socketFolder() const { return m_base.filePath(QStringLiteral("socket")); }
    // A password file (0600) with the role's password.
    QString passFile() const { return m_base.filePath(QStringLiteral("pgpass")); }

private:
    bool initialise();
    bool runTool(const QString& tool, const QStringList& arguments);
    bool giveToServerUser(const QString& path);

    QTemporaryDir m_base;
    Durability m_durability;
    bool m_initialised = false;
    bool m_running = false;
    QString m_error;
};
