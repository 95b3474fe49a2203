#include "DataFolder.h"
#include "DialogTexts.h"
#include "FixFolderPath.h"
#include "FolderCopy.h"
#include "InterfaceTexts.h"
#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString Sep = QString(QDir::separator());

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Runs one copy to its end; the copy itself needs the event loop.
bool copyAll(FolderCopy& copy, const QString& source, const QString& target,
             const FolderCopy::Selection& selection = {})
{
    QSignalSpy finished(&copy, &FolderCopy::finished);
    if (!copy.CopyFolderFiles(source, target, selection))
        return false;
    return finished.wait(30000) && finished.size() == 1;
}

#ifdef Q_OS_LINUX
// "<path>: <mode in octal>" of every file this process holds open for
// writing in `folder`, named there or not.
QStringList modesOfFilesOpenIn(const QString& folder)
{
    QStringList modes;
    const QString prefix = QDir(folder).canonicalPath() + QLatin1Char('/');
    const QDir open(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : open.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = open.filePath(fd);
        const QString file = QFileInfo(path).symLinkTarget();
        struct stat info = {};
        if (file.startsWith(prefix) && ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode)
            && (QFileInfo(path).permissions() & QFileDevice::WriteOwner))
            modes << QStringLiteral("%1: %2").arg(file).arg(info.st_mode & 0777, 0, 8);
    }
    return modes;
}
#endif

// Stands in for a language's .qm file: every text comes back marked with its context.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        return QLatin1String(context) + QLatin1Char('|') + QString::fromUtf8(source);
    }
};

}  // namespace

class TestTransferCore : public QObject {
    Q_OBJECT
private slots:
    void fixFolderPath_data();
    void fixFolderPath();
    void dialogLanguages();
    void textTablesGoThroughTheTranslators();
    void copiesPlainAndHiddenFilesOnly();
    void failedFileIsNamedAndTheRestCopied();
    void replacesThroughRename();
    void copyOntoItselfKeepsTheFiles();
    void largeFileCopiedInStepsWhileTheLoopRuns();
    void secondCopyRefusedWhileRunning();
    void createFolderReportsWhy();
    void selectionTakesOnlyWhatItNamesAndSaysWhatNot();
    void linksAreNeitherWrittenThroughNorReadWhenNotFollowed();
    void copiesAreTheOwnersOnlyFromTheFirstByte();
};

void TestTransferCore::fixFolderPath_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    const QString clean = native("/data/zevi/");
    QTest::newRow("no trailing separator") << native("/data/zevi") << clean;
    QTest::newRow("one trailing separator") << clean << clean;
    QTest::newRow("doubled inside, none at end") << native("/data//zevi") << clean;
    QTest::newRow("doubled at end") << native("/data/zevi//") << clean;
    QTest::newRow("tripled inside") << native("/data///zevi") << clean;
    QTest::newRow("blanks and controls") << QString(" \t") + native("/data/zevi") + "\r\n " << clean;
    QTest::newRow("inner blanks kept") << native(" /my data/zevi ") << native("/my data/zevi/");
    QTest::newRow("empty") << QString() << Sep;
    QTest::newRow("blank") << QStringLiteral("   ") << Sep;
    QTest::newRow("root") << Sep << Sep;
    // Three then two, without overlap: four separators end as one.
    QTest::newRow("four in a row") << native("/a////b") << native("/a/b/");
}

void TestTransferCore::fixFolderPath()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QString path = input;
    FixFolderPath(path);
    QCOMPARE(path, expected);
    QCOMPARE(fixedFolderPath(path), expected);  // a fixed path stays as it is
}

