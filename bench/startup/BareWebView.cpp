// The yardstick of the start-up benchmark: a bare QWebEngineView that loads
// one page and says so, with nothing else in the window.
//   qvb_bench_bareview <url> [<profile folder>]
// Without a folder the view uses Qt's default profile, which is off the record;
// with one it keeps cookies and cache on disk there, as the program's profile does.
#include <QApplication>
#include <QScreen>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWebEngineProfile* profile = nullptr;
    if (argc > 2) {
        const QString folder = QString::fromLocal8Bit(argv[2]);
        profile = new QWebEngineProfile(QStringLiteral("Bare"), &app);
        profile->setPersistentStoragePath(folder);
        profile->setCachePath(folder + QStringLiteral("/Cache"));
        profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    }
    QWebEngineView view;
    if (profile)
        view.setPage(new QWebEnginePage(profile, &view));
    QObject::connect(&view, &QWebEngineView::loadFinished, [] {
        std::printf("bare ready\n");
        std::fflush(stdout);
    });
    view.load(QUrl(QString::fromLocal8Bit(argv[1])));
    // The same window area as the program's: without a window manager "maximised"
    // leaves a small default window, and a smaller window costs less to paint.
    if (QScreen* screen = view.screen())
        view.setGeometry(screen->availableGeometry());
    view.showMaximized();
    return app.exec();
}
