// The yardstick of the start-up benchmark: a bare QWebEngineView that loads
// one page and says so, with nothing else in the window.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWebEngineView view;
    QObject::connect(&view, &QWebEngineView::loadFinished, [] {
        std::printf("bare ready\n");
        std::fflush(stdout);
    });
    view.load(QUrl(QString::fromLocal8Bit(argv[1])));
    view.showMaximized();
    return app.exec();
}