void TestTransferCore::dialogLanguages()
{
    // 1 and 2: the program's own traditional Chinese and English translations.
    SelectDialogLanguage(1);
    QCOMPARE(DialogTexts::selectedLanguage(), 1);
    QCOMPARE(dialogText(DialogTextId::FolderChooserCaption), QStringLiteral("選擇資料夾"));
    QCOMPARE(dialogText(DialogTextId::NewFolderLabel), QStringLiteral("資料夾名稱"));
    QCOMPARE(DialogTexts::aboutWord(), QStringLiteral("關於"));
    SelectDialogLanguage(2);
    QCOMPARE(dialogText(DialogTextId::SelectAPath), QStringLiteral("Please select a folder."));
    QCOMPARE(dialogText(DialogTextId::NewFolderLabel), QStringLiteral("Folder name"));
    QCOMPARE(DialogTexts::aboutWord(), QStringLiteral("About"));
    SelectDialogLanguage(7);  // any other number: simplified Chinese
    QCOMPARE(DialogTexts::selectedLanguage(), 0);
    QCOMPARE(dialogText(DialogTextId::EnterAFolder), QStringLiteral("请输入一个文件夹"));
    QCOMPARE(dialogText(DialogTextId::NewFolderCaption), QStringLiteral("新增文件夹"));
    SelectDialogLanguage(0);
    QCOMPARE(dialogText(DialogTextId::PathLabel), QStringLiteral("当前路径"));
    QCOMPARE(DialogTexts::aboutWord(), QStringLiteral("关于"));
}

void TestTransferCore::textTablesGoThroughTheTranslators()
{
    MarkingTranslator marking;
    QVERIFY(QCoreApplication::installTranslator(&marking));
    SelectDialogLanguage(0);
    InterfaceTexts::LoadInterfaceTexts();
    QCOMPARE(dialogText(DialogTextId::PathLabel), QStringLiteral("DialogTexts|当前路径"));
    QCOMPARE(uiText(TextId::ArticleSaved), QStringLiteral("InterfaceTexts|已经保存右边『文章内容』中的修改"));
    SelectDialogLanguage(1);  // the built-in translation, whatever translator is installed
    QCOMPARE(dialogText(DialogTextId::PathLabel), QStringLiteral("目前路徑"));
    QCoreApplication::removeTranslator(&marking);
    SelectDialogLanguage(0);
    InterfaceTexts::LoadInterfaceTexts();
    QCOMPARE(dialogText(DialogTextId::PathLabel), QStringLiteral("当前路径"));
}

