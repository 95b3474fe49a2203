// The kill test's child: performs store actions on a data folder in a loop,
// as a user would, and announces each one. Before an action it prints
// "intent <n> <digest> <action>" (the digest of the data folder once the action is
// done); after the stores returned success it prints "done <n>". The test
// kills this process at random moments and checks the files.
//
// With "--each-action <folder>" it starts up, runs each store action once and
// the exit save, printing "action <name> ok", "... nothing to do" or
// "... failed <errors>", then "unreadable <file>" for each file it could not read:
// the fault test runs it under a file size limit, as another user, or with a
// pipe in a file's place.

#include "ArticleStore.h"
#include "GeneralKeys.h"
#include "SettingsFile.h"
#include "StoreSet.h"
#include "StoredFile.h"
#include "SiteStore.h"
#include "StoreModel.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstdio>

namespace {

class Worker {
public:
    Worker(const QString& folder, quint32 seed)
        : m_settings(folder + QStringLiteral("defualt.ini")),
          m_sites(m_settings, folder),
          m_articles(m_settings, folder),
          m_random(seed)
    {
        m_sites.setArticleNameSource([this] { return m_articles.currentArticleName(); });
        m_sites.LoadSiteList();
        m_articles.LoadArticleNames();
        m_model = StoreModel::load(folder);
        m_tag = seed % 100000;
    }

    bool step(int n)
    {
        StoreModel next = m_model;
        m_touched = -1;
        const int action = int(m_random.bounded(8));
        static const char* const names[] = {"add-site",     "edit-site",    "move-site",      "delete-sites",
                                            "save-article", "edit-article", "append-article", "delete-article"};
        std::function<bool()> run;
        switch (action) {
        case 0: run = addSite(next); break;
        case 1: run = editSite(next); break;
        case 2: run = moveSite(next); break;
        case 3: run = deleteSites(next); break;
        case 4: run = saveArticle(next); break;
        case 5: run = editArticle(next, ArticleStore::EditMode::Update); break;
        case 6: run = editArticle(next, ArticleStore::EditMode::Append); break;
        default: run = deleteArticle(next); break;
        }
        if (!run)
            return true;  // not possible on this state
        // What a kill inside the action may leave: the site list changes all
        // or nothing; an article save writes its settings keys, then
        // paragraphs 1 to 3, then (rename) the list, so a prefix of those.
        QByteArrayList digests;
        if ((action == 4 || action == 5) && m_touched >= 0)
            for (const StoreModel& partial : prefixes(m_model, next, m_touched, action == 5))
                digests << partial.digest();
        digests << next.digest();
        std::printf("intent %d %s %s\n", n, digests.join(',').constData(), names[action]);
        std::fflush(stdout);
        if (!run()) {
            std::printf("failed %d\n", n);
            std::fflush(stdout);
            return false;
        }
        m_model = next;
        std::printf("done %d\n", n);
        std::fflush(stdout);
        return true;
    }

private:
    static std::vector<StoreModel> prefixes(const StoreModel& before, const StoreModel& after, int k, bool renamed)
    {
        std::vector<StoreModel> states;
        StoreModel state = before;
        ArticleBuffer& items = state.articles[size_t(k)].items;
        const ArticleBuffer& target = after.articles[size_t(k)].items;
        items.ClauseText = target.ClauseText;
        items.ClauseName = target.ClauseName;
        items.ParagraphTitle = target.ParagraphTitle;
        states.push_back(state);
        for (int j = 1; j <= ParagraphCount; ++j) {
            items.ParagraphText[j] = target.ParagraphText[j];
            states.push_back(state);
        }
        if (renamed)
            states.push_back(after);
        return states;
    }

    QString text(const char* what, int n)
    {
        return QString::fromUtf8("%1%2-%3").arg(QString::fromUtf8(what)).arg(m_tag).arg(n);
    }
    int pick(int count) { return int(m_random.bounded(count)); }

    std::function<bool()> addSite(StoreModel& next)
    {
        if (next.sites.size() >= 14)
            return {};
        const int n = ++m_counter;
        SiteData site{text("站点", n), QStringLiteral("http://127.0.0.1:9/%1").arg(n), text("用户", n),
                      text("密码", n)};
        next.sites.push_back(site);
        return [this, site] {
            m_sites.record() = TMyURL{site.name, site.url, site.user, site.password, true};
            return m_sites.StoreSite(false);
        };
    }

