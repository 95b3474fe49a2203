#pragma once

#include <QString>
#include <QUrl>

class QWebEngineView;

// The program's own help page, shipped in its resources (works offline).
QUrl offlineHelpUrl();

// Shows the online help in `view`; whenever that address cannot be reached (the
// load fails, or the server answers with an HTTP error) the view shows the
// shipped help page instead, so a new user never meets a browser error page.
// A blank address shows the shipped page at once. Later navigations in the view
// (links the user follows) are left alone.
void showHelpWithFallback(QWebEngineView* view, const QString& onlineAddress);
