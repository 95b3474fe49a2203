#include "DataFolder.h"
#include "TFrmMain.h"

#include <QApplication>
#include <QFont>
#include <QPropertyAnimation>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Pages of the embedded browser and the window share one GL context.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QVBzevi"));
    QApplication::setDesktopFileName(QStringLiteral("qvbzevi"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/qvbzevi.svg")));
    QApplication::setFont(TFrmMain::windowFont());

    const QString dataFolder = DataFolder::resolve(QCoreApplication::applicationDirPath());
    TFrmMain window(dataFolder);
    window.setWindowOpacity(0.0);
    // Without a window manager (a bare X server) "maximised" means nothing:
    // start at the screen's full working area anyway.
    if (QScreen* screen = window.screen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    window.raise();
    window.activateWindow();
    // Benchmarks and scripts learn when the window is up with its first page.
    if (qEnvironmentVariableIsSet("QVB_REPORT_READY")) {
        QObject::connect(&window, &TFrmMain::firstPageLoaded, [] {
            std::printf("qvbzevi ready\n");
            std::fflush(stdout);
        });
    }
    auto* fadeIn = new QPropertyAnimation(&window, "windowOpacity", &window);
    fadeIn->setDuration(500);
    fadeIn->setStartValue(0.0);
    fadeIn->setEndValue(1.0);
    fadeIn->start(QAbstractAnimation::DeleteWhenStopped);
    return app.exec();
}
