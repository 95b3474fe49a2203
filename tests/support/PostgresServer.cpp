#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace {

const QString BinFolder = QStringLiteral("/usr/lib/postgresql/15/bin/");
// nobody and nogroup on Debian.
constexpr uid_t ServerUser = 65534;
constexpr gid_t ServerGroup = 65534;

bool asRoot() { return ::geteuid() == 0; }

bool writeFile(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
        && file.setPermissions(permissions);
}

}  // namespace

PostgresServer::PostgresServer(Durability durability)
    : m_base(QDir::tempPath() + QStringLiteral("/qvb-pg-XXXXXX")), m_durability(durability)
{
}

PostgresServer::~PostgresServer()
{
    if (m_running)
        runTool(QStringLiteral("pg_ctl"),
                {QStringLiteral("-D"), m_base.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                 QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
}

QString PostgresServer::conninfo() const
{
    return QStringLiteral("host='%1' dbname=postgres user=%2").arg(socketFolder(), QLatin1String(Role));
}

bool PostgresServer::giveToServerUser(const QString& path)
{
    if (asRoot() && ::chown(QFile::encodeName(path).constData(), ServerUser, ServerGroup) != 0) {
        m_error = QStringLiteral("chown %1 failed").arg(path);
        return false;
    }
    return true;
}

bool PostgresServer::runTool(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_base.path());
    if (asRoot()) {
        process.setProgram(QStringLiteral("setpriv"));
        process.setArguments(QStringList{QStringLiteral("--reuid=%1").arg(ServerUser),
                                         QStringLiteral("--regid=%1").arg(ServerGroup),
                                         QStringLiteral("--clear-groups"), BinFolder + tool}
                             + arguments);
    } else {
        process.setProgram(BinFolder + tool);
        process.setArguments(arguments);
    }
    process.start();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_error = tool + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll()) + process.errorString();
        return false;
    }
    return true;
}

bool PostgresServer::initialise()
{
    if (!m_base.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    const QString passwordFile = m_base.filePath(QStringLiteral("password"));
    if (!QDir(m_base.path()).mkpath(QStringLiteral("socket"))
        || !writeFile(passwordFile, Password, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || !writeFile(passFile(), QByteArray("*:*:*:") + Role + ':' + Password + '\n',
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || !giveToServerUser(m_base.path()) || !giveToServerUser(socketFolder()) || !giveToServerUser(passwordFile))
        return false;
    const QString data = m_base.filePath(QStringLiteral("data"));
    if (!runTool(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), data, QStringLiteral("-U"), QLatin1String(Role),
                  QStringLiteral("--auth=scram-sha-256"), QStringLiteral("--pwfile=") + passwordFile,
                  QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--no-locale"),
                  QStringLiteral("--no-sync")}))
        return false;
    QFile config(data + QStringLiteral("/postgresql.conf"));
    QByteArray lines = "listen_addresses = ''\nunix_socket_directories = '" + QFile::encodeName(socketFolder())
        + "'\nmax_connections = 50\n";
    if (m_durability == Fast)
        lines += "fsync = off\nsynchronous_commit = off\nfull_page_writes = off\n";
    if (!config.open(QIODevice::Append) || config.write(lines) != lines.size()) {
        m_error = config.fileName() + QStringLiteral(": ") + config.errorString();
        return false;
    }
    m_initialised = true;
    return true;
}

bool PostgresServer::start()
{
    if (m_running)
        return true;
    if (!m_initialised && !initialise())
        return false;
    m_running = runTool(QStringLiteral("pg_ctl"),
                        {QStringLiteral("-D"), m_base.filePath(QStringLiteral("data")), QStringLiteral("-l"),
                         m_base.filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("-t"),
                         QStringLiteral("60"), QStringLiteral("start")});
    return m_running;
}

bool PostgresServer::stop()
{
    if (!m_running)
        return true;
    m_running = !runTool(QStringLiteral("pg_ctl"),
                         {QStringLiteral("-D"), m_base.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                          QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
    return !m_running;
}
