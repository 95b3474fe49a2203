#include "DataFolder.h"
#include "StoredFile.h"
#include "TestData.h"
#include "TextCodec.h"

#include <QDir>
#include <QtTest>

class TestStoredFile : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { StoredFile::setWriteFault({}); }

    void listFilesReadAnyLineEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lf no final") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("empty middle") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("only break") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF\xE7\xAB\x99\r\n") << QStringList{QString::fromUtf8("站")};
    }
    void listFilesReadAnyLineEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, items);
        TestDataFolder data;
        data.writeBytes("l.txt", bytes);
        QCOMPARE(StoredFile::readLines(data.file("l.txt")), items);
    }

    void listFilesWriteCrLfAfterEveryLine()
    {
        TestDataFolder data;
        QVERIFY(StoredFile::writeLines(data.file("l.txt"), {QString::fromUtf8("网站"), ""}));
        QCOMPARE(data.readBytes("l.txt"), gb18030(QString::fromUtf8("网站\r\n\r\n")));
        QVERIFY(!StoredFile::writeLines(data.file("l.txt"), {"a\nb"}));
        QCOMPARE(data.readBytes("l.txt"), gb18030(QString::fromUtf8("网站\r\n\r\n")));
    }

    void fixtureRoundTrips()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        for (const char* name : {"SDUrl.txt", "articles.txt"}) {
            const QByteArray before = data.readBytes(name);
            QVERIFY(StoredFile::writeLines(data.file(name), StoredFile::readLines(data.file(name))));
            QCOMPARE(data.readBytes(name), before);
        }
        // A paragraph without a final line break reads and writes back unchanged.
        const QByteArray paragraph = data.readBytes("Content0_1.txt");
        QVERIFY(!paragraph.endsWith('\n'));
        const auto text = StoredFile::readText(data.file("Content0_1.txt"));
        QVERIFY(text && text->contains('\n') && !text->contains('\r'));
        QVERIFY(StoredFile::writeText(data.file("Content0_1.txt"), *text));
        QCOMPARE(data.readBytes("Content0_1.txt"), paragraph);
    }

    // "锘" is EF BB in GB18030 and "开" BF AA: together they start like a UTF-8
    // byte order mark, but what follows is no UTF-8.
    void textStartingLikeByteOrderMarkReadsBack()
    {
        TestDataFolder data;
        const QString title = QString::fromUtf8("锘开业大吉");
        QVERIFY(gb18030(title).startsWith("\xEF\xBB\xBF"));
        QVERIFY(StoredFile::writeLines(data.file("articles.txt"), {title, "b"}));
        QCOMPARE(StoredFile::readLines(data.file("articles.txt")), QStringList({title, "b"}));
        QVERIFY(StoredFile::writeText(data.file("Content0_1.txt"), title + "\n2"));
        QCOMPARE(StoredFile::readText(data.file("Content0_1.txt")), std::optional<QString>(title + "\n2"));
    }

    // Windows' Chinese code page has "€" as the byte 0x80; 0x80 after a lead
    // byte (81 80) is the trail of an ordinary character and stays one.
    void euroByteRoundTrips()
    {
        TestDataFolder data;
        const QByteArray bytes("\x80"
                               "5 \xBC\xDB\x80\r\n\x81\x80 \x81\x30\x81\x30\x80",
                               17);
        data.writeBytes("Content0_1.txt", bytes);
        const auto text = StoredFile::readText(data.file("Content0_1.txt"));
        QVERIFY(text);
        QCOMPARE(text->count(QChar(0x20AC)), 3);
        QVERIFY(!text->contains(QChar::ReplacementCharacter));
        QVERIFY(StoredFile::writeText(data.file("Content0_1.txt"), *text));
        QCOMPARE(data.readBytes("Content0_1.txt"), bytes);
        QCOMPARE(TextCodec::encode(QString::fromUtf8("€")), QByteArray("\x80"));
    }

    void failedWriteLeavesOldFileAndNamesIt()
    {
        TestDataFolder data;
        data.writeBytes("c.txt", "old");
        StoredFile::setWriteFault(
            [](const QString& path) { return path.endsWith("c.txt") ? QStringLiteral("disk full") : QString(); });
        const WriteResult result = StoredFile::writeText(data.file("c.txt"), "new");
        QVERIFY(!result.ok);
        QVERIFY(result.error.contains("c.txt"));
        QVERIFY(result.error.contains("disk full"));
        QCOMPARE(data.readBytes("c.txt"), QByteArray("old"));
    }

    void staleTemporariesOfStoredFilesAreRemoved()
    {
        TestDataFolder data;
        // The history's copy on its way into place goes; a user's backup of it stays.
        for (const char* name :
             {"defualt.ini.a1B2c3", "SDUrl.txt.XyZ123", "Content3_2.txt.abcdef", "history.sqlite.qvbtmp-Q1w2E3",
              "defualt.ini", "notes.txt.abcdef", "defualt.ini.toolong7", "mine.bak", "history.sqlite.backup"})
            data.writeBytes(name, "x");
        QCOMPARE(DataFolder::removeStaleTemporaries(data.path()), 4);
        const QStringList left = QDir(data.path()).entryList(QDir::Files);
        QCOMPARE(left,
                 (QStringList{"defualt.ini", "defualt.ini.toolong7", "history.sqlite.backup", "mine.bak",
                              "notes.txt.abcdef"}));
    }

    void trimRemovesControlCodes()
    {
        QCOMPARE(TextCodec::trimmed(QString("\t\x01 a b \r\n")), QString("a b"));
        QCOMPARE(TextCodec::trimmed(QString::fromUtf8("\u3000a")), QString::fromUtf8("\u3000a"));
    }
};

QTEST_GUILESS_MAIN(TestStoredFile)
#include "tst_storedfile.moc"
