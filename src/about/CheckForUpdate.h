#pragma once

#include <QString>

#include <chrono>

class QWebEngineView;

// The update query: the program tells the vendor's site its edition and version
// once per run; the answer is loaded into a browser that stays out of sight.

// "%s?v=%s&n=%1.1f": the update address, the edition text (percent-encoded, so it
// cannot add parameters of its own) and the version with one decimal.
QString updateQueryUrl(const QString& updateAddress, const QString& editionText, double version);

// Navigates `browser` to the update query for this program (update address,
// the edition text, version 2.3). The answer is never read.
void CheckForUpdate(QWebEngineView* browser, const QString& editionText = QString());

// CheckForUpdate, then deletes `browser` (made with new) once the query has ended,
// loaded or failed, or after `limit` if it hangs: its page keeps a renderer process
// of its own for as long as it lives, and nothing reads the answer.
void CheckForUpdateThenRelease(QWebEngineView* browser, std::chrono::milliseconds limit = std::chrono::seconds(30));
