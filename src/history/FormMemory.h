#pragma once

#include "FormTarget.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class HistoryDatabase;
class QUrl;

// Where each text goes on a site's form, learnt from the user's own pastes:
// per site (by name, as the posting history keeps sites) and page, the fields
// in the order they were filled, each with the text it takes ("clause 3").
// Only which text goes where is kept, never a text. A page the database could
// not take is remembered for the session, and the failure is reported.
class FormMemory : public QObject {
    Q_OBJECT
public:
    struct Field {
        QString locator;  // the page's field, as the browser finds it again
        FormTarget target;  // which text it takes
        int form = 0;  // which of the page's forms it belongs to
    };

    explicit FormMemory(HistoryDatabase& database, QObject* parent = nullptr);

    // The page of an address: without its query, fragment and user info.
    static QString pageOf(const QUrl& address);

    // Every field of the page, in the order they were filled.
    QList<Field> fieldsOf(const QString& site, const QString& page) const;
    // The page's forms (one address may hold a login form and a posting
    // form), each in its fill order, by form number.
    QList<QList<Field>> formsOf(const QString& site, const QString& page) const;
    // A paste of `field.target` into the field: a field filled before takes
    // its new text and moves to the end of the order. `learning` is the form
    // the same page load has taught so far (-1: none yet): the field joins
    // it; else a field known before stays in its form, and a new one starts
    // a form of its own. Returns the form the field is in now.
    int remember(const QString& site, const QString& page, Field field, int learning = -1);
    // True when there was something to forget.
    bool forgetPage(const QString& site, const QString& page);
    // A page's fields as someone else taught them (a teammate): kept as
    // they are, without a taught() signal.
    void adopt(const QString& site, const QString& page, const QList<Field>& fields);
    void renameSite(const QString& oldName, const QString& newName);
    // The database was replaced (an import): what only this session knew goes.
    void reload() { m_unsaved.clear(); }

signals:
    // A write failed: "<path>: <reason>".
    void writeFailed(const QString& error);
    // The user taught or forgot a page: its fields now, whole (none: forgotten).
    void taught(const QString& site, const QString& page, const QList<FormMemory::Field>& fields);

private:
    QList<Field> storedFieldsOf(const QString& site, const QString& page) const;
    void store(const QString& site, const QString& page, const QList<Field>& fields);

    HistoryDatabase& m_database;
    QHash<QPair<QString, QString>, QList<Field>> m_unsaved;  // site and page, not in the database
};
