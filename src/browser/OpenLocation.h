#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Hands a web address or a local path to the desktop (the user's default browser, the
// file manager, or the program registered for a file), outside this application. The one
// way the program opens anything outside itself: the main window and the about window
// open the vendor's home page through it.

// What OpenLocation would open for `location`; an invalid QUrl when the location is refused.
// Accepted: an address of the http or https scheme (opened unchanged), text without any
// colon (a bare host name, opened as "http://" + text), an existing local file or folder.
// Refused: anything else with a colon, such as another scheme or a path that does not exist.
QUrl OpenLocationTarget(const QString& location);

// Opens `location` as OpenLocationTarget decides; false when refused or the desktop failed.
bool OpenLocation(const QString& location);

// The desktop opener, QDesktopServices::openUrl unless replaced (tests record instead).
using LocationOpener = std::function<bool(const QUrl&)>;
void SetLocationOpener(LocationOpener opener);  // an empty opener restores the desktop's

// Hands a page's link of a scheme the browser does not handle itself to the
// desktop, as it is; only once the user said yes (TWebbrowser asks).
bool OpenExternalLink(const QUrl& link);
