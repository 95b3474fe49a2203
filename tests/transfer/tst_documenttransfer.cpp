#include "DocumentTransfer.h"
#include "FixFolderPath.h"
#include "InterfaceTexts.h"
#include "ModalAnswer.h"
#include "TFrmDirSelect.h"
#include "TestData.h"

#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString ExportName = QStringLiteral("zevi导出文件");

QStringList hints(const QSignalSpy& spy)
{
    QStringList texts;
    for (const auto& call : spy)
        texts << call.first().toString();
    return texts;
}

QStringList plainFiles(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

// Answers the next folder chooser: picks `folder`, or cancels when it is empty.
void answerChooser(const QString& folder, QString* caption = nullptr)
{
    answerModal<TFrmDirSelect>([folder, caption](TFrmDirSelect* chooser) {
        if (caption)
            *caption = chooser->windowTitle();
        if (folder.isEmpty() || !chooser->goToPath(folder))
            chooser->BtnCancel->click();
        else
            chooser->BtnConfirm->click();
    });
}

}  // namespace

class TestDocumentTransfer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void exportTwiceReplacesAndKeepsStaleCopies();
    void importOfAPartialSetReplacesOnlyThose();
    void importFromAMissingFolderCreatesItAndCopiesNothing();
    void importFromTheDataFolderItselfLosesNothing();
    void cancelLeavesTheHintEmptyAndCopiesNothing();
    void failedFileIsNamedNotHiddenBehindSuccess();
    void secondClickDuringACopyIsIgnored();
    void exportFolderThatCannotBeMadeIsReported();
    void exportNeverWritesThroughALink();
    void importTakesTheDataSetAloneAndReadsNoLink();

private:
    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<QTemporaryDir> m_outside;
    std::unique_ptr<DocumentTransfer> m_transfer;
    QList<QUrl> m_opened;
};

void TestDocumentTransfer::init()
{
    m_data = std::make_unique<TestDataFolder>(TestDataFolder::WindowsFixture);
    m_outside = std::make_unique<QTemporaryDir>();
    QVERIFY(m_data->isValid() && m_outside->isValid());
    QVERIFY(QDir(m_data->path()).mkdir("subfolder"));
    m_data->writeBytes("subfolder/inner.txt", "inner");
    m_transfer = std::make_unique<DocumentTransfer>(m_data->path(), nullptr);
    m_opened.clear();
    m_transfer->setFolderOpener([this](const QUrl& folder) {
        m_opened << folder;
        return true;
    });
}

void TestDocumentTransfer::cleanup()
{
    m_transfer.reset();
    m_outside.reset();
    m_data.reset();
}

void TestDocumentTransfer::exportTwiceReplacesAndKeepsStaleCopies()
{
    QSignalSpy hint(m_transfer.get(), &DocumentTransfer::hint);
    QSignalSpy before(m_transfer.get(), &DocumentTransfer::aboutToExport);
    QSignalSpy done(m_transfer.get(), &DocumentTransfer::transferFinished);
    QString caption;
    // The chosen folder's path is spelled with a doubled separator: same result.
    QVERIFY(QDir(m_outside->path()).mkdir("stick"));
    answerChooser(m_outside->filePath("stick"), &caption);
    m_transfer->BtnIHExportClick();
    QVERIFY(done.wait(30000));

    const QString exported = fixedFolderPath(m_outside->filePath("stick/" + ExportName));
    QCOMPARE(caption, QStringLiteral("导出文件夹选择"));
    QCOMPARE(hints(hint),
             QStringList({QString(), QStringLiteral("正在导出文档..."), QStringLiteral("成功导出档到:") + exported}));
    QCOMPARE(before.size(), 1);
    QCOMPARE(done.first().first().toBool(), true);
    QCOMPARE(plainFiles(exported), plainFiles(m_data->path()));
    QVERIFY(!QFileInfo::exists(exported + "subfolder"));
    QCOMPARE(m_opened, QList<QUrl>({QUrl::fromLocalFile(exported)}));
    for (const QString& name : plainFiles(m_data->path())) {
        QFile copy(exported + name);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), m_data->readBytes(name));
    }

    // Second export: changed files replaced, copies of removed files kept.
    m_data->writeBytes("articles.txt", gb18030("新文章\r\n"));
    QVERIFY(QFile::remove(m_data->file("SDUrl.txt")));
    answerChooser(m_outside->filePath("stick"));
    m_transfer->BtnIHExportClick();
    QVERIFY(done.wait(30000));
    QFile articles(exported + "articles.txt");
    QVERIFY(articles.open(QIODevice::ReadOnly));
    QCOMPARE(articles.readAll(), gb18030("新文章\r\n"));
    QVERIFY(QFileInfo::exists(exported + "SDUrl.txt"));
    QCOMPARE(m_opened.size(), 2);
}