void TestTransferCore::copiesPlainAndHiddenFilesOnly()
{
    QTemporaryDir source, target;
    writeFile(source.filePath("defualt.ini"), "[defualt]\r\n");
    writeFile(source.filePath(".hidden"), "h");
    writeFile(source.filePath("Content0_1.txt"), "c");
    QVERIFY(QDir(source.path()).mkpath("sub/deeper"));
    writeFile(source.filePath("sub/inner.txt"), "inner");
    // Files of the target that the source lacks stay; same names are replaced.
    writeFile(target.filePath("stale.txt"), "stale");
    writeFile(target.filePath("defualt.ini"), "old");

    FolderCopy copy;
    QVERIFY(copyAll(copy, source.path(), target.path()));
    QVERIFY(copy.failures().isEmpty());
    QCOMPARE(copy.copiedCount(), 3);
    QCOMPARE(readFile(target.filePath("defualt.ini")), QByteArray("[defualt]\r\n"));
    QCOMPARE(readFile(target.filePath(".hidden")), QByteArray("h"));
    QCOMPARE(readFile(target.filePath("stale.txt")), QByteArray("stale"));
    QVERIFY(!QFileInfo::exists(target.filePath("sub")));
    // Copies hold passwords: their owner's only.
    QCOMPARE(QFile::permissions(target.filePath("Content0_1.txt")) & 0x0077, QFileDevice::Permissions());
    // No temporary file is left behind.
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

void TestTransferCore::failedFileIsNamedAndTheRestCopied()
{
    QTemporaryDir source, target;
    writeFile(source.filePath("a.txt"), "a");
    writeFile(source.filePath("b.txt"), "b");
    writeFile(source.filePath("c.txt"), "c");
    // A folder of b.txt's name blocks that one file, even for root.
    QVERIFY(QDir(target.path()).mkdir("b.txt"));

    FolderCopy copy;
    QSignalSpy finished(&copy, &FolderCopy::finished);
    QVERIFY(copyAll(copy, source.path(), target.path()));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(copy.failures().size(), 1);
    QVERIFY2(copy.failures().first().startsWith(native(target.filePath("b.txt")) + ": "),
             qPrintable(copy.failures().first()));
    QCOMPARE(readFile(target.filePath("a.txt")), QByteArray("a"));
    QCOMPARE(readFile(target.filePath("c.txt")), QByteArray("c"));
    QCOMPARE(copy.copiedCount(), 2);
}

void TestTransferCore::replacesThroughRename()
{
#ifndef Q_OS_UNIX
    QSKIP("needs hard links");
#else
    QTemporaryDir source, target;
    writeFile(source.filePath("articles.txt"), "new list");
    writeFile(target.filePath("articles.txt"), "old list");
    // A second name for the old file: a copy that writes into the old file in
    // place would change it too; a rename leaves it whole.
    QVERIFY(::link(QFile::encodeName(target.filePath("articles.txt")).constData(),
                   QFile::encodeName(target.filePath("old-name")).constData())
            == 0);
    FolderCopy copy;
    QVERIFY(copyAll(copy, source.path(), target.path()));
    QCOMPARE(readFile(target.filePath("articles.txt")), QByteArray("new list"));
    QCOMPARE(readFile(target.filePath("old-name")), QByteArray("old list"));
#endif
}

void TestTransferCore::copyOntoItselfKeepsTheFiles()
{
    QTemporaryDir data, elsewhere;
    const QByteArray content(300000, 'x');
    writeFile(data.filePath("Content0_1.txt"), content);
    writeFile(data.filePath("defualt.ini"), "[defualt]\r\n");

    FolderCopy copy;
    QVERIFY(copyAll(copy, data.path(), data.path()));
    QVERIFY(copy.failures().isEmpty());
    QCOMPARE(readFile(data.filePath("Content0_1.txt")), content);

    // The same folder reached through a link, with a differently spelled path.
    const QString link = elsewhere.filePath("link-to-data");
    QVERIFY(QFile::link(data.path(), link));
    QVERIFY(copyAll(copy, link + "//", data.path()));
    QVERIFY(copyAll(copy, data.path(), link));
    QVERIFY(copy.failures().isEmpty());
    QCOMPARE(readFile(data.filePath("Content0_1.txt")), content);
    QCOMPARE(readFile(data.filePath("defualt.ini")), QByteArray("[defualt]\r\n"));
}

void TestTransferCore::largeFileCopiedInStepsWhileTheLoopRuns()
{
    QTemporaryDir source, target;
    QByteArray big(int(FolderCopy::ChunkBytes * 3 + 17), '\0');
    for (int i = 0; i < big.size(); ++i)
        big[i] = char(i * 31 % 251);
    writeFile(source.filePath("big.bin"), big);

    FolderCopy copy;
    QSignalSpy finished(&copy, &FolderCopy::finished);
    int turnsDuringCopy = 0;
    QTimer beat;
    beat.setInterval(0);
    connect(&beat, &QTimer::timeout, [&] {
        if (copy.isRunning())
            ++turnsDuringCopy;
    });
    beat.start();
    QVERIFY(copy.CopyFolderFiles(source.path(), target.path()));
    // Nothing is copied before the event loop runs.
    QVERIFY(!QFileInfo::exists(target.filePath("big.bin")));
    QVERIFY(finished.wait(30000));
    QVERIFY2(turnsDuringCopy > 0, "the event loop did not run during the copy");
    QCOMPARE(readFile(target.filePath("big.bin")), big);
}

void TestTransferCore::secondCopyRefusedWhileRunning()
{
    QTemporaryDir source, target, other;
    writeFile(source.filePath("one.txt"), "1");
    writeFile(other.filePath("two.txt"), "2");
    FolderCopy copy;
    QSignalSpy finished(&copy, &FolderCopy::finished);
    QVERIFY(copy.CopyFolderFiles(source.path(), target.path()));
    QVERIFY(!copy.CopyFolderFiles(other.path(), target.path()));
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.size(), 1);
    QVERIFY(QFileInfo::exists(target.filePath("one.txt")));
    QVERIFY(!QFileInfo::exists(target.filePath("two.txt")));
    // Once done, the next copy may start.
    QVERIFY(copyAll(copy, other.path(), target.path()));
    QVERIFY(QFileInfo::exists(target.filePath("two.txt")));
}

