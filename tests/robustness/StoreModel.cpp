#include "StoreModel.h"

#include "ArticleStore.h"
#include "SettingsFile.h"
#include "SiteStore.h"

#include <QCryptographicHash>

QByteArray StoreModel::digest() const
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const auto add = [&hash](const QString& text) {
        hash.addData(QByteArray::number(text.size()) + ':');
        hash.addData(text.toUtf8());
    };
    add(QString::number(sites.size()));
    for (const SiteData& site : sites) {
        add(site.name);
        add(site.url);
        add(site.user);
        add(site.password);
    }
    add(QString::number(articles.size()));
    for (const ArticleData& article : articles) {
        add(article.name);
        for (int i = 1; i <= ClauseCount; ++i) {
            add(article.items.ClauseText[i]);
            add(article.items.ClauseName[i]);
        }
        for (int j = 1; j <= ParagraphCount; ++j) {
            add(article.items.ParagraphTitle[j]);
            add(article.items.ParagraphText[j]);
        }
    }
    return hash.result().toHex();
}

StoreModel StoreModel::load(const QString& folder)
{
    SettingsFile settings(folder + QStringLiteral("defualt.ini"));
    SiteStore siteStore(settings, folder);
    ArticleStore articleStore(settings, folder);
    siteStore.LoadSiteList();
    articleStore.LoadArticleNames();

    StoreModel model;
    for (int p = 0; p < siteStore.count(); ++p) {
        const QString section = QString::number(p);
        model.sites.push_back({siteStore.siteName(p), settings.readString(section, QStringLiteral("url")),
                               settings.readString(section, QStringLiteral("User")),
                               settings.readString(section, QStringLiteral("Password"))});
    }
    for (int n = 0; n < articleStore.count(); ++n) {
        ArticleData article;
        article.name = articleStore.model()->index(n).data().toString();
        article.items = articleStore.files().read(n);
        model.articles.push_back(article);
    }
    return model;
}
