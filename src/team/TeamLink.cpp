#include "TeamLink.h"

#include "TeamFaults.h"
#include "TeamServer.h"
#include "TeamServerSchema.h"

#include <QAtomicInt>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

#include <libpq-fe.h>

namespace {

QAtomicInt connectionCount;

// How many retries apart the heartbeat comes while online.
constexpr int HeartbeatRetries = 2;

}  // namespace

TeamLink::TeamLink(const QString& driverOptions, int retryMs)
    : m_options(driverOptions),
      m_name(QStringLiteral("qvb-team-%1").arg(connectionCount.fetchAndAddRelaxed(1))),
      m_retryMs(retryMs)
{
}

TeamLink::~TeamLink()
{
    closeConnection();
    QSqlDatabase::removeDatabase(m_name);
}

void TeamLink::begin()
{
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, [this] { m_online ? heartbeat() : tryConnect(); });
    tryConnect();
}

void TeamLink::tryConnect()
{
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
    QString reason;
    if (!db.isValid()) {
        reason = tr("没有 PostgreSQL 的 Qt 驱动（Debian 软件包 libqt6sql6-psql）");
    } else {
        db.setConnectOptions(m_options);
        if (!db.open()) {
            reason = TeamFaults::describe(db.lastError());
        } else {
            QString error;
            // A statement the server does not answer gives up rather than
            // keeping every later one waiting.
            QSqlQuery(db).exec(QStringLiteral("SET statement_timeout = '30s'"));
            if (!TeamServerSchema::upgrade(db, &error)) {
                reason = isBroken(db) ? TeamFaults::describe(error) : tr("团队服务器的表无法使用：%1").arg(error);
            } else if (!db.driver()->subscribeToNotification(TeamServer::channel())) {
                reason = TeamFaults::describe(db.driver()->lastError());
            } else {
                connect(db.driver(), &QSqlDriver::notification, this,
                        [this](const QString&, QSqlDriver::NotificationSource source, const QVariant& payload) {
                            // Our own changes are known here already.
                            if (source != QSqlDriver::SelfSource)
                                emit notified(payload.toString().toLatin1());
                        });
            }
        }
    }
    if (!reason.isEmpty())
        closeConnection();
    setOnline(reason.isEmpty(), reason);
    m_timer->start(reason.isEmpty() ? m_retryMs * HeartbeatRetries : m_retryMs);
}

void TeamLink::heartbeat()
{
    QString error;
    run(
        [](QSqlDatabase& db, QString* error) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT 1")))
                return true;
            *error = query.lastError().text();
            return false;
        },
        &error);
}

bool TeamLink::run(const Work& work, QString* error)
{
    if (!m_online) {
        *error = m_reason;
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    // A connection libpq gave up (the server went away while idle) is not tried.
    if (!isBroken(db) && work(db, error))
        return true;
    if (isBroken(db)) {
        if (error->isEmpty())
            *error = db.lastError().text();
        *error = TeamFaults::describe(*error);
        closeConnection();
        setOnline(false, *error);
        m_timer->start(m_retryMs);
    }
    return false;
}

bool TeamLink::isBroken(const QSqlDatabase& db)
{
    if (!db.isOpen())
        return true;
    const QVariant handle = db.driver()->handle();
    // Qt names the type by the struct behind libpq's typedef.
    const bool isConnection =
        handle.isValid() && (qstrcmp(handle.typeName(), "PGconn*") == 0 || qstrcmp(handle.typeName(), "pg_conn*") == 0);
    auto* connection = isConnection ? *static_cast<PGconn* const*>(handle.constData()) : nullptr;
    return !connection || PQstatus(connection) != CONNECTION_OK;
}

void TeamLink::closeConnection()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen()) {
        disconnect(db.driver(), nullptr, this, nullptr);
        db.close();
    }
}

void TeamLink::setOnline(bool online, const QString& reason)
{
    if (online == m_online && reason == m_reason)
        return;
    m_online = online;
    m_reason = reason;
    emit onlineChanged(online, reason);
}