void TestTransferCore::createFolderReportsWhy()
{
    QTemporaryDir root;
    QString error;
    const QString nested = root.filePath("a/b/c/");
    QVERIFY(FolderCopy::createFolder(nested, &error));
    QVERIFY(QFileInfo(nested).isDir());
    writeFile(root.filePath("file"), "x");
    const QString blocked = root.filePath("file/below");
    QVERIFY(!FolderCopy::createFolder(blocked, &error));
    QVERIFY2(error.startsWith(native(blocked) + ": ") && error.size() > blocked.size() + 2, qPrintable(error));
}

void TestTransferCore::selectionTakesOnlyWhatItNamesAndSaysWhatNot()
{
#ifndef Q_OS_UNIX
    QSKIP("needs symbolic links and pipes");
#else
    QTemporaryDir source, target;
    for (const char* name :
         {"defualt.ini", "articles.txt", "Content0_1.txt", "Content12_3.txt", "notes.txt", ".hidden", "content0_1.txt",
          "Content1_.txt", "Content1_2.txt.bak", "defualt.ini.bak", "history.sqlite"})
        writeFile(source.filePath(name), name);
    QCOMPARE(::mkfifo(QFile::encodeName(source.filePath("SDUrl.txt")).constData(), 0600), 0);
    QVERIFY(QDir(source.path()).mkdir("browser"));
    QVERIFY(QFile::link(source.filePath("browser"), source.filePath("folder-link")));
    QVERIFY(QFile::link(source.filePath("notes.txt"), source.filePath("Content2_1.txt")));

    FolderCopy copy;
    copy.setLeftOut([](const QString& name) { return name == QLatin1String("history.sqlite"); });
    FolderCopy::Selection dataSet;
    dataSet.takes = &DataFolder::isDataSetFile;
    dataSet.followLinks = false;
    QVERIFY(copyAll(copy, source.path(), target.path(), dataSet));
    QVERIFY2(copy.failures().isEmpty(), qPrintable(copy.failures().join('\n')));
    // Taken: the data set's names as spelt; passed over and named: other
    // names, a pipe of a data set name, links to a file or a folder; the
    // subfolder and the owner's file are no business of the copy.
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             QStringList({"Content0_1.txt", "Content12_3.txt", "articles.txt", "defualt.ini"}));
    QCOMPARE(copy.passedOver(),
             QStringList({".hidden", "Content1_.txt", "Content1_2.txt.bak", "Content2_1.txt", "SDUrl.txt",
                          "content0_1.txt", "defualt.ini.bak", "folder-link", "notes.txt"}));

    // Without a selection every plain file is taken, links to files too.
    QTemporaryDir all;
    QVERIFY(copyAll(copy, source.path(), all.path()));
    QCOMPARE(readFile(all.filePath("Content2_1.txt")), QByteArray("notes.txt"));
    QVERIFY(!QFileInfo(all.filePath("Content2_1.txt")).isSymLink());
    QCOMPARE(copy.passedOver(), QStringList({"SDUrl.txt"}));
#endif
}

