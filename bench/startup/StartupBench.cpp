// Process start to "main window shown with the stored site's page loaded", on
// a data folder of 10,000 sites, against a bare QWebEngineView loading the same
// page, in turns within one run. The page is served by this program on
// 127.0.0.1. The program reports readiness when QVB_REPORT_READY is set.
// The bare view runs twice per turn: on Qt's default profile, which is off the
// record, and on a profile kept on disk like the program's (cookies, cache).
// Each process is then left running a few seconds more (long enough for the
// program's update query to end) and the memory of its whole process tree,
// browser engine processes included, is taken.

#include "DataSetGenerator.h"
#include "GraphicsChoice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMultiHash>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>
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
                                  "Content-Length: "
                                  + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
};

// Memory of a process and all its descendants, in MiB; -1 where it could not be read.
struct TreeMemory {
    double pss = -1;
    double rss = -1;
    int processes = 0;
};

QByteArray readProcFile(qint64 pid, const char* name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// `root` and every process below it: the engine's zygote forks the renderers, so
// they are grandchildren. /proc/<pid>/task/*/children is not in every kernel; the
// parent ids of all processes are.
QList<qint64> processTree(qint64 root)
{
    QMultiHash<qint64, qint64> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        const QByteArray stat = readProcFile(pid, "stat");
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children.insert(fields.at(1).toLongLong(), pid);
    }
    QList<qint64> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i)
        tree += children.values(tree.at(i));
    return tree;
}

// The engine's processes outlive their parent by a moment. Until they are gone they
// would share the next process's library pages (lowering its PSS) and its CPU.
void waitUntilGone(const QList<qint64>& pids, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (qint64 pid : pids) {
        for (;;) {
            // Gone, or a zombie: it holds no memory any more.
            const QByteArray stat = readProcFile(pid, "stat");
            if (stat.isEmpty() || stat.mid(stat.lastIndexOf(')') + 2, 1) == "Z" || timer.elapsed() > timeoutMs)
                break;
            QThread::msleep(10);
        }
    }
}

// Kilobytes on the line `key` of /proc/<pid>/smaps_rollup; -1 when missing.
qint64 rollupKb(const QByteArray& rollup, const QByteArray& key)
{
    for (const QByteArray& line : rollup.split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// PSS is the figure that adds up: RSS counts a page once for every process that maps
// it, so the Qt and Chromium libraries shared by the engine's processes would be
// counted once per process. PSS splits each shared page among its sharers (other
// programs' processes too, so a busy machine gives lower figures). The RSS sum is
// given for reference.
TreeMemory treeMemory(qint64 root)
{
    TreeMemory memory;
    qint64 pssKb = 0, rssKb = 0;
    for (qint64 pid : processTree(root)) {
        const QByteArray rollup = readProcFile(pid, "smaps_rollup");
        const qint64 pss = rollupKb(rollup, "Pss:");
        const qint64 rss = rollupKb(rollup, "Rss:");
        if (pss < 0 || rss < 0)
            continue;  // gone meanwhile, or a zombie
        pssKb += pss;
        rssKb += rss;
        ++memory.processes;
    }
    if (memory.processes > 0) {
        memory.pss = double(pssKb) / 1024;
        memory.rss = double(rssKb) / 1024;
    }
    return memory;
}

// Milliseconds from process start to the line `ready` on its output; -1 on failure.
// With `memory`, the process runs `settleMs` longer and its tree's memory is taken.
double timeToReady(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
                   const QByteArray& ready, int timeoutMs, TreeMemory* memory = nullptr, int settleMs = 0)
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
    if (memory && elapsed >= 0) {
        QEventLoop settle;
        QObject::connect(&child, &QProcess::finished, &settle, &QEventLoop::quit);
        QTimer::singleShot(settleMs, &settle, &QEventLoop::quit);
        settle.exec();
        if (child.state() == QProcess::Running)
            *memory = treeMemory(child.processId());
    }
    const QList<qint64> tree = child.state() == QProcess::Running ? processTree(child.processId()) : QList<qint64>();
    child.terminate();
    if (!child.waitForFinished(20000)) {
        child.kill();
        child.waitForFinished(5000);
    }
    waitUntilGone(tree, 10000);
    if (elapsed < 0)
        qWarning("%s did not report ready: %s", qPrintable(program),
                 child.readAllStandardError().right(2000).constData());
    return elapsed;
}

QString megabytes(double value) { return QString::number(value, 'f', 1); }

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
    parser.addOption(
        {QStringLiteral("runs"), QStringLiteral("Measured runs of each."), QStringLiteral("n"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("sites"), QStringLiteral("Sites in the data set."), QStringLiteral("n"),
                      QStringLiteral("10000")});
    parser.addOption({QStringLiteral("settle"),
                      QStringLiteral("Milliseconds each process runs on after ready before its memory is taken."),
                      QStringLiteral("ms"), QStringLiteral("3000")});
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
    const int settleMs = std::max(0, parser.value(QStringLiteral("settle")).toInt());
    std::vector<double> mainTimes, bareTimes, barePersistentTimes, bareSameDrawingTimes;
    // Memory of each run: the program, then the three bare views.
    std::vector<double> pss[4], rss[4];
    // One unmeasured start of each fills the caches and the browser profile.
    for (int r = -1; r < runs; ++r) {
        TreeMemory memory[4];
        const double b = timeToReady(bare, {page}, env, "bare ready", 60000, &memory[1], settleMs);
        const double p = timeToReady(bare, {page, bareProfile}, env, "bare ready", 60000, &memory[2], settleMs);
        const double d = timeToReady(bare, {page, bareProfile}, sameDrawing, "bare ready", 60000, &memory[3], settleMs);
        const double m = timeToReady(programCopy, {}, env, "qvbzevi ready", 60000, &memory[0], settleMs);
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
        out << QStringLiteral("       memory %1 s after ready, PSS / RSS of all processes:").arg(settleMs / 1000.0);
        const char* const names[4] = {"qvbzevi", "bare web view", "on a disk profile",
                                      "also drawn as the program draws"};
        for (int i = 0; i < 4; ++i) {
            out << (i ? ", " : " ") << names[i] << ' ' << megabytes(memory[i].pss) << " / " << megabytes(memory[i].rss)
                << " MiB (" << memory[i].processes << " processes)";
            if (memory[i].processes > 0) {
                pss[i].push_back(memory[i].pss);
                rss[i].push_back(memory[i].rss);
            }
        }
        out << Qt::endl;
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
    const QString memoryNames[4] = {QStringLiteral("qvbzevi_%1").arg(shape.sites), QStringLiteral("bare_webview"),
                                    QStringLiteral("bare_webview_disk_profile"),
                                    QStringLiteral("bare_webview_same_drawing")};
    for (const auto& [kind, values] : {std::pair{"pss", pss}, std::pair{"rss", rss}}) {
        for (int i = 0; i < 4; ++i)
            out << "figure memory_" << kind << '_' << memoryNames[i] << ' ' << megabytes(median(values[i])) << " MiB"
                << Qt::endl;
        // The program's own cost over a bare view drawn the same way.
        const bool both = !values[0].empty() && !values[3].empty();
        out << "figure memory_" << kind << "_over_same_drawing "
            << (both ? megabytes(median(values[0]) - median(values[3])) : QStringLiteral("-1")) << " MiB" << Qt::endl;
    }
    return mainTimes.empty() || bareTimes.empty() || barePersistentTimes.empty() || bareSameDrawingTimes.empty()
            || pss[0].empty() || pss[3].empty()
        ? 1
        : 0;
}
