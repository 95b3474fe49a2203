#include "StoreModel.h"
#include "TestData.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

// A child process changes the stores in a loop and is killed with SIGKILL at
// random moments. After every kill the data folder must read cleanly and
// hold exactly the state after the last action the child reported done, or,
// when it was killed inside an action, the state after that action: every
// action is all or nothing on disk.
class TestKillSafety : public QObject {
    Q_OBJECT
private slots:
    void everyReportedActionSurvivesSigkill();

private:
    struct Round {
        QStringList lines;
        int done = 0;
        int intent = 0;
        QHash<int, QByteArrayList> digests;  // acceptable after a kill inside; the last is the full action
        QString action;  // of the last intent
    };
    static Round runAndKill(const QString& folder, quint32 seed, int delayMicroseconds);
    static QStringList wholeFileProblems(const QString& folder);
};

TestKillSafety::Round TestKillSafety::runAndKill(const QString& folder, quint32 seed, int delayMicroseconds)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QStringLiteral(QVB_STORE_WORKER), {folder, QString::number(seed)});
    Round round;
    if (!child.waitForStarted(30000))
        return round;
    while (!child.canReadLine() && child.state() == QProcess::Running)
        child.waitForReadyRead(100);
    QThread::usleep(ulong(delayMicroseconds));
    child.kill();  // SIGKILL
    child.waitForFinished(30000);
    for (const QByteArray& raw : child.readAllStandardOutput().split('\n'))
        round.lines << QString::fromUtf8(raw);
    for (const QString& line : std::as_const(round.lines)) {
        const QStringList parts = line.split(QLatin1Char(' '));
        if (parts.size() == 4 && parts[0] == QLatin1String("intent")) {
            round.intent = parts[1].toInt();
            round.digests.insert(round.intent, parts[2].toLatin1().split(','));
            round.action = parts[3];
        } else if (parts.size() == 2 && parts[0] == QLatin1String("done")) {
            round.done = parts[1].toInt();
        }
    }
    return round;
}

// A stored file is whole when it is empty or its last line is ended.
QStringList TestKillSafety::wholeFileProblems(const QString& folder)
{
    QStringList problems;
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.txt"), QStringLiteral("*.ini")}, QDir::Files);
    for (const QString& name : files) {
        QFile file(folder + name);
        if (!file.open(QIODevice::ReadOnly)) {
            problems << name + QStringLiteral(" cannot be read");
            continue;
        }
        const QByteArray bytes = file.readAll();
        // Paragraph files hold the text exactly, without a final break.
        if (!name.startsWith(QLatin1String("Content")) && !bytes.isEmpty() && !bytes.endsWith("\r\n"))
            problems << name + QStringLiteral(" ends in the middle of a line");
    }
    return problems;
}

void TestKillSafety::everyReportedActionSurvivesSigkill()
{
    TestDataFolder data;
    QByteArray expected = StoreModel::load(data.path()).digest();
    QRandomGenerator random(20240611);
    const int kills = 60;
    int actionsDone = 0;
    int killedInside = 0;
    for (int k = 0; k < kills; ++k) {
        const Round round = runAndKill(data.path(), random.generate(), int(random.bounded(60000)));
        QVERIFY2(!round.lines.isEmpty() && round.lines.first() == QLatin1String("ready"),
                 qPrintable(round.lines.join(QLatin1Char('|'))));
        QVERIFY2(!round.lines.join(QLatin1Char('\n')).contains(QLatin1String("failed")),
                 qPrintable(round.lines.join(QLatin1Char('|'))));
        QVERIFY2(wholeFileProblems(data.path()).isEmpty(), qPrintable(wholeFileProblems(data.path()).join(", ")));

        const QByteArray afterDone = round.done > 0 ? round.digests.value(round.done).last() : expected;
        const QByteArray found = StoreModel::load(data.path()).digest();
        if (round.intent > round.done) {
            ++killedInside;
            const bool whole = found == afterDone || round.digests.value(round.intent).contains(found);
            QVERIFY2(whole,
                     qPrintable(QStringLiteral("kill %1 inside action %2: the files hold neither the state before "
                                               "nor the state after it (%3)")
                                    .arg(k)
                                    .arg(round.intent)
                                    .arg(round.action)));
        } else {
            QVERIFY2(found == afterDone,
                     qPrintable(QStringLiteral("kill %1: action %2 was reported done but the files differ")
                                    .arg(k)
                                    .arg(round.done)));
        }
        actionsDone += round.done;
        expected = found;
    }
    qInfo("%d kills, %d actions reported done, %d kills inside an action", kills, actionsDone, killedInside);
    QVERIFY(actionsDone > kills);
}

QTEST_GUILESS_MAIN(TestKillSafety)
#include "tst_killsafety.moc"
