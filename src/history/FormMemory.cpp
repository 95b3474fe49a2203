#include "FormMemory.h"

#include "HistoryDatabase.h"

#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <algorithm>

FormMemory::FormMemory(HistoryDatabase& database, QObject* parent) : QObject(parent), m_database(database) {}

QString FormMemory::pageOf(const QUrl& address)
{
    // A posting form's query names a board or a thread, not another form.
    return address.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo).toString();
}

QList<FormMemory::Field> FormMemory::fieldsOf(const QString& site, const QString& page) const
{
    const auto unsaved = m_unsaved.constFind({site, page});
    return unsaved != m_unsaved.constEnd() ? *unsaved : storedFieldsOf(site, page);
}

QList<FormMemory::Field> FormMemory::storedFieldsOf(const QString& site, const QString& page) const
{
    QList<Field> fields;
    if (!m_database.ensureOpen())
        return fields;
    QSqlQuery query(m_database.database());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT locator, target FROM form_fields WHERE site = ? AND page = ? ORDER BY position"));
    query.addBindValue(site);
    query.addBindValue(page);
    if (query.exec())
        while (query.next())
            fields << Field{query.value(0).toString(), query.value(1).toString()};
    return fields;
}

int FormMemory::remember(const QString& site, const QString& page, const Field& field)
{
    QList<Field> fields = fieldsOf(site, page);
    fields.erase(std::remove_if(fields.begin(), fields.end(),
                                [&field](const Field& known) { return known.locator == field.locator; }),
                 fields.end());
    fields << field;
    store(site, page, fields);
    return int(fields.size());
}

bool FormMemory::forgetPage(const QString& site, const QString& page)
{
    if (fieldsOf(site, page).isEmpty())
        return false;
    store(site, page, {});
    return true;
}

// The page's fields are written whole, in one transaction.
void FormMemory::store(const QString& site, const QString& page, const QList<Field>& fields)
{
    QString error;
    const bool stored = m_database.write(
        [&](QSqlQuery& query) {
            query.prepare(QStringLiteral("DELETE FROM form_fields WHERE site = ? AND page = ?"));
            query.addBindValue(site);
            query.addBindValue(page);
            if (!query.exec())
                return false;
            for (int position = 0; position < fields.size(); ++position) {
                query.prepare(QStringLiteral(
                    "INSERT INTO form_fields (site, page, position, locator, target) VALUES (?, ?, ?, ?, ?)"));
                query.addBindValue(site);
                query.addBindValue(page);
                query.addBindValue(position);
                query.addBindValue(fields.at(position).locator);
                query.addBindValue(fields.at(position).target);
                if (!query.exec())
                    return false;
            }
            return true;
        },
        &error);
    if (stored) {
        m_unsaved.remove({site, page});
        return;
    }
    m_unsaved.insert({site, page}, fields);
    emit writeFailed(error);
}

void FormMemory::renameSite(const QString& oldName, const QString& newName)
{
    if (oldName == newName)
        return;
    for (auto it = m_unsaved.begin(); it != m_unsaved.end();) {
        if (it.key().first != oldName) {
            ++it;
            continue;
        }
        const QList<Field> fields = it.value();
        const QString page = it.key().second;
        it = m_unsaved.erase(it);
        m_unsaved.insert({newName, page}, fields);
    }
    QString error;
    const bool stored = m_database.write(
        [&](QSqlQuery& query) {
            // A field the new name already knew on the same page takes the renamed site's text.
            query.prepare(QStringLiteral("UPDATE OR REPLACE form_fields SET site = ? WHERE site = ?"));
            query.addBindValue(newName);
            query.addBindValue(oldName);
            return query.exec();
        },
        &error);
    if (!stored)
        emit writeFailed(error);
}
