#pragma once

#include "SiteSection.h"
#include "TMyURL.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

class QItemSelectionModel;
class QStringListModel;
class SettingsFile;

// The site book: the names in SDUrl.txt, each site's URL, user name and
// password in the settings file section of its position, and one identifier
// per pair of site and article (section = site name, key = article name).
//
// The list on screen is a view over model() and selectionModel(): the
// selected items and the current item. The current site is the current item.
// The store never touches a widget; it reports what to show and to open
// through its signals, and every failed write through writeFailed().
class SiteStore : public QObject {
    Q_OBJECT
public:
    using ArticleNameSource = std::function<QString()>;

    SiteStore(SettingsFile& settings, const QString& dataFolder, QObject* parent = nullptr);
    ~SiteStore() override;

    // The name of the current article; empty when there is none.
    void setArticleNameSource(ArticleNameSource source) { m_articleName = std::move(source); }

    QStringListModel* model() const { return m_model; }
    QItemSelectionModel* selectionModel() const { return m_selection; }
    TMyURL& record() { return m_record; }
    const TMyURL& record() const { return m_record; }

    int count() const;
    int currentPosition() const;  // -1 when the list has no current item
    QString siteName(int position) const;
    QStringList siteNames() const;
    QList<int> selectedPositions() const;  // ascending
    QString siteListPath() const { return m_listPath; }
    // True while the store itself moves the current item or the marks, so a
    // view's change signals can tell the user's moves from the store's.
    bool isUpdatingSelection() const { return m_selectionUpdates > 0; }

    // Why a site cannot be stored so that it reads back the same (its name
    // must serve as a section name of the settings file), or empty when it can.
    static QString siteProblem(const TMyURL& site);

    void LoadSiteList();
    // SDUrl.txt holds the last change: the copy of the names goes (at load
    // and at exit; between two changes of ours it stays, which costs no
    // extra rewrite per change).
    bool forgetFinishedChange();
    // The address SelectSite(k) would open, empty when it would open none.
    QString addressToOpen(int k) const;
    void SelectSite(int k);
    // Fills the record from the current item and opens it, leaving the marks.
    void FillCurrentSite();
    // Stores the record as a new last site or over the current one. False when
    // nothing was stored (refused name, failed write): the list stays as it was.
    bool StoreSite(bool update);
    bool DeleteSelectedSites();
    bool MoveSite(int step);
    bool SaveUserName(const QString& fieldText);
    bool SavePassword(const QString& fieldText);
    void LoadSiteArticleId();
    bool SaveSiteArticleId(const QString& text);

    // Asks the window to open a URL in the current tab (the add flow).
    void openUrl(const QString& url) { emit urlToOpen(url); }

signals:
    void urlToOpen(const QString& url);  // NavigateCurrent
    void addressToShow(const QString& url);  // EditCurURL
    void credentialsChanged(const QString& userName, const QString& password);  // the row
    void siteArticleIdLoaded(const QString& text);  // EdtSiteArtID
    void writeFailed(const QString& error);  // "<file>: <reason>"
    // An edited site was stored under a new name.
    void siteRenamed(const QString& oldName, const QString& newName);

private:
    class SelectionUpdate;
    // The sections a change writes, from its first position on.
    using SectionValues = std::vector<SiteSection::Values>;
    // Writes the sections that `sections` gives (called inside the batch, so
    // its reads see one file) from position `from` on, in one batch with the
    // name copy, then SDUrl.txt. The copy also covers the sections up to `to`
    // that a shorter list leaves behind. False when the settings file refused:
    // then nothing changed on disk.
    bool commitSites(const QStringList& names, int from, int to, const std::function<SectionValues()>& sections);
    void writeNameList(const QStringList& names);
    bool saveSiteValue(const QString& key, const QString& value);
    void fill(int position);
    void markOnly(int position);
    bool reportSettingsFailure();
    bool listIsWritable();

    SettingsFile& m_settings;
    QString m_listPath;
    QStringListModel* m_model;
    QItemSelectionModel* m_selection;
    TMyURL m_record;
    ArticleNameSource m_articleName;
    QStringList m_namesOnDisk;  // what SDUrl.txt holds
    bool m_listBehind = false;  // SDUrl.txt could not follow the last change
    int m_selectionUpdates = 0;
};