void TestDocumentTransfer::importOfAPartialSetReplacesOnlyThose()
{
    const QString source = m_outside->path() + "/";
    QFile ini(source + "defualt.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(gb18030("[defualt]\r\nArticleIndex=0\r\n"));
    ini.close();
    QFile content(source + "Content0_1.txt");
    QVERIFY(content.open(QIODevice::WriteOnly));
    content.write(gb18030("导入的段落"));
    content.close();
    QVERIFY(QDir(source).mkdir("nested"));
    const QByteArray untouched = m_data->readBytes("articles.txt");
    const QByteArray oldIni = m_data->readBytes("defualt.ini");

    QSignalSpy hint(m_transfer.get(), &DocumentTransfer::hint);
    QSignalSpy finished(m_transfer.get(), &DocumentTransfer::importFinished);
    QByteArray iniWhenAboutToImport;
    connect(m_transfer.get(), &DocumentTransfer::aboutToImport, this,
            [&] { iniWhenAboutToImport = m_data->readBytes("defualt.ini"); });
    QString caption;
    answerChooser(m_outside->path(), &caption);
    m_transfer->BtnIHImportClick();
    QVERIFY(finished.wait(30000));

    QCOMPARE(caption, QStringLiteral("导入文件夹选择"));
    QCOMPARE(iniWhenAboutToImport, oldIni);  // the window may still save before the copy
    QCOMPARE(finished.size(), 1);
    QCOMPARE(m_data->readBytes("defualt.ini"), gb18030("[defualt]\r\nArticleIndex=0\r\n"));
    QCOMPARE(m_data->readBytes("Content0_1.txt"), gb18030("导入的段落"));
    QCOMPARE(m_data->readBytes("articles.txt"), untouched);
    QVERIFY(!QFileInfo::exists(m_data->file("nested")));
    QCOMPARE(hints(hint).last(), QStringLiteral("成功导入文档:") + fixedFolderPath(m_outside->path()));
    QVERIFY(m_opened.isEmpty());
}

void TestDocumentTransfer::importFromAMissingFolderCreatesItAndCopiesNothing()
{
    const QString gone = m_outside->filePath("gone");
    QVERIFY(QDir(m_outside->path()).mkdir("gone"));
    const QStringList before = plainFiles(m_data->path());
    QSignalSpy finished(m_transfer.get(), &DocumentTransfer::importFinished);
    // The folder disappears between choosing and copying.
    answerModal<TFrmDirSelect>([gone](TFrmDirSelect* chooser) {
        chooser->goToPath(gone);
        QDir().rmdir(gone);
        chooser->BtnConfirm->click();
    });
    m_transfer->BtnIHImportClick();
    QVERIFY(finished.wait(30000));
    QVERIFY(QFileInfo(gone).isDir());
    QCOMPARE(plainFiles(m_data->path()), before);
}

void TestDocumentTransfer::importFromTheDataFolderItselfLosesNothing()
{
    QMap<QString, QByteArray> before;
    for (const QString& name : plainFiles(m_data->path()))
        before[name] = m_data->readBytes(name);
    QVERIFY(!before.isEmpty());
    QSignalSpy hint(m_transfer.get(), &DocumentTransfer::hint);
    QSignalSpy finished(m_transfer.get(), &DocumentTransfer::importFinished);
    answerChooser(m_data->path());
    m_transfer->BtnIHImportClick();
    QVERIFY(finished.wait(30000));
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(m_data->readBytes(it.key()), it.value());
    QCOMPARE(plainFiles(m_data->path()), before.keys());
    QVERIFY(hints(hint).last().startsWith(QStringLiteral("成功导入文档:")));
}

void TestDocumentTransfer::cancelLeavesTheHintEmptyAndCopiesNothing()
{
    QSignalSpy hint(m_transfer.get(), &DocumentTransfer::hint);
    QSignalSpy done(m_transfer.get(), &DocumentTransfer::transferFinished);
    answerChooser(QString());
    m_transfer->BtnIHExportClick();
    QCOMPARE(hints(hint), QStringList({QString()}));
    QVERIFY(!m_transfer->isCopying());
    QVERIFY(done.isEmpty());
    QVERIFY(QDir(m_outside->path()).isEmpty());

    // After a confirmed use, a cancelled one still does nothing.
    answerChooser(m_outside->path());
    m_transfer->BtnIHExportClick();
    QVERIFY(done.wait(30000));
    QVERIFY(QDir(m_outside->path()).removeRecursively());
    QVERIFY(QDir().mkpath(m_outside->path()));
    hint.clear();
    answerChooser(QString());
    m_transfer->BtnIHExportClick();
    answerChooser(QString());
    m_transfer->BtnIHImportClick();
    QCOMPARE(hints(hint), QStringList({QString(), QString()}));
    QVERIFY(!m_transfer->isCopying());
    QVERIFY(QDir(m_outside->path()).isEmpty());
    QCOMPARE(m_opened.size(), 1);
}

void TestDocumentTransfer::failedFileIsNamedNotHiddenBehindSuccess()
{
    // A folder named like one of the data files blocks that file's copy.
    const QString exported = fixedFolderPath(m_outside->filePath(ExportName));
    QVERIFY(QDir().mkpath(exported + "articles.txt"));
    QSignalSpy hint(m_transfer.get(), &DocumentTransfer::hint);
    QSignalSpy done(m_transfer.get(), &DocumentTransfer::transferFinished);
    answerChooser(m_outside->path());
    m_transfer->BtnIHExportClick();
    QVERIFY(done.wait(30000));
    QCOMPARE(done.first().first().toBool(), false);
    const QString last = hints(hint).last();
    QVERIFY2(last.startsWith(QDir::toNativeSeparators(exported + "articles.txt") + ": "), qPrintable(last));
    QCOMPARE(m_transfer->lastFailures().size(), 1);
    // The other files arrived all the same.
    QVERIFY(QFileInfo::exists(exported + "defualt.ini"));
    QVERIFY(QFileInfo::exists(exported + "SDUrl.txt"));
}

void TestDocumentTransfer::secondClickDuringACopyIsIgnored()
{
    // A file large enough to take several steps keeps the copy running.
    m_data->writeBytes("big.bin", QByteArray(int(FolderCopy::ChunkBytes * 4), 'z'));
    QSignalSpy done(m_transfer.get(), &DocumentTransfer::transferFinished);
    QSignalSpy hint(m_transfer.get(), &DocumentTransfer::hint);
    answerChooser(m_outside->path());
    m_transfer->BtnIHExportClick();
    QVERIFY(m_transfer->isCopying());

    bool chooserShownAgain = false;
    QPointer<QTimer> watch = answerModal<TFrmDirSelect>([&](TFrmDirSelect* chooser) {
        chooserShownAgain = true;
        chooser->BtnCancel->click();
    });
    const int hintsBefore = hint.size();
    m_transfer->BtnIHExportClick();
    m_transfer->BtnIHImportClick();
    QCOMPARE(hint.size(), hintsBefore);
    QVERIFY(done.wait(30000));
    QVERIFY(!chooserShownAgain);
    delete watch.data();
    QCOMPARE(done.size(), 1);
    QCOMPARE(QFileInfo(fixedFolderPath(m_outside->filePath(ExportName)) + "big.bin").size(),
             FolderCopy::ChunkBytes * 4);
}

void TestDocumentTransfer::exportFolderThatCannotBeMadeIsReported()
{
    // A plain file holds the export folder's name.
    QFile blocker(m_outside->filePath(ExportName));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSignalSpy hint(m_transfer.get(), &DocumentTransfer::hint);
    QSignalSpy before(m_transfer.get(), &DocumentTransfer::aboutToExport);
    answerChooser(m_outside->path());
    m_transfer->BtnIHExportClick();
    QVERIFY(!m_transfer->isCopying());
    QVERIFY(before.isEmpty());
    const QString folder = QDir::toNativeSeparators(fixedFolderPath(m_outside->filePath(ExportName)));
    QVERIFY2(hints(hint).last().startsWith(folder + ": "), qPrintable(hints(hint).last()));
    QVERIFY(m_opened.isEmpty());
}

void TestDocumentTransfer::exportNeverWritesThroughALink()
{
    // The export folder, from an earlier export or put there by someone else,
    // holds links where the settings file and the site list go.
    const QString exported = fixedFolderPath(m_outside->filePath(ExportName));
    QVERIFY(QDir().mkpath(exported));
    const QString victim = m_outside->filePath("victim.conf");
    QFile file(victim);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("someone's own file");
    file.close();
    QVERIFY(QFile::link(victim, exported + "defualt.ini"));
    QVERIFY(QFile::link(victim, exported + "SDUrl.txt"));

    QSignalSpy hint(m_transfer.get(), &DocumentTransfer::hint);
    QSignalSpy done(m_transfer.get(), &DocumentTransfer::transferFinished);
    answerChooser(m_outside->path());
    m_transfer->BtnIHExportClick();
    QVERIFY(done.wait(30000));
    QCOMPARE(done.first().first().toBool(), false);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("someone's own file"));
    QVERIFY(QFileInfo(exported + "defualt.ini").isSymLink());
    // Both named in the hint line, and why.
    const QString last = hints(hint).last();
    for (const char* name : {"SDUrl.txt", "defualt.ini"})
        QVERIFY2(last.contains(QDir::toNativeSeparators(exported + name) + QStringLiteral(": 是符号链接")),
                 qPrintable(last));
    QCOMPARE(m_transfer->lastFailures().size(), 2);
    QCOMPARE(QFile(exported + "articles.txt").size(), QFileInfo(m_data->file("articles.txt")).size());
}

