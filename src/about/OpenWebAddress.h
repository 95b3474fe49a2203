#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Opening the vendor's pages in the user's default web browser.

// The address as it is handed to the browser: "http://" in front unless it
// already names a scheme ("://" anywhere in it). Blank gives an empty text.
QString webAddressFor(const QString& address);

// Opens the address in the default web browser; false when it is blank or the
// desktop could not open it. Failures stay silent beyond the return value.
bool OpenWebAddress(const QString& address);

// What actually opens a URL (QDesktopServices::openUrl unless replaced); tests
// install a recorder. An empty function restores the desktop opener.
using WebAddressOpener = std::function<bool(const QUrl&)>;
void setWebAddressOpener(WebAddressOpener opener);