void TestTransferCore::linksAreNeitherWrittenThroughNorReadWhenNotFollowed()
{
#ifndef Q_OS_UNIX
    QSKIP("needs symbolic links");
#else
    QTemporaryDir source, target, elsewhere;
    writeFile(source.filePath("defualt.ini"), "new settings");
    writeFile(source.filePath("SDUrl.txt"), "new sites");
    writeFile(source.filePath("articles.txt"), "new list");
    // The target's settings file and site list are links to files of no data set.
    const QString victim = elsewhere.filePath("victim.conf");
    writeFile(victim, "not ours");
    QVERIFY(QFile::link(victim, target.filePath("defualt.ini")));
    QVERIFY(QFile::link(elsewhere.filePath("not-there"), target.filePath("SDUrl.txt")));
    // A link to the source's own file is no copy of it either.
    QVERIFY(QFile::link(source.filePath("articles.txt"), target.filePath("articles.txt")));
    writeFile(source.filePath("Content0_1.txt"), "paragraph");

    FolderCopy copy;
    QSignalSpy finished(&copy, &FolderCopy::finished);
    QVERIFY(copyAll(copy, source.path(), target.path()));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(copy.failures().size(), 3);
    QCOMPARE(copy.copiedCount(), 1);
    for (const char* name : {"SDUrl.txt", "articles.txt", "defualt.ini"}) {
        const QString link = target.filePath(name);
        QVERIFY2(copy.failures().filter(native(link) + ": ").size() == 1, qPrintable(copy.failures().join('\n')));
        QVERIFY(QFileInfo(link).isSymLink());
    }
    QVERIFY(copy.failures().first().contains(QStringLiteral("符号链接")));
    QCOMPARE(readFile(victim), QByteArray("not ours"));
    QVERIFY(!QFileInfo::exists(elsewhere.filePath("not-there")));
    QCOMPARE(readFile(source.filePath("articles.txt")), QByteArray("new list"));
    QCOMPARE(readFile(target.filePath("Content0_1.txt")), QByteArray("paragraph"));

    // A source file that becomes a link after the listing is not read when
    // links are not followed: the check is made as the file is opened.
    QTemporaryDir plain;
    FolderCopy::Selection noLinks;
    noLinks.followLinks = false;
    QVERIFY(copy.CopyFolderFiles(source.path(), plain.path(), noLinks));
    QVERIFY(QFile::remove(source.filePath("SDUrl.txt")));
    QVERIFY(QFile::link(victim, source.filePath("SDUrl.txt")));
    QVERIFY(finished.wait(30000));
    QCOMPARE(copy.failures().size(), 1);
    QVERIFY2(copy.failures().first().startsWith(native(source.filePath("SDUrl.txt")) + ": 是符号链接"),
             qPrintable(copy.failures().first()));
    QVERIFY(!QFileInfo::exists(plain.filePath("SDUrl.txt")));
    QCOMPARE(readFile(plain.filePath("defualt.ini")), QByteArray("new settings"));
#endif
}

void TestTransferCore::copiesAreTheOwnersOnlyFromTheFirstByte()
{
#ifndef Q_OS_LINUX
    QSKIP("needs the open files of /proc");
#else
    QTemporaryDir source, target;
    writeFile(source.filePath("defualt.ini"), QByteArray(int(FolderCopy::ChunkBytes * 3), 'p'));
    writeFile(source.filePath("SDUrl.txt"), "sites");
    writeFile(target.filePath("SDUrl.txt"), "old sites");
    QVERIFY(QFile::setPermissions(target.filePath("SDUrl.txt"),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                      | QFileDevice::ReadOther));
    // The widest mask a user may have: a copy must not lean on it.
    const mode_t umaskBefore = ::umask(0);

    // Between the steps of the large file, its temporary copy is looked at
    // through the open files (it may have no name in the folder yet).
    FolderCopy copy;
    QSignalSpy finished(&copy, &FolderCopy::finished);
    QStringList seen;
    QTimer look;
    look.setInterval(0);
    connect(&look, &QTimer::timeout, [&] { seen << modesOfFilesOpenIn(target.path()); });
    look.start();
    QVERIFY(copy.CopyFolderFiles(source.path(), target.path()));
    QVERIFY(finished.wait(30000));
    look.stop();
    ::umask(umaskBefore);

    QVERIFY(copy.failures().isEmpty());
    QVERIFY2(!seen.isEmpty(), "the temporary copy was never seen");
    for (const QString& one : seen)
        QVERIFY2(one.endsWith(QLatin1String(": 600")), qPrintable(seen.join(", ")));
    for (const char* name : {"defualt.ini", "SDUrl.txt"}) {  // a new file and a replaced one
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(target.filePath(name)).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));
    }
#endif
}

QTEST_GUILESS_MAIN(TestTransferCore)
#include "tst_transfercore.moc"