void TestDocumentTransfer::importTakesTheDataSetAloneAndReadsNoLink()
{
    const QString source = m_outside->filePath("set") + "/";
    QVERIFY(QDir().mkpath(source));
    const auto put = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    put(source + "defualt.ini", gb18030("[defualt]\r\nSoftwareInd=0\r\n"));
    put(source + "Content1_2.txt", gb18030("导入的段落"));
    put(source + "notes.txt", "a stray file");
    // Links to a file of this computer, under a data set name and the database's.
    const QString secret = m_outside->filePath("secret");
    put(secret, "private key");
    QVERIFY(QFile::link(secret, source + "SDUrl.txt"));
    QVERIFY(QFile::link(secret, source + "history.sqlite"));
    const QByteArray sites = m_data->readBytes("SDUrl.txt");
    int ownedCopies = 0;
    DocumentTransfer::OwnedFiles owned;
    owned.owns = [](const QString& name) { return name.startsWith(QLatin1String("history.sqlite")); };
    owned.copy = [&ownedCopies](const QString&, const QString&, bool) {
        ++ownedCopies;
        return QString();
    };
    m_transfer->setOwnedFiles(owned);

    QSignalSpy hint(m_transfer.get(), &DocumentTransfer::hint);
    QSignalSpy done(m_transfer.get(), &DocumentTransfer::transferFinished);
    answerChooser(source);
    m_transfer->BtnIHImportClick();
    QVERIFY(done.wait(30000));

    QCOMPARE(done.first().first().toBool(), true);
    QCOMPARE(m_data->readBytes("defualt.ini"), gb18030("[defualt]\r\nSoftwareInd=0\r\n"));
    QCOMPARE(m_data->readBytes("Content1_2.txt"), gb18030("导入的段落"));
    QCOMPARE(m_data->readBytes("SDUrl.txt"), sites);
    QVERIFY(!QFileInfo::exists(m_data->file("notes.txt")));
    QCOMPARE(ownedCopies, 0);  // the owner's copy would have opened the link
    QCOMPARE(m_transfer->lastPassedOver(), QStringList({"SDUrl.txt", "notes.txt", "history.sqlite"}));
    QCOMPARE(hints(hint).last(),
             QStringLiteral("成功导入文档:") + fixedFolderPath(source)
                 + QStringLiteral("; 未导入（不是文档的文件，或是链接）：SDUrl.txt; notes.txt; "
                                  "history.sqlite"));

    // Without the link the owner copies its file, and nothing is said to be left out.
    QVERIFY(QFile::remove(source + "history.sqlite"));
    QVERIFY(QFile::remove(source + "SDUrl.txt"));
    QVERIFY(QFile::remove(source + "notes.txt"));
    answerChooser(source);
    m_transfer->BtnIHImportClick();
    QVERIFY(done.wait(30000));
    QCOMPARE(ownedCopies, 1);
    QVERIFY(m_transfer->lastPassedOver().isEmpty());
    QCOMPARE(hints(hint).last(), QStringLiteral("成功导入文档:") + fixedFolderPath(source));
}

QTEST_MAIN(TestDocumentTransfer)
#include "tst_documenttransfer.moc"
