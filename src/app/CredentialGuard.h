#pragma once

#include "HotkeyDispatcher.h"
#include "HotkeyTarget.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>

class QUrl;
class QWebEnginePage;
class QWidget;

// Where the current site's user name and password may go. A credential is
// pasted into a page (or a frame of it) of the site of the current site's
// stored address: same scheme and registrable domain (WebSite). Anywhere else
// the user is asked first, naming both, No by default; a Yes may be kept for
// that pair of sites for the rest of the run (a site that logs in on another
// domain then asks once) and forgotten. A dialog or window a page opened
// (alert, confirm, prompt, a file chooser) never gets one. The program's own
// fields are not pages: they take what the user pastes, as before.
class CredentialGuard : public QObject {
    Q_OBJECT
public:
    struct CurrentSite {
        QString name;
        QString address;  // as stored: may lack its scheme
    };
    CredentialGuard(QWidget* dialogParent, std::function<CurrentSite()> currentSite, QObject* parent = nullptr);

    // The dispatcher's gate for Ctrl+U and Ctrl+W.
    void checkHotkey(HotkeyTarget target, QWidget* receiver, HotkeyDispatcher::Paste paste);
    // For a fill of `page`'s main frame: whether its credentials may go in
    // (asking when the page is of another site).
    bool mayFill(QWebEnginePage* page, HotkeyTarget target);
    // Checked again at the paste key: the page still shows `site`.
    static std::function<bool()> staysOn(QWebEnginePage* page, const QString& site);

    // Forgets every pair of sites kept; false when none was.
    bool forgetKept();

    // A dialog or window a page opened (its parent is a web view).
    static bool isPageMadeWindow(const QWidget* widget);

signals:
    // Why a credential was not pasted, for the hint line.
    void refused(const QString& reason);

private:
    QString ownSite() const;
    // Asks about `other` (an address or a site) unless the pair is kept.
    bool mayGoTo(HotkeyTarget target, const QString& otherSite);

    QPointer<QWidget> m_dialogParent;
    std::function<CurrentSite()> m_currentSite;
    QSet<QString> m_kept;  // "<own site> <other site>"
};