    std::function<bool()> editSite(StoreModel& next)
    {
        if (next.sites.empty())
            return {};
        const int p = pick(int(next.sites.size()));
        const int n = ++m_counter;
        m_sites.SelectSite(p);
        if (n % 2) {
            next.sites[size_t(p)].password = text(" 新密码 ", n);  // stored as typed
            const QString password = next.sites[size_t(p)].password;
            return [this, password] { return m_sites.SavePassword(password); };
        }
        SiteData& site = next.sites[size_t(p)];
        site =
            SiteData{text("改名站点", n), QStringLiteral("http://127.0.0.1:9/e%1").arg(n), text("u", n), text("p", n)};
        return [this, site] {
            m_sites.record() = TMyURL{site.name, site.url, site.user, site.password, true};
            return m_sites.StoreSite(true);
        };
    }

    std::function<bool()> moveSite(StoreModel& next)
    {
        if (next.sites.size() < 2)
            return {};
        const int p = pick(int(next.sites.size()));
        const int step = p == 0 ? 1 : (p + 1 == int(next.sites.size()) ? -1 : (pick(2) ? 1 : -1));
        std::swap(next.sites[size_t(p)], next.sites[size_t(p + step)]);
        m_sites.SelectSite(p);
        return [this, step] { return m_sites.MoveSite(step); };
    }

    std::function<bool()> deleteSites(StoreModel& next)
    {
        if (next.sites.size() < 4)
            return {};
        int a = pick(int(next.sites.size()));
        int b = pick(int(next.sites.size()));
        if (a > b)
            std::swap(a, b);
        m_sites.SelectSite(a);
        m_sites.selectionModel()->select(m_sites.model()->index(b), QItemSelectionModel::Select);
        if (b != a)
            next.sites.erase(next.sites.begin() + b);
        next.sites.erase(next.sites.begin() + a);
        return [this] { return m_sites.DeleteSelectedSites(); };
    }

    void show(int k) { m_articles.SelectArticle(k); }

    std::function<bool()> saveArticle(StoreModel& next)
    {
        if (next.articles.empty())
            return {};
        const int k = pick(int(next.articles.size()));
        show(k);
        const int n = ++m_counter;
        m_touched = k;
        ArticleBuffer& items = next.articles[size_t(k)].items;
        items.ClauseText[1 + pick(15)] = text("短句内容", n);
        items.ParagraphText[1 + pick(3)] = text("第一行", n) + QLatin1Char('\n') + text("第二行", n);
        ArticlePanelTexts texts{items.ClauseText, items.ParagraphText};
        return [this, texts] { return m_articles.SaveCurrentArticle(texts); };
    }

    std::function<bool()> editArticle(StoreModel& next, ArticleStore::EditMode mode)
    {
        const bool append = mode == ArticleStore::EditMode::Append;
        if (append ? next.articles.size() >= 10 : next.articles.empty())
            return {};
        const int k = append ? int(next.articles.size()) : pick(int(next.articles.size()));
        if (!append)
            show(k);
        const int n = ++m_counter;
        ArticleData article;
        article.name = text("文章", n);
        for (int i = 1; i <= ClauseCount; ++i) {
            article.items.ClauseText[i] = text("句", n * 100 + i);
            article.items.ClauseName[i] = text("名", i);
        }
        for (int j = 1; j <= ParagraphCount; ++j) {
            article.items.ParagraphTitle[j] = text("标题", n * 10 + j);
            article.items.ParagraphText[j] = text("段落", n * 10 + j) + QStringLiteral("\nline 2");
        }
        if (!append)
            m_touched = k;
        if (append)
            next.articles.push_back(article);
        else
            next.articles[size_t(k)] = article;
        return [this, article, mode] {
            ArticleBuffer& buffer = m_articles.buffer();
            buffer = article.items;
            buffer.ArticleName = article.name;
            buffer.Confirmed = true;
            return m_articles.ApplyEditedArticle(mode);
        };
    }

