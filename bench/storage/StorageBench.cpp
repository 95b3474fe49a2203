// Times the site and article stores on generated data folders of growing size
// and prints, per action, milliseconds and bytes written. The last lines are
// one "figure <name> <value> <unit>" per figure, for scripts.

#include "ArticleStore.h"
#include "DataSetGenerator.h"
#include "SettingsFile.h"
#include "SiteStore.h"
#include "StoreSet.h"
#include "StoredFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>

#include <unistd.h>

namespace {

struct Result {
    QString name;
    double ms = 0;
    qint64 bytes = 0;
    int rewrites = 0;
    int files = 0;
    double firstMs = -1;  // the first run, on sections not yet read
    double settledMs = -1;  // until the work the action left to a worker thread is done
};

// The stores as the main window holds them.
struct Stores : StoreSet {
    using StoreSet::StoreSet;
    ArticlePanelTexts panelTexts() const { return {articles.buffer().ClauseText, articles.buffer().ParagraphText}; }
};

// Counts the bytes of every file the stores write besides the settings file
// (which counts its own), through the file layer's test hook.
class WriteCounter {
public:
    WriteCounter()
    {
        StoredFile::setWriteFault([this](const QString& path) {
            if (!path.endsWith(QLatin1String("defualt.ini")))
                m_paths << path;
            return QString();
        });
    }
    ~WriteCounter() { StoredFile::setWriteFault({}); }
    void reset() { m_paths.clear(); }
    qint64 bytes() const
    {
        qint64 total = 0;
        for (const QString& path : m_paths)
            total += QFileInfo(path).size();
        return total;
    }
    int files() const { return int(m_paths.size()); }

private:
    QStringList m_paths;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs `prepare` (untimed) and `action` (timed) `repeat` times; reports the
// median time and the writes of the last run. With `settle`, also the median
// time until it returns, and the time of the first run.
Result measure(const QString& name, Stores& stores, WriteCounter& counter, int repeat,
               const std::function<void()>& prepare, const std::function<bool()>& action,
               const std::function<void()>& settle = {})
{
    Result result;
    result.name = name;
    std::vector<double> times;
    std::vector<double> settledTimes;
    for (int r = 0; r < repeat; ++r) {
        if (prepare)
            prepare();
        // The write-back of the runs before would otherwise land in this one's
        // flush to disk: a user does not delete a thousand files every 100 ms.
        ::sync();
        counter.reset();
        const qint64 bytesBefore = stores.settings.bytesWritten();
        const int rewritesBefore = stores.settings.rewriteCount();
        QElapsedTimer timer;
        timer.start();
        const bool ok = action();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (settle) {
            settle();
            settledTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        if (!ok)
            qWarning("%s failed: %s", qPrintable(name), qPrintable(stores.settings.lastError()));
        result.bytes = stores.settings.bytesWritten() - bytesBefore + counter.bytes();
        result.rewrites = stores.settings.rewriteCount() - rewritesBefore;
        result.files = counter.files();
    }
    result.ms = median(times);
    if (settle) {
        result.settledMs = median(settledTimes);
        result.firstMs = times.front();
    }
    return result;
}

std::vector<Result> runScale(int sites, int articles, int repeat, QTextStream& out)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    DataSetShape shape;
    shape.sites = sites;
    shape.articles = articles;
    shape.storedSite = sites / 2;
    shape.storedArticle = articles / 2;
    QElapsedTimer generation;
    generation.start();
    if (!DataSetGenerator::write(folder, shape)) {
        out << "could not write the data set to " << folder << Qt::endl;
        return {};
    }
    out << "data set: " << sites << " sites, " << articles << " articles, settings file "
        << QFileInfo(folder + QStringLiteral("defualt.ini")).size() / 1024 << " KiB, made in " << generation.elapsed()
        << " ms" << Qt::endl;

    std::vector<Result> results;
    WriteCounter counter;
    std::unique_ptr<Stores> stores;
    {
        // Start-up: a fresh settings file object and both stores each time.
        std::vector<double> times;
        for (int r = 0; r < repeat; ++r) {
            stores.reset();
            QElapsedTimer timer;
            timer.start();
            stores = std::make_unique<Stores>(folder);
            stores->startUp();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        results.push_back({QStringLiteral("startup_load"), median(times), 0, 0, 0});
    }
    Stores& s = *stores;
    int selectTarget = 0;
    results.push_back(measure(
        QStringLiteral("select_site"), s, counter, repeat, [&] { selectTarget = (selectTarget + sites / 3) % sites; },
        [&] {
            s.sites.SelectSite(selectTarget);
            return true;
        }));
    int added = 0;
    results.push_back(measure(
        QStringLiteral("store_site_add"), s, counter, repeat,
        [&] {
            TMyURL& record = s.sites.record();
            record.siteName = QString::fromUtf8("新加网站%1").arg(++added);
            record.url = QStringLiteral("http://127.0.0.1:9/new%1").arg(added);
            record.userName = QString::fromUtf8("新用户");
            record.password = QStringLiteral("pw");
        },
        [&] { return s.sites.StoreSite(false); }));
    int step = 1;
    results.push_back(measure(
        QStringLiteral("move_site"), s, counter, repeat,
        [&] {
            s.sites.SelectSite(sites / 2);
            step = -step;
        },
        [&] { return s.sites.MoveSite(step); }));
    results.push_back(measure(
        QStringLiteral("delete_first_site"), s, counter, repeat, [&] { s.sites.SelectSite(0); },
        [&] { return s.sites.DeleteSelectedSites(); }));
    // A save after an edit: one clause and one paragraph differ from what is stored.
    int edit = 0;
    ArticlePanelTexts edited;
    results.push_back(measure(
        QStringLiteral("save_current_article"), s, counter, repeat,
        [&] {
            s.articles.SelectArticle(articles / 2);
            edited = s.panelTexts();
            edited.clause[3] += QString::number(++edit);
            edited.paragraph[2] += QString::number(edit);
        },
        [&] { return s.articles.SaveCurrentArticle(edited); }));
    results.push_back(measure(
        QStringLiteral("delete_first_article"), s, counter, repeat, [&] { s.articles.SelectArticle(0); },
        [&] { return s.articles.DeleteSelectedArticles(); }, [&] { s.articles.waitForFiles(); }));
    return results;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times the site and article stores at scale."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("sites"), QStringLiteral("Site counts, comma separated."), QStringLiteral("list"),
                      QStringLiteral("1000,10000")});
    parser.addOption({QStringLiteral("articles"), QStringLiteral("Number of articles."), QStringLiteral("n"),
                      QStringLiteral("2000")});
    parser.addOption({QStringLiteral("repeat"), QStringLiteral("Runs per action (median)."), QStringLiteral("n"),
                      QStringLiteral("5")});
    parser.process(app);

