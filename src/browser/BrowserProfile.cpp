#include "BrowserProfile.h"

#include "FormFieldLocator.h"
#include "SubmitWatch.h"
#include "TBrowserPage.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QWebEngineProfile>

BrowserProfile::BrowserProfile(const QString& storageFolder, QObject* parent)
    : QObject(parent), m_storageFolder(QDir::cleanPath(storageFolder))
{
    // The folder holds login cookies: readable by its owner only, like the data folder.
    QDir().mkpath(m_storageFolder);
    QFile::setPermissions(m_storageFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // A named profile is disk-based; Qt's default profile is off the record.
    m_profile = new QWebEngineProfile(storageName());
    leaveNothingAtDefaultPlace();
    m_profile->setPersistentStoragePath(m_storageFolder);
    m_profile->setCachePath(m_storageFolder + QStringLiteral("/Cache"));
    m_profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    // Cookies a site marks as lasting are kept; session cookies end with the run, as the
    // site intended.
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    SubmitWatch::installClickNote(m_profile);
    FormFieldLocator::installPressNote(m_profile);
}

// The engine makes a new profile's folder in the per-user data folder and,
// once the profile moves to its own folder, writes its settings file into the
// folder it leaves. Removed first, while still empty, that folder gets nothing:
// everything of the profile stays in the storage folder.
void BrowserProfile::leaveNothingAtDefaultPlace() const
{
    const QString perUserFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir folder(m_profile->persistentStoragePath());
    if (perUserFolder.isEmpty() || !folder.absolutePath().startsWith(perUserFolder + QLatin1Char('/')))
        return;
    // Only empty folders go (rmdir), up to the per-user folder itself.
    while (folder.absolutePath().startsWith(perUserFolder) && QDir().rmdir(folder.absolutePath()))
        if (!folder.cdUp())
            break;
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
