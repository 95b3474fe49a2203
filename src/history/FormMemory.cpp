#include "FormMemory.h"

#include "HistoryDatabase.h"

#include <QMap>
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
        QStringLiteral("SELECT f.locator, f.target, coalesce(m.form, 0) FROM form_fields f LEFT JOIN form_field_forms m"
                       " ON m.site = f.site AND m.page = f.page AND m.locator = f.locator"
                       " WHERE f.site = ? AND f.page = ? ORDER BY f.position"));
    query.addBindValue(site);
    query.addBindValue(page);
    if (query.exec())
        while (query.next())
            fields << Field{query.value(0).toString(), FormTarget::fromKey(query.value(1).toString()),
                            query.value(2).toInt()};
    return fields;
}

QList<QList<FormMemory::Field>> FormMemory::formsOf(const QString& site, const QString& page) const
{
    QMap<int, QList<Field>> byNumber;
    for (const Field& field : fieldsOf(site, page))
        byNumber[field.form] << field;
    return byNumber.values();
}

int FormMemory::remember(const QString& site, const QString& page, Field field, int learning)
{
    QList<Field> fields = fieldsOf(site, page);
    const auto known =
        std::find_if(fields.cbegin(), fields.cend(), [&field](const Field& f) { return f.locator == field.locator; });
    int newest = -1;
    for (const Field& f : std::as_const(fields))
        newest = std::max(newest, f.form);
    field.form = learning >= 0 ? learning : known != fields.cend() ? known->form : newest + 1;
    fields.erase(
        std::remove_if(fields.begin(), fields.end(), [&field](const Field& f) { return f.locator == field.locator; }),
        fields.end());
    fields << field;
    store(site, page, fields);
    emit taught(site, page, fields);
    return field.form;
}

bool FormMemory::forgetPage(const QString& site, const QString& page)
{
    if (fieldsOf(site, page).isEmpty())
        return false;
    store(site, page, {});
    emit taught(site, page, {});
    return true;
}

void FormMemory::adopt(const QString& site, const QString& page, const QList<Field>& fields)
{
    store(site, page, fields);
}

// The page's fields are written whole, in one transaction.
void FormMemory::store(const QString& site, const QString& page, const QList<Field>& fields)
{
    QString error;
    const bool stored = m_database.write(
        [&](QSqlQuery& query) {
            for (const char* table : {"form_fields", "form_field_forms"}) {
                query.prepare(QStringLiteral("DELETE FROM %1 WHERE site = ? AND page = ?").arg(QLatin1String(table)));
                query.addBindValue(site);
                query.addBindValue(page);
                if (!query.exec())
                    return false;
            }
            for (int position = 0; position < fields.size(); ++position) {
                query.prepare(QStringLiteral(
                    "INSERT INTO form_fields (site, page, position, locator, target) VALUES (?, ?, ?, ?, ?)"));
                query.addBindValue(site);
                query.addBindValue(page);
                query.addBindValue(position);
                query.addBindValue(fields.at(position).locator);
                query.addBindValue(fields.at(position).target.key());
                if (!query.exec())
                    return false;
                if (fields.at(position).form == 0)
                    continue;
                query.prepare(
                    QStringLiteral("INSERT INTO form_field_forms (site, page, locator, form) VALUES (?, ?, ?, ?)"));
                query.addBindValue(site);
                query.addBindValue(page);
                query.addBindValue(fields.at(position).locator);
                query.addBindValue(fields.at(position).form);
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
            for (const char* table : {"form_fields", "form_field_forms"}) {
                query.prepare(
                    QStringLiteral("UPDATE OR REPLACE %1 SET site = ? WHERE site = ?").arg(QLatin1String(table)));
                query.addBindValue(newName);
                query.addBindValue(oldName);
                if (!query.exec())
                    return false;
            }
            return true;
        },
        &error);
    if (!stored)
        emit writeFailed(error);
}
