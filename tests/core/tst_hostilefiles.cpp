#include "SettingsFile.h"
#include "StoredFile.h"
#include "TestData.h"
#include "TextCodec.h"

#include <QtTest>

// Damaged and oversized files read safely and are never rewritten wrongly.
class TestHostileFiles : public QObject {
    Q_OBJECT
private slots:
    void invalidGb18030BytesSurviveAnUnrelatedWrite()
    {
        TestDataFolder data;
        static const char raw[] = "[0]\r\nurl=\x81\x20\xff\x00\x80\r\nUser=a\r\n";
        const QByteArray bytes(raw, sizeof raw - 1);
        data.writeBytes("defualt.ini", bytes);
        SettingsFile ini(data.file("defualt.ini"));
        QVERIFY(!ini.readString("0", "url").isEmpty());
        QVERIFY(ini.writeString("0", "User", "b"));
        QByteArray expected = bytes;
        expected.replace("User=a", "User=b");
        QCOMPARE(data.readBytes("defualt.ini"), expected);
    }

    void megabyteLinesAndBinaryJunk()
    {
        TestDataFolder data;
        QByteArray junk;
        for (int i = 0; i < 200000; ++i)
            junk += char((i * 7919) % 256);
        const QByteArray longLine = "[big]\r\nk=" + QByteArray(1 << 20, 'x') + "\r\n";
        data.writeBytes("defualt.ini", junk + "\r\n" + longLine);
        SettingsFile ini(data.file("defualt.ini"));
        QCOMPARE(ini.readString("big", "k").size(), 1 << 20);
        QCOMPARE(ini.readInteger("defualt", "SiteInd", 0), 0);
        QVERIFY(ini.writeString("defualt", "SiteInd", "3"));
        const QByteArray after = data.readBytes("defualt.ini");
        QVERIFY(after.startsWith(junk));
        QVERIFY(after.endsWith("[defualt]\r\nSiteInd=3\r\n"));
    }

    void hugeAndNegativeIndexesReadAsNumbersOrDefault()
    {
        TestDataFolder data;
        data.writeBytes("defualt.ini", "[defualt]\r\nSiteInd=-2147483648\r\nSoftwareInd=4294967296\r\n"
                                       "EditPanelWidth=0xFFFFFFFFF\r\nCurArticlePnlWidth=-0x80000000\r\n");
        SettingsFile ini(data.file("defualt.ini"));
        QCOMPARE(ini.readInteger("defualt", "SiteInd", 0), INT_MIN);
        QCOMPARE(ini.readInteger("defualt", "CurArticlePnlWidth", 0), INT_MIN);
        QCOMPARE(ini.readInteger("defualt", "SoftwareInd", 7), 7);
        QCOMPARE(ini.readInteger("defualt", "EditPanelWidth", 400), 400);
    }

    void fiftyMegabyteListFileReads()
    {
        TestDataFolder data;
        const QByteArray line = gb18030(QString::fromUtf8("一个很长的文章名称")) + QByteArray(80, 'a') + "\r\n";
        QByteArray big;
        big.reserve(50 << 20);
        while (big.size() < (50 << 20))
            big += line;
        data.writeBytes("articles.txt", big);
        const QStringList names = StoredFile::readLines(data.file("articles.txt"));
        QCOMPARE(names.size(), int(big.size() / line.size()));
        QVERIFY(names.last().startsWith(QString::fromUtf8("一个很长")));
    }

    void nulBytesInListFilesAreKept()
    {
        TestDataFolder data;
        data.writeBytes("SDUrl.txt", QByteArray("a\0b\r\nc\r\n", 8));
        const QStringList names = StoredFile::readLines(data.file("SDUrl.txt"));
        QCOMPARE(names.size(), 2);
        QCOMPARE(names.at(0).size(), 3);
        QVERIFY(StoredFile::writeLines(data.file("SDUrl.txt"), names));
        QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("a\0b\r\nc\r\n", 8));
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
