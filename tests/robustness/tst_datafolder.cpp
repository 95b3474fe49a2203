#include "DataFolder.h"

#include <QDir>
#include <QFile>
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

    void readOnlyProgramFolderGoesPerUser()
    {
        if (geteuid() == 0)
            QSKIP("root may write into any folder; the case above covers the choice");
        QTemporaryDir program;
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString chosen = DataFolder::resolve(program.path());
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!chosen.startsWith(program.path()));
    }

    void perUserFolderIsCreatedForItsOwnerOnly()
    {
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("a/b/config/"));
        QVERIFY(DataFolder::ensure(folder));
        QVERIFY(QFileInfo(folder).isDir());
        const QFile::Permissions permissions = QFileInfo(QDir::cleanPath(folder)).permissions();
        QVERIFY(permissions & QFile::WriteOwner);
        QVERIFY(!(permissions & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                 | QFile::WriteOther | QFile::ExeOther)));
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
