#include "BrowserProfile.h"

#include "SubmitWatch.h"
#include "TBrowserPage.h"

#include <QDir>
#include <QFile>
#include <QWebEngineProfile>

BrowserProfile::BrowserProfile(const QString& storageFolder, QObject* parent)
    : QObject(parent), m_storageFolder(QDir::cleanPath(storageFolder))
{
    // The folder holds login cookies: readable by its owner only, like the data folder.
    QDir().mkpath(m_storageFolder);
    QFile::setPermissions(m_storageFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // A named profile is disk-based; Qt's default profile is off the record.
    m_profile = new QWebEngineProfile(storageName());
    m_profile->setPersistentStoragePath(m_storageFolder);
    m_profile->setCachePath(m_storageFolder + QStringLiteral("/Cache"));
    m_profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    // Cookies a site marks as lasting are kept; session cookies end with the run, as the
    // site intended.
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    SubmitWatch::installClickNote(m_profile);
}

BrowserProfile::~BrowserProfile()
{
    releasePages();
    delete m_profile;
}

QString BrowserProfile::storageName() { return QStringLiteral("QVBzevi"); }

TBrowserPage* BrowserProfile::createPage(QObject* parent)
{
    m_pages.removeAll(QPointer<TBrowserPage>());
    auto* page = new TBrowserPage(m_profile, parent);
    m_pages.append(page);
    emit pageCreated(page);
    return page;
}

int BrowserProfile::livePageCount() const
{
    int live = 0;
    for (const QPointer<TBrowserPage>& page : m_pages)
        live += page ? 1 : 0;
    return live;
}

void BrowserProfile::releasePages()
{
    const QList<QPointer<TBrowserPage>> pages = m_pages;
    m_pages.clear();
    for (const QPointer<TBrowserPage>& page : pages)
        delete page.data();
}