    QTextStream out(stdout);
    const int articles = parser.value(QStringLiteral("articles")).toInt();
    const int repeat = std::max(1, parser.value(QStringLiteral("repeat")).toInt());
    QStringList figures;
    for (const QString& count : parser.value(QStringLiteral("sites")).split(QLatin1Char(','))) {
        const int sites = count.toInt();
        if (sites <= 0)
            continue;
        const std::vector<Result> results = runScale(sites, articles, repeat, out);
        out << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(QStringLiteral("action"), -24)
                   .arg(QStringLiteral("ms"), 10)
                   .arg(QStringLiteral("bytes"), 12)
                   .arg(QStringLiteral("rewrites"), 9)
                   .arg(QStringLiteral("files"), 6)
            << Qt::endl;
        for (const Result& r : results) {
            out << QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(r.name, -24)
                       .arg(r.ms, 10, 'f', 2)
                       .arg(r.bytes, 12)
                       .arg(r.rewrites, 9)
                       .arg(r.files, 6)
                << Qt::endl;
            figures << QStringLiteral("figure %1_%2 %3 ms").arg(r.name).arg(sites).arg(r.ms, 0, 'f', 2);
            if (r.name != QLatin1String("startup_load"))
                figures << QStringLiteral("figure %1_bytes_%2 %3 bytes").arg(r.name).arg(sites).arg(r.bytes);
            if (r.settledMs >= 0) {
                out << QStringLiteral("%1 %2   first run; files in place after %3 ms")
                           .arg(QString(), -24)
                           .arg(r.firstMs, 10, 'f', 2)
                           .arg(r.settledMs, 0, 'f', 2)
                    << Qt::endl;
                figures
                    << QStringLiteral("figure %1_first_%2 %3 ms").arg(r.name).arg(sites).arg(r.firstMs, 0, 'f', 2)
                    << QStringLiteral("figure %1_settled_%2 %3 ms").arg(r.name).arg(sites).arg(r.settledMs, 0, 'f', 2);
            }
        }
        out << Qt::endl;
    }
    for (const QString& figure : figures)
        out << figure << Qt::endl;
    return 0;
}