    std::function<bool()> deleteArticle(StoreModel& next)
    {
        if (next.articles.size() < 3)
            return {};
        const int k = pick(int(next.articles.size()));
        show(k);
        next.articles.erase(next.articles.begin() + k);
        return [this] { return m_articles.DeleteSelectedArticles(); };
    }

    SettingsFile m_settings;
    SiteStore m_sites;
    ArticleStore m_articles;
    QRandomGenerator m_random;
    StoreModel m_model;
    quint32 m_tag = 0;
    int m_counter = 0;
    int m_touched = -1;  // the article a save or rename changes in place
};

int eachActionOnce(const QString& folder)
{
    StoreSet stores(folder);
    stores.startUp();
    QStringList errors;
    QObject::connect(&stores.sites, &SiteStore::writeFailed, [&errors](const QString& e) { errors << e; });
    QObject::connect(&stores.articles, &ArticleStore::writeFailed, [&errors](const QString& e) { errors << e; });
    const auto run = [&errors](const char* name, const std::function<bool()>& action) {
        errors.clear();
        const bool ok = action();
        if (ok && errors.isEmpty())
            std::printf("action %s ok\n", name);
        else if (errors.isEmpty())
            std::printf("action %s nothing to do\n", name);
        else
            std::printf("action %s failed %s\n", name, qPrintable(errors.join(QLatin1String(" | "))));
        std::fflush(stdout);
    };
    const auto changedArticle = [&stores] {
        ArticlePanelTexts texts{stores.articles.buffer().ClauseText, stores.articles.buffer().ParagraphText};
        texts.clause[1] += QStringLiteral(" changed");
        texts.paragraph[1] += QStringLiteral(" changed");
        return texts;
    };
    run("add-site", [&] {
        stores.sites.record() = TMyURL{QStringLiteral("added"), QStringLiteral("http://127.0.0.1:9/"),
                                       QStringLiteral("u"), QStringLiteral("p"), true};
        return stores.sites.StoreSite(false);
    });
    stores.sites.SelectSite(0);
    run("edit-password", [&] { return stores.sites.SavePassword(QStringLiteral("new password")); });
    run("move-site", [&] { return stores.sites.MoveSite(1); });
    run("delete-site", [&] { return stores.sites.DeleteSelectedSites(); });
    stores.articles.SelectArticle(0);
    run("save-article", [&] { return stores.articles.SaveCurrentArticle(changedArticle()); });
    const auto edit = [&](ArticleStore::EditMode mode) {
        stores.articles.SelectArticle(0);
        stores.articles.buffer().ArticleName = QStringLiteral("edited");
        stores.articles.buffer().ParagraphText[2] = QStringLiteral("edited paragraph");
        return stores.articles.ApplyEditedArticle(mode);
    };
    run("edit-article", [&] { return edit(ArticleStore::EditMode::Update); });
    run("append-article", [&] { return edit(ArticleStore::EditMode::Append); });
    stores.articles.SelectArticle(stores.articles.count() - 1);
    run("delete-article", [&] { return stores.articles.DeleteSelectedArticles() && stores.articles.waitForFiles(); });
    // What the window does at exit: the article, then the general keys.
    stores.articles.SelectArticle(0);
    run("exit-save", [&] {
        GeneralKeys keys = GeneralKeys::read(stores.settings);
        keys.EditPanelWidth += 1;
        const bool saved = stores.articles.SaveCurrentArticle(changedArticle());
        if (!keys.write(stores.settings))
            errors << stores.settings.lastError();
        return saved;
    });
    for (const QString& file : StoredFile::unreadableFiles())
        std::printf("unreadable %s\n", qPrintable(file));
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--each-action") == 0) {
        QString folder = QString::fromLocal8Bit(argv[2]);
        return eachActionOnce(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
    }
    if (argc < 3)
        return 2;
    QString folder = QString::fromLocal8Bit(argv[1]);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const int limit = argc > 3 ? atoi(argv[3]) : 1000000;
    Worker worker(folder, quint32(strtoul(argv[2], nullptr, 10)));
    std::printf("ready\n");
    std::fflush(stdout);
    for (int n = 1; n <= limit; ++n)
        if (!worker.step(n))
            return 1;
    return 0;
}
