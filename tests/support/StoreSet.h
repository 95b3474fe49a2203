#pragma once

#include "ArticleStore.h"
#include "GeneralKeys.h"
#include "SettingsFile.h"
#include "SiteStore.h"

#include <QString>

// The three stores as the main window holds them, on one data folder, for
// tests and benchmarks that work without a window. Header only: users link
// qvb_sites_core and qvb_articles_core themselves.
struct StoreSet {
    explicit StoreSet(const QString& folder)
        : settings(folder + QStringLiteral("defualt.ini")), sites(settings, folder), articles(settings, folder)
    {
        sites.setArticleNameSource([this] { return articles.currentArticleName(); });
    }

    // The start-up order of the main window: the article before the site.
    void startUp()
    {
        sites.LoadSiteList();
        articles.LoadArticleNames();
        const GeneralKeys stored = GeneralKeys::read(settings);
        articles.SelectArticle(stored.SoftwareInd);
        sites.SelectSite(stored.SiteInd);
    }

    SettingsFile settings;
    SiteStore sites;
    ArticleStore articles;
};
