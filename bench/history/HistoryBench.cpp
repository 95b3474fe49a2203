// The posting round at scale: 10,000 sites, 2,000 articles and 100,000 posts.
// Prints the median of each measure, then one "figure <name> <value> <unit>"
// per figure, for scripts.
#include "HistoryDatabase.h"
#include "MedianTime.h"
#include "PostHistory.h"
#include "PostRound.h"
#include "TFrmPostRound.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void fill(HistoryDatabase& database, const QStringList& sites, const QStringList& articles, int posts)
{
    QRandomGenerator random(7);
    QString error;
    database.write(
        [&](QSqlQuery& query) {
            query.prepare(QStringLiteral("INSERT INTO posts (site, article, posted_at, form_url, post_url)"
                                         " VALUES (?, ?, '2026-11-01T10:00:00Z', ?, ?)"));
            for (int i = 0; i < posts; ++i) {
                const QString site = sites.at(random.bounded(sites.size()));
                query.addBindValue(site);
                query.addBindValue(articles.at(random.bounded(articles.size())));
                query.addBindValue(QStringLiteral("http://%1.example/post").arg(site));
                query.addBindValue(QStringLiteral("http://%1.example/thread/%2").arg(site).arg(i));
                if (!query.exec())
                    return false;
            }
            return true;
        },
        &error);
    if (!error.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(error));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int siteCount = 10000, articleCount = 2000, postCount = 100000, runs = 21;
    QStringList sites, articles;
    for (int i = 0; i < siteCount; ++i)
        sites << QStringLiteral("站点%1").arg(i);
    for (int i = 0; i < articleCount; ++i)
        articles << QStringLiteral("文章%1").arg(i);

    QTemporaryDir folder;
    HistoryDatabase database(folder.path());
    if (!database.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(database.problem()));
        return 1;
    }
    fill(database, sites, articles, postCount);
    PostHistory history(database);

    int article = 0, current = 0;
    PostRound::Hooks hooks;
    hooks.siteNames = [&] { return sites; };
    hooks.currentSite = [&] { return current; };
    hooks.currentArticle = [&] { return articles.at(article); };
    hooks.selectSite = [&](int position) { current = position; };
    hooks.openInNewTab = [](const QString&) {};
    QWidget mainWindow;
    PostRound round(history, hooks, &mainWindow);

    const double firstOpen = medianMs(1, [&] {
        round.showWindow();
        QApplication::processEvents();
    });
    const double open = medianMs(runs, [&] {
        round.window()->hide();
        round.showWindow();
        QApplication::processEvents();  // laid out and painted
    });
    const double switchArticle = medianMs(runs, [&] {
        article = (article + 1) % articleCount;
        round.refresh();
        QApplication::processEvents();
    });
    const double next = medianMs(runs, [&] {
        round.nextSite();
        QApplication::processEvents();
    });
    const double record = medianMs(runs, [&] {
        history.recordPost(sites.at(current), articles.at(article), QStringLiteral("http://a.example/post"),
                           QStringLiteral("http://a.example/thread/1"));
        QApplication::processEvents();  // the shown round follows
    });

    std::printf("sites %d, articles %d, posts %d, median of %d\n", siteCount, articleCount, postCount, runs);
    std::printf("figure round_window_first_open %.2f ms\n", firstOpen);
    std::printf("figure round_window_open %.2f ms\n", open);
    std::printf("figure round_switch_article %.2f ms\n", switchArticle);
    std::printf("figure round_next_site %.2f ms\n", next);
    std::printf("figure post_record %.2f ms\n", record);
    return 0;
}
