#pragma once

#include <QString>

// The current site record: what Ctrl+U and Ctrl+W paste, and what the site
// editor shows and fills. One instance for the whole program, owned by the
// site store.
struct TMyURL {
    QString siteName;
    QString url;
    QString userName;
    QString password;
    bool confirmed = false;  // set by the site editor: true when closed with its confirm button
};
