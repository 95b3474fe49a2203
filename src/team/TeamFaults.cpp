#include "TeamFaults.h"

#include <QSqlError>

namespace {

struct Reason {
    const char* found;  // in libpq's or the server's message
    const char* sentence;
};

// The first match wins: a TLS failure also names the host, say.
const Reason Reasons[] = {
    {"password authentication failed",
     QT_TRANSLATE_NOOP("TeamFaults", "密码不对：请检查 ~/.pgpass（或 PGPASSFILE）中这台服务器的密码")},
    {"no password supplied",
     QT_TRANSLATE_NOOP("TeamFaults", "服务器要求密码，但 ~/.pgpass（或 PGPASSFILE）中没有这台服务器的密码")},
    {"certificate", QT_TRANSLATE_NOOP("TeamFaults", "TLS 验证失败：服务器的证书无法验证，连接已拒绝")},
    {"SSL", QT_TRANSLATE_NOOP("TeamFaults", "TLS 加密连接没有建立")},
    {"pg_hba.conf", QT_TRANSLATE_NOOP("TeamFaults", "服务器不允许这台电脑或这个用户连接")},
    {"could not translate host name", QT_TRANSLATE_NOOP("TeamFaults", "找不到服务器：主机名无法解析")},
    {"timeout expired", QT_TRANSLATE_NOOP("TeamFaults", "连接超时：服务器没有及时回应")},
    {"Connection refused", QT_TRANSLATE_NOOP("TeamFaults", "服务器拒绝连接：它没有运行，或不在这个地址和端口上")},
    {"No such file or directory", QT_TRANSLATE_NOOP("TeamFaults", "服务器没有运行：找不到它的本地套接字")},
    {"No route to host", QT_TRANSLATE_NOOP("TeamFaults", "无法到达服务器：网络不通")},
    {"Network is unreachable", QT_TRANSLATE_NOOP("TeamFaults", "无法到达服务器：网络不通")},
    {"database \"", QT_TRANSLATE_NOOP("TeamFaults", "服务器上没有这个数据库")},
    {"role \"", QT_TRANSLATE_NOOP("TeamFaults", "服务器上没有这个用户（角色）")},
    {"too many connections", QT_TRANSLATE_NOOP("TeamFaults", "服务器的连接数已满")},
    {"the database system is", QT_TRANSLATE_NOOP("TeamFaults", "服务器正在启动或关闭")},
    {"terminating connection", QT_TRANSLATE_NOOP("TeamFaults", "与服务器的连接断开了")},
    {"server closed the connection", QT_TRANSLATE_NOOP("TeamFaults", "与服务器的连接断开了")},
    {"no connection to the server", QT_TRANSLATE_NOOP("TeamFaults", "与服务器的连接断开了")},
};

}  // namespace

QString TeamFaults::describe(const QSqlError& error)
{
    return describe(error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

QString TeamFaults::describe(const QString& serverText)
{
    // libpq's lines: the reason, then hints; one line is enough here.
    const QString said = serverText.simplified();
    QString sentence = tr("无法连接团队服务器");
    for (const Reason& reason : Reasons) {
        if (said.contains(QLatin1String(reason.found))) {
            sentence = QCoreApplication::translate("TeamFaults", reason.sentence);
            break;
        }
    }
    return said.isEmpty() ? sentence : tr("%1（服务器：%2）").arg(sentence, said);
}
