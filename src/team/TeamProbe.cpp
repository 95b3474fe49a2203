#include "TeamProbe.h"

#include "TeamFaults.h"
#include "TeamServerSchema.h"
#include "TeamSettings.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

namespace {

QAtomicInt probeCount;

bool probe(const QString& options, QString* message)
{
    bool ok = false;
    const QString name = QStringLiteral("qvb-team-probe-%1").arg(probeCount.fetchAndAddRelaxed(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(options);
        if (!db.isValid()) {
            *message = TeamProbe::tr("没有 PostgreSQL 的 Qt 驱动（Debian 软件包 libqt6sql6-psql）");
        } else if (!db.open()) {
            *message = TeamFaults::describe(db.lastError());
        } else {
            QSqlQuery query(db);
            const QString server = query.exec(QStringLiteral("SHOW server_version")) && query.next()
                ? query.value(0).toString()
                : QString();
            QString error;
            const int version = TeamServerSchema::serverVersion(db, &error);
            if (version < 0) {
                *message = TeamProbe::tr("已连接，但团队表无法读取：%1").arg(error);
            } else if (version > TeamServerSchema::currentVersion()) {
                *message = TeamProbe::tr("已连接，但服务器上的团队表由更新版本的QVBzevi建立（版本 %1），请先更新本程序")
                               .arg(version);
            } else {
                ok = true;
                *message = version == 0
                    ? TeamProbe::tr("连接成功（PostgreSQL %1）：团队表将在首次使用时建立").arg(server)
                    : TeamProbe::tr("连接成功（PostgreSQL %1）").arg(server);
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

}  // namespace

TeamProbe::TeamProbe(QObject* parent) : QObject(parent) {}

TeamProbe::~TeamProbe()
{
    if (m_thread)
        m_thread->wait();
    delete m_thread;
}

bool TeamProbe::isRunning() const { return m_thread && m_thread->isRunning(); }

void TeamProbe::run(const QString& conninfo, Callback done)
{
    if (isRunning())
        return;
    delete m_thread;
    const QString options = TeamSettings::driverOptions(conninfo);
    m_thread = QThread::create([this, options, done] {
        QString message;
        const bool ok = probe(options, &message);
        QMetaObject::invokeMethod(
            this, [done, ok, message] { done(ok, message); }, Qt::QueuedConnection);
    });
    m_thread->start();
}
