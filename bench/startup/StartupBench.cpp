// Process start to "main window shown with the stored site's page loaded", on
// a data folder of 10,000 sites, against a bare QWebEngineView loading the same
// page, in turns within one run. The page is served by this program on
// 127.0.0.1. The program reports readiness when QVB_REPORT_READY is set.
// The bare view runs twice per turn: on Qt's default profile, which is off the
// record, and on a profile kept on disk like the program's (cookies, cache).

#include "DataSetGenerator.h"
#include "GraphicsChoice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <unistd.h>

namespace {

// Answers every request with the same small page.
class PageServer : public QTcpServer {
public:
    PageServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    const QByteArray body = "<!doctype html><html><head><meta charset=\"utf-8\"><title>发布页面</title>"
                                            "</head><body><form><input name=\"user\"><input type=\"password\" "
                                            "name=\"pw\"><textarea name=\"text\"></textarea></form></body></html>";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n"
                                  "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
};

// Milliseconds from process start to the line `ready` on its output; -1 on failure.
double timeToReady(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
                   const QByteArray& ready, int timeoutMs)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QEventLoop loop;
    QElapsedTimer timer;
    double elapsed = -1;
    QByteArray output;
    QObject::connect(&child, &QProcess::readyReadStandardOutput, &loop, [&] {
        output += child.readAllStandardOutput();
        if (elapsed < 0 && output.contains(ready)) {
            elapsed = double(timer.nsecsElapsed()) / 1e6;
            loop.quit();
        }
    });
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    timer.start();
    child.start(program, arguments);
    loop.exec();
    child.terminate();
    if (!child.waitForFinished(20000)) {
        child.kill();
        child.waitForFinished(5000);
    }
    if (elapsed < 0)
        qWarning("%s did not report ready: %s", qPrintable(program), child.readAllStandardError().right(2000).constData());
    return elapsed;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Start-up time of qvbzevi against a bare web view."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("program"), QStringLiteral("The qvbzevi executable."), QStringLiteral("path"),
                      QStringLiteral(QVB_PROGRAM)});
    parser.addOption({QStringLiteral("bare"), QStringLiteral("The bare web view executable."), QStringLiteral("path"),
                      QStringLiteral(QVB_BARE_VIEW)});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Measured runs of each."), QStringLiteral("n"),
                      QStringLiteral("5")});
    parser.addOption({QStringLiteral("sites"), QStringLiteral("Sites in the data set."), QStringLiteral("n"),
                      QStringLiteral("10000")});
    parser.process(app);
    QTextStream out(stdout);

    PageServer server;
    if (!server.listen(QHostAddress::LocalHost)) {
        out << "cannot listen on 127.0.0.1" << Qt::endl;
        return 1;
    }
    const QString page = QStringLiteral("http://127.0.0.1:%1/post.html").arg(server.serverPort());

    // The program keeps its data in config/ beside itself: run a copy from a temporary folder.
    QTemporaryDir dir;
    const QString programCopy = dir.filePath(QStringLiteral("qvbzevi"));
    if (!QFile::copy(parser.value(QStringLiteral("program")), programCopy)) {
        out << "cannot copy " << parser.value(QStringLiteral("program")) << Qt::endl;
        return 1;
    }
    QFile::setPermissions(programCopy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString config = dir.filePath(QStringLiteral("config/"));
    QDir().mkpath(config);
    DataSetShape shape;
    shape.sites = parser.value(QStringLiteral("sites")).toInt();
    shape.storedSite = shape.sites / 2;
    shape.storedSiteUrl = page;
    if (!DataSetGenerator::write(config, shape)) {
        out << "cannot write the data set" << Qt::endl;
        return 1;
    }

    // Both start from the same, isolated home folder and browser settings.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString home = dir.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.remove(QStringLiteral("XDG_CACHE_HOME"));
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    env.insert(QStringLiteral("QVB_REPORT_READY"), QStringLiteral("1"));
    if (geteuid() == 0)
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    if (!env.contains(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS")))
        env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), QStringLiteral("--disable-background-networking"));

    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    const QString bare = parser.value(QStringLiteral("bare"));
    const QString bareProfile = dir.filePath(QStringLiteral("bare-profile"));
    // The program draws with the raster engine where OpenGL would run on the
    // CPU; a bare view drawn the same way measures the rest of the difference.
    QProcessEnvironment sameDrawing = env;
    const QStringList renderNodes =
        QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System);
    if (GraphicsChoice::drawInSoftware(renderNodes, env))
        sameDrawing.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    std::vector<double> mainTimes, bareTimes, barePersistentTimes, bareSameDrawingTimes;
    // One unmeasured start of each fills the caches and the browser profile.
    for (int r = -1; r < runs; ++r) {
        const double b = timeToReady(bare, {page}, env, "bare ready", 60000);
        const double p = timeToReady(bare, {page, bareProfile}, env, "bare ready", 60000);
        const double d = timeToReady(bare, {page, bareProfile}, sameDrawing, "bare ready", 60000);
        const double m = timeToReady(programCopy, {}, env, "qvbzevi ready", 60000);
        if (r < 0)
            continue;
        out << QStringLiteral("run %1: qvbzevi %2 ms, bare web view %3 ms, on a disk profile %4 ms, "
                              "also drawn as the program draws %5 ms")
                   .arg(r + 1)
                   .arg(m, 0, 'f', 1)
                   .arg(b, 0, 'f', 1)
                   .arg(p, 0, 'f', 1)
                   .arg(d, 0, 'f', 1)
            << Qt::endl;
        if (m >= 0)
            mainTimes.push_back(m);
        if (b >= 0)
            bareTimes.push_back(b);
        if (p >= 0)
            barePersistentTimes.push_back(p);
        if (d >= 0)
            bareSameDrawingTimes.push_back(d);
    }
    const double mainMedian = median(mainTimes);
    const double bareMedian = median(bareTimes);
    const double barePersistentMedian = median(barePersistentTimes);
    const double bareSameDrawingMedian = median(bareSameDrawingTimes);
    out << "figure startup_qvbzevi_" << shape.sites << ' ' << QString::number(mainMedian, 'f', 1) << " ms" << Qt::endl;
    out << "figure startup_bare_webview " << QString::number(bareMedian, 'f', 1) << " ms" << Qt::endl;
    out << "figure startup_bare_webview_disk_profile " << QString::number(barePersistentMedian, 'f', 1) << " ms"
        << Qt::endl;
    out << "figure startup_ratio " << QString::number(bareMedian > 0 ? mainMedian / bareMedian : -1, 'f', 3) << " x"
        << Qt::endl;
    out << "figure startup_ratio_disk_profile "
        << QString::number(barePersistentMedian > 0 ? mainMedian / barePersistentMedian : -1, 'f', 3) << " x"
        << Qt::endl;
    out << "figure startup_bare_webview_same_drawing " << QString::number(bareSameDrawingMedian, 'f', 1) << " ms"
        << Qt::endl;
    out << "figure startup_ratio_same_drawing "
        << QString::number(bareSameDrawingMedian > 0 ? mainMedian / bareSameDrawingMedian : -1, 'f', 3) << " x"
        << Qt::endl;
    return mainTimes.empty() || bareTimes.empty() || barePersistentTimes.empty() || bareSameDrawingTimes.empty()
               ? 1
               : 0;
}
