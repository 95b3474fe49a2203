#include "DataFolder.h"
#include "DataFolderLock.h"
#include "FocusMarkStyle.h"
#include "GraphicsChoice.h"
#include "InterfaceLanguage.h"
#include "InterfaceTexts.h"
#include "Pictures.h"
#include "TFrmMain.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QFont>
#include <QPropertyAnimation>
#include <QScreen>
#include <QStyle>

#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A terminate or hang-up signal ends the program as a close would, so the
// current article and the general keys are saved.
int signalPipe[2] = {-1, -1};

void onTerminateSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

void quitOnTerminateSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] { QCoreApplication::quit(); });
    struct sigaction action = {};
    action.sa_handler = onTerminateSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// Only some platforms can set a window's opacity; on the others (Wayland)
// each step of a fade would print a warning and change nothing.
bool platformCanFade()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows")
        || platform == QLatin1String("cocoa");
}

}  // namespace

int main(int argc, char* argv[])
{
    // Pages of the embedded browser and the window share one GL context.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    GraphicsChoice::chooseBeforeApplication();
    QApplication app(argc, argv);
    // The interface speaks the language of the system's locale, from the first
    // message on; what is stored is the same in every language.
    InterfaceLanguages::install(InterfaceLanguages::fromSystem());
    QApplication::setApplicationName(QStringLiteral("QVBzevi"));
    QApplication::setDesktopFileName(QStringLiteral("com.qvbzevi.QVBzevi"));
    QApplication::setWindowIcon(Pictures::applicationIcon());
    QApplication::setFont(TFrmMain::windowFont());
    QApplication::setStyle(new FocusMarkStyle(QApplication::style()->name()));

    const QString dataFolder = DataFolder::resolve(QCoreApplication::applicationDirPath());
    DataFolderLock lock(dataFolder);
    const DataFolderLock::Outcome locked = lock.tryLock();
    if (locked == DataFolderLock::Outcome::HeldByAnotherCopy) {
        const QString text =
            QCoreApplication::translate("main", "数据文件夹正在被另一个QVBzevi使用，本程序不再启动：\n%1");
        QMessageBox::warning(nullptr, InterfaceTexts::productName(), text.arg(QDir::toNativeSeparators(dataFolder)));
        return 1;
    }
    TFrmMain window(dataFolder);
    // Without a lock the program still starts: it says why, and the window
    // names every file it cannot read or write.
    if (locked == DataFolderLock::Outcome::Failed)
        window.reportProblem(
            QCoreApplication::translate("main", "无法锁定数据文件夹，请勿同时运行两个QVBzevi：%1").arg(lock.problem()));
    // Once the browser engine has started (it resets the handlers as it does).
    QTimer::singleShot(0, &app, quitOnTerminateSignals);
    const bool fade = platformCanFade();
    if (fade)
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
    if (fade) {
        auto* fadeIn = new QPropertyAnimation(&window, "windowOpacity", &window);
        fadeIn->setDuration(500);
        fadeIn->setStartValue(0.0);
        fadeIn->setEndValue(1.0);
        fadeIn->start(QAbstractAnimation::DeleteWhenStopped);
    }
    return app.exec();
}
