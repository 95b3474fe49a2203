#include "DataFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

// An installed program cannot write beside itself: its data goes to the
// per-user data folder, which is created for its owner alone.
class TestDataFolderChoice : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(QStringLiteral("QVBzevi"));
    }

    void writableProgramFolderKeepsConfigBesideIt()
    {
        QTemporaryDir program;
        QCOMPARE(DataFolder::resolve(program.path()), program.path() + QStringLiteral("/config/"));
    }

    void unusableConfigBesideTheProgramGoesPerUser()
    {
        // A file named config (or a folder that cannot be written) rules out the folder beside.
        QTemporaryDir program;
        QFile blocker(program.filePath(QStringLiteral("config")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(DataFolder::resolve(program.path()), perUser + QStringLiteral("/config/"));
    }

    void installedProgramGoesPerUserEvenForRoot()
    {
        // /usr/bin may be writable for root; data still never goes there.
        const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(DataFolder::resolve(QStringLiteral("/usr/bin")), perUser + QStringLiteral("/config/"));
        QCOMPARE(DataFolder::resolve(QStringLiteral("/usr/bin/")), perUser + QStringLiteral("/config/"));
    }

    // A folder beside the program that cannot be written: without data the
    // per-user folder serves; with data it stays in view, and the reason is named.
    void readOnlyConfigBesideTheProgram()
    {
        QTemporaryDir program;
        const QString config = program.filePath(QStringLiteral("config"));
        QVERIFY(QDir().mkpath(config));
        // Root writes through permissions: a read-only mount is the real fault then.
        const bool asRoot = geteuid() == 0;
        const auto makeReadOnly = [&] {
            if (!asRoot)
                return QFile::setPermissions(config, QFile::ReadOwner | QFile::ExeOwner);
            return QProcess::execute("mount", {"--bind", config, config}) == 0
                && QProcess::execute("mount", {"-o", "remount,bind,ro", config, config}) == 0;
        };
        const auto makeWritable = [&] {
            if (asRoot)
                QProcess::execute("umount", {config});
            else
                QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        };
        QFile data(config + QStringLiteral("/SDUrl.txt"));
        QVERIFY(data.open(QIODevice::WriteOnly) && data.write("site\r\n") == 6);
        data.close();
        if (!makeReadOnly()) {
            makeWritable();
            QSKIP("no read-only mount here");
        }
        const QString withData = DataFolder::resolve(program.path());
        const QString problem = DataFolder::writeProblem(withData);
        makeWritable();
        QCOMPARE(withData, config + QLatin1Char('/'));
        QVERIFY2(problem.contains(asRoot ? "Read-only file system" : "Permission denied"), qPrintable(problem));

        QVERIFY(QFile::remove(data.fileName()));
        QVERIFY(makeReadOnly());
        const QString empty = DataFolder::resolve(program.path());
        makeWritable();
        QVERIFY(!empty.startsWith(program.path()));
    }

    void perUserFolderIsCreatedForItsOwnerOnly()
    {
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("a/b/config/"));
        QVERIFY(DataFolder::ensure(folder));
        QVERIFY(QFileInfo(folder).isDir());
        const QFile::Permissions permissions = QFileInfo(QDir::cleanPath(folder)).permissions();
        QVERIFY(permissions & QFile::WriteOwner);
        QVERIFY(!(permissions
                  & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
                     | QFile::ExeOther)));
        // An existing folder is left as the user set it.
        QFile::setPermissions(folder, permissions | QFile::ReadGroup | QFile::ExeGroup);
        QVERIFY(DataFolder::ensure(folder));
        QVERIFY(QFileInfo(QDir::cleanPath(folder)).permissions() & QFile::ReadGroup);
    }

    void dataFolderMadeOnTheWayToASubfolderIsOwnerOnlyToo()
    {
        QTemporaryDir base;
        const QString data = base.filePath(QStringLiteral("config"));
        QVERIFY(DataFolder::ensure(data + QStringLiteral("/browser/")));
        const QFile::Permissions permissions = QFileInfo(data).permissions();
        QVERIFY(!(permissions & (QFile::ReadGroup | QFile::ReadOther | QFile::ExeGroup | QFile::ExeOther)));
    }
};

QTEST_GUILESS_MAIN(TestDataFolderChoice)
#include "tst_datafolder.moc"
