#include "TeamSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>

#include <libpq-fe.h>

namespace {

const QString Section = QStringLiteral("team/");
constexpr int MemberMaxLength = 64;

struct Option {
    QString key;
    QString value;
};

// libpq's own reading of the string, so every form it takes (key=value,
// postgresql:// addresses, quoting) is read as the connection will read it.
QString parse(const QString& conninfo, QList<Option>* options)
{
    char* error = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    if (!parsed) {
        const QString reason = error ? QString::fromUtf8(error).trimmed() : QStringLiteral("out of memory");
        PQfreemem(error);
        return reason;
    }
    for (PQconninfoOption* option = parsed; option->keyword; ++option)
        if (option->val)
            *options << Option{QString::fromUtf8(option->keyword), QString::fromUtf8(option->val)};
    PQconninfoFree(parsed);
    return {};
}

QString quoted(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString joined(const QList<Option>& options)
{
    QStringList parts;
    for (const Option& option : options)
        parts << option.key + QLatin1Char('=') + quoted(option.value);
    return parts.join(QLatin1Char(' '));
}

// A hand-edited value with a comma reads as a list.
QString readString(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(Section + key);
    return value.canConvert<QStringList>() && value.userType() == QMetaType::QStringList
        ? value.toStringList().join(QLatin1Char(','))
        : value.toString();
}

QString memberProblem(const QString& member)
{
    if (member.isEmpty())
        return TeamSettings::tr("没有填写成员名：团队中每人用自己的名字");
    if (member.size() > MemberMaxLength)
        return TeamSettings::tr("成员名太长（最多 %1 个字符）").arg(MemberMaxLength);
    for (const QChar c : member)
        if (c.category() == QChar::Other_Control)
            return TeamSettings::tr("成员名中有控制字符");
    return {};
}

}  // namespace

QString TeamSettings::check(const QString& conninfo, QString* clean, bool* hadPassword)
{
    QList<Option> options;
    const QString error = parse(conninfo, &options);
    if (!error.isEmpty())
        return tr("连接串无法读取：%1").arg(error);
    *hadPassword = false;
    for (qsizetype i = options.size() - 1; i >= 0; --i) {
        // The Qt driver takes ";" as a separator between options.
        if (options.at(i).value.contains(QLatin1Char(';')))
            return tr("连接串中不能有分号（;）");
        if (options.at(i).key == QLatin1String("password")) {
            options.removeAt(i);
            *hadPassword = true;
        }
    }
    *clean = *hadPassword ? joined(options) : conninfo.trimmed();
    return {};
}

QString TeamSettings::driverOptions(const QString& conninfo)
{
    QList<Option> options;
    parse(conninfo, &options);
    bool timeout = false, name = false;
    for (const Option& option : std::as_const(options)) {
        timeout = timeout || option.key == QLatin1String("connect_timeout");
        name = name || option.key == QLatin1String("application_name");
    }
    // A server that does not answer must not keep the team's thread for long.
    if (!timeout)
        options << Option{QStringLiteral("connect_timeout"), QString::number(DefaultConnectTimeoutSeconds)};
    if (!name)
        options << Option{QStringLiteral("application_name"), QStringLiteral("QVBzevi")};
    return joined(options);
}

TeamSettings TeamSettings::load(const QString& dataFolder)
{
    TeamSettings settings;
    const QString path = QDir(dataFolder).filePath(fileName());
    if (!QFile::exists(path))
        return settings;
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        settings.problem = tr("%1：无法读取").arg(path);
        return settings;
    }
    const QString stored = readString(file, QStringLiteral("conninfo")).trimmed();
    settings.member = readString(file, QStringLiteral("member")).trimmed();
    if (stored.isEmpty())
        return settings;
    bool hadPassword = false;
    settings.problem = check(stored, &settings.conninfo, &hadPassword);
    if (settings.problem.isEmpty())
        settings.problem = memberProblem(settings.member);
    if (!settings.problem.isEmpty()) {
        settings.conninfo = stored;
        settings.problem = tr("%1：%2").arg(path, settings.problem);
    } else if (hadPassword) {
        settings.notice = tr("%1 中的密码没有使用：密码请写进 ~/.pgpass（或 PGPASSFILE 指定的文件）").arg(path);
    }
    return settings;
}

QString TeamSettings::save(const QString& dataFolder, const QString& conninfo, const QString& member, QString* notice)
{
    notice->clear();
    const QString path = QDir(dataFolder).filePath(fileName());
    QString clean;
    if (!conninfo.trimmed().isEmpty()) {
        bool hadPassword = false;
        QString problem = check(conninfo, &clean, &hadPassword);
        if (problem.isEmpty())
            problem = memberProblem(member.trimmed());
        if (!problem.isEmpty())
            return problem;
        if (hadPassword)
            *notice = tr("密码没有保存：请把它写进 ~/.pgpass（或 PGPASSFILE 指定的文件），连接时从那里读取");
    }
    QSettings file(path, QSettings::IniFormat);
    file.setValue(Section + QStringLiteral("conninfo"), clean);
    file.setValue(Section + QStringLiteral("member"), member.trimmed());
    file.sync();
    if (file.status() != QSettings::NoError)
        return tr("%1：无法写入").arg(path);
    return {};
}
