#include "TeamOutbox.h"

#include "HistoryDatabase.h"

#include <QJsonDocument>
#include <QSqlQuery>
#include <QVariant>

TeamOutbox::TeamOutbox(HistoryDatabase& database) : m_database(database) {}

QString TeamOutbox::load()
{
    QList<TeamChange> stored;
    QString error;
    const bool read = m_database.write(
        [&stored](QSqlQuery& query) {
            query.setForwardOnly(true);
            if (!query.exec(QStringLiteral("SELECT key, kind, data FROM team_outbox ORDER BY id")))
                return false;
            while (query.next()) {
                TeamChange change;
                change.key = query.value(0).toString();
                // A row this program cannot read would never be taken by the server.
                if (!TeamChange::kindOf(query.value(1).toString(), &change.kind))
                    continue;
                change.data = QJsonDocument::fromJson(query.value(2).toString().toUtf8()).object();
                stored << change;
            }
            return true;
        },
        &error);
    if (!read)
        return error;
    // What this session added before the load stays behind the stored ones.
    const QList<TeamChange> unsaved = m_changes.mid(m_saved);
    m_changes = stored + unsaved;
    m_saved = int(stored.size());
    return storeUnsaved();
}

QString TeamOutbox::add(const TeamChange& change)
{
    m_changes << change;
    return storeUnsaved();
}

QString TeamOutbox::storeUnsaved()
{
    if (m_saved == m_changes.size())
        return {};
    QString error;
    const bool stored = m_database.write(
        [this](QSqlQuery& query) {
            query.prepare(QStringLiteral("INSERT OR IGNORE INTO team_outbox (key, kind, data) VALUES (?, ?, ?)"));
            for (qsizetype i = m_saved; i < m_changes.size(); ++i) {
                const TeamChange& change = m_changes.at(i);
                query.addBindValue(change.key);
                query.addBindValue(TeamChange::kindName(change.kind));
                query.addBindValue(QString::fromUtf8(QJsonDocument(change.data).toJson(QJsonDocument::Compact)));
                if (!query.exec())
                    return false;
            }
            return true;
        },
        &error);
    if (stored)
        m_saved = int(m_changes.size());
    return error;
}

QString TeamOutbox::remove(const QStringList& keys)
{
    if (keys.isEmpty())
        return {};
    QString error;
    m_database.write(
        [&keys](QSqlQuery& query) {
            query.prepare(QStringLiteral("DELETE FROM team_outbox WHERE key = ?"));
            for (const QString& key : keys) {
                query.addBindValue(key);
                if (!query.exec())
                    return false;
            }
            return true;
        },
        &error);
    for (qsizetype i = m_changes.size() - 1; i >= 0; --i) {
        if (!keys.contains(m_changes.at(i).key))
            continue;
        m_changes.removeAt(i);
        if (i < m_saved)
            --m_saved;
    }
    return error;
}
