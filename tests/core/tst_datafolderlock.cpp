#include "DataFolderLock.h"
#include "TestData.h"

#include <QProcess>
#include <QtTest>

// One copy of the program per data folder; a crashed copy's lock is taken over.
class TestDataFolderLock : public QObject {
    Q_OBJECT
private slots:
    void secondCopyIsRefusedUntilTheFirstEnds()
    {
        TestDataFolder data;
        auto first = std::make_unique<DataFolderLock>(data.path());
        QVERIFY(first->tryLock());
        // Another process would meet the same refusal; QLockFile also refuses a
        // second lock object in this process.
        DataFolderLock second(data.path());
        QVERIFY(!second.tryLock());
        first.reset();
        QVERIFY(second.tryLock());
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
        QVERIFY(probe.tryLock());
    }

    void lockNeverTravelsWithExportOrImport()
    {
        TestDataFolder data;
        DataFolderLock lock(data.path());
        QVERIFY(lock.tryLock());
        // Export and import copy the data folder's plain files only.
        QVERIFY(QDir(data.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDataFolderLock)
#include "tst_datafolderlock.moc"
