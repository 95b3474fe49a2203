#pragma once

#include <QString>

#include <chrono>

class QObject;

// The update query: the program tells the vendor's site its edition and version
// once per run. A plain GET of its own: no browser page, so nothing in the answer
// runs, and no cookies, so the user's site logins never travel with it.

// "%s?v=%s&n=%1.1f": the update address, the edition text (percent-encoded, so it
// cannot add parameters of its own) and the version with one decimal.
QString updateQueryUrl(const QString& updateAddress, const QString& editionText, double version);

// Sends this program's query (the edition text, version 2.3) to `updateAddress`,
// following redirects; the answer is never read. The request lives in a child of
// `owner` named "UpdateQuery", which goes once the query has ended, answered or
// failed, or after `limit` if it hangs. Returns that child.
QObject* sendUpdateQuery(QObject* owner, const QString& updateAddress, const QString& editionText = QString(),
                         std::chrono::milliseconds limit = std::chrono::seconds(30));

// sendUpdateQuery to the program's update address.
QObject* CheckForUpdate(QObject* owner, const QString& editionText = QString());
