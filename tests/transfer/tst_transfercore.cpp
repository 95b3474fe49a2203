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
bool copyAll(FolderCopy& copy, const QString& source, const QString& target)
{
    QSignalSpy finished(&copy, &FolderCopy::finished);
    if (!copy.CopyFolderFiles(source, target))
        return false;
    return finished.wait(30000) && finished.size() == 1;
}

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

QTEST_GUILESS_MAIN(TestTransferCore)
#include "tst_transfercore.moc"
