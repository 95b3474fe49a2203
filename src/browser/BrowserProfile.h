#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWebEngineProfile;
class TBrowserPage;

// The program's one persistent browser profile: cookies, logins and the cache live in a
// folder the caller names (the main window passes "<data folder>/browser/"), so users stay
// logged in to their sites across restarts.
//
// The engine requires every page to be gone before its profile. This object keeps track of
// the pages it made and deletes any that still live before it deletes the profile, so its
// owner may destroy it at any point of the shutdown without caring about the order.
class BrowserProfile : public QObject {
    Q_OBJECT
public:
    explicit BrowserProfile(const QString& storageFolder, QObject* parent = nullptr);
    ~BrowserProfile() override;

    static QString storageName();  // the profile's name inside the storage folder

    QWebEngineProfile* profile() const { return m_profile; }
    QString storageFolder() const { return m_storageFolder; }

    // A page on this profile, owned by `parent`, tracked for the release at shutdown.
    TBrowserPage* createPage(QObject* parent);
    int livePageCount() const;
    // Deletes every page made here that still lives. Their views stay, showing nothing.
    void releasePages();

signals:
    // A page was made: whoever follows every page (the posting history) connects here.
    void pageCreated(TBrowserPage* page);

private:
    void leaveNothingAtDefaultPlace() const;

    QString m_storageFolder;
    QWebEngineProfile* m_profile = nullptr;
    QList<QPointer<TBrowserPage>> m_pages;
};
