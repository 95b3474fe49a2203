#pragma once

#include <QString>

// "New Browser": the caption of a tab made for a page's new window until its title arrives.
QString NewBrowserCaption();
// "about:blank": the first tab's caption as built, and what a closed page window shows.
QString BlankPageAddress();

// The tab caption for a page title: a title of at most 10 UTF-16 units is used whole,
// a longer one is cut to its first 11 units followed by "...".
QString TabCaptionForTitle(const QString& title);

// The window caption before any page title: product name and version, "QVB信息zevi2.3".
QString BaseWindowCaption();
// The window caption for a page title: "%s%1.1f - %s", e.g. "QVB信息zevi2.3 - Title".
QString WindowCaptionForTitle(const QString& title);

// A tooltip that shows a page's text as it is: Qt would take a text that looks
// like markup ("<img src=...>") as rich text.
QString PlainTextToolTip(const QString& text);
