#include "DataFolderLock.h"
#include "TestData.h"

#include <QProcess>
#include <QtTest>

using Outcome = DataFolderLock::Outcome;

// One copy of the program per data folder; a crashed copy's lock is taken over.
class TestDataFolderLock : public QObject {
    Q_OBJECT
private slots:
    void secondCopyIsRefusedUntilTheFirstEnds()
    {
        TestDataFolder data;
        auto first = std::make_unique<DataFolderLock>(data.path());
        QCOMPARE(first->tryLock(), Outcome::Locked);
        // Another process would meet the same refusal; QLockFile also refuses a
        // second lock object in this process.
        DataFolderLock second(data.path());
        QCOMPARE(second.tryLock(), Outcome::HeldByAnotherCopy);
        first.reset();
        QCOMPARE(second.tryLock(), Outcome::Locked);
    }

    // Only a running copy is one: a folder that cannot hold the lock is named as it is.
    void unusableFolderIsNoSecondCopy()
    {
        TestDataFolder data;
        data.writeBytes("browser", "a plain file where the folder belongs");
        DataFolderLock lock(data.path());
        QCOMPARE(lock.tryLock(), Outcome::Failed);
        QVERIFY2(lock.problem().contains(QLatin1String("Not a directory")), qPrintable(lock.problem()));
    }

    void lockOfACrashedCopyIsTakenOver()
    {
        TestDataFolder data;
        DataFolderLock probe(data.path());
        // A lock file as a killed copy leaves it: a process id that no longer runs.
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForFinished());
        const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
        QDir().mkpath(QFileInfo(probe.lockFilePath()).absolutePath());
        QFile file(probe.lockFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(deadPid) + "\nqvbzevi\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        file.close();
        QCOMPARE(probe.tryLock(), Outcome::Locked);
    }

    void lockNeverTravelsWithExportOrImport()
    {
        TestDataFolder data;
        DataFolderLock lock(data.path());
        QCOMPARE(lock.tryLock(), Outcome::Locked);
        // Export and import copy the data folder's plain files only.
        QVERIFY(QDir(data.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDataFolderLock)
#include "tst_datafolderlock.moc"
