#include "FileSizeLimit.h"
#include "GeneralKeys.h"
#include "SettingsFile.h"
#include "SettingsFileLoader.h"
#include "TestData.h"
#include "TextCodec.h"

#include <QFile>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file's identity and time: a rewrite, even of the same bytes, puts a new
// file (a new inode) in its place.
QString fileStamp(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("missing");
    return QStringLiteral("%1 %2.%3").arg(info.st_ino).arg(info.st_mtim.tv_sec).arg(info.st_mtim.tv_nsec);
}

}  // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { StoredFile::setWriteFault({}); }

    void readsWindowsFileExactly()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        SettingsFile ini(data.file("defualt.ini"));
        QCOMPARE(ini.readInteger("defualt", "SoftwareInd", 0), 1);
        QCOMPARE(ini.readInteger("DEFUALT", "editpanelwidth", 400), 420);
        QCOMPARE(ini.readInteger("defualt", "CurArticlePnlWidth", 200), 16);  // "0x10"
        QVERIFY(ini.readBool("defualt", "CbEditURL", false));
        QCOMPARE(ini.readString("1", "User"), QString(" lisi "));
        QCOMPARE(ini.readString("1", "Password"), QString("p a s s"));
        QCOMPARE(ini.readString("2", "url", "x"), QString());
        QCOMPARE(ini.readString("0", "User"), QString::fromUtf8("张三"));
        QCOMPARE(ini.readString("D:\\Tools\\QVBzevi\\config\\Content0_1.txt", "DetailClauseDisplay2"),
                 QString::fromUtf8("车标题2"));
        QCOMPARE(ini.readString("9", "url", "none"), QString("none"));
    }

    void unchangedValueDoesNotRewrite()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        const QByteArray before = data.readBytes("defualt.ini");
        SettingsFile ini(data.file("defualt.ini"));
        QVERIFY(ini.writeString("defualt", "SiteInd", "0"));
        QCOMPARE(ini.rewriteCount(), 0);
        QCOMPARE(data.readBytes("defualt.ini"), before);
    }

    // The kernel refuses every write here (a file size limit below the
    // file's size): whatever a commit that changes nothing does, it must not
    // write, so it succeeds; a real change fails and says why.
    void commitThatChangesNothingLeavesTheFileAlone()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        const QString path = data.file("defualt.ini");
        SettingsFile ini(path);
        QVERIFY(ini.copySection("0", "copy of 0"));
        const QByteArray before = data.readBytes("defualt.ini");
        QVERIFY(before.contains("CurArticlePnlWidth=0x10\r\n"));
        const QString stamp = fileStamp(path);
        const int rewrites = ini.rewriteCount();
        GeneralKeys keys = GeneralKeys::read(ini);
        QCOMPARE(keys.CurArticlePnlWidth, 16);
        {
            const FileSizeLimit full(1);
            QVERIFY(full.isSet());
            {
                // What the exit writes when the user changed nothing.
                SettingsFile::Batch batch(ini);
                QVERIFY(keys.write(ini));
                QVERIFY(ini.writeString("0", "User", QString::fromUtf8("张三")));
                QVERIFY(ini.copySection("0", "copy of 0"));
                QVERIFY(ini.removeSection("no such section"));
                QVERIFY2(batch.commit(), qPrintable(ini.lastError()));
            }
            QCOMPARE(ini.rewriteCount(), rewrites);
            QCOMPARE(fileStamp(path), stamp);
            QCOMPARE(data.readBytes("defualt.ini"), before);

            keys.EditPanelWidth += 1;
            QSignalSpy failed(&ini, &SettingsFile::writeFailed);
            QVERIFY(!keys.write(ini));
            QCOMPARE(failed.count(), 1);
            QVERIFY2(ini.lastError().startsWith(path + ": ") && ini.lastError().contains("File too large"),
                     qPrintable(ini.lastError()));
            QCOMPARE(data.readBytes("defualt.ini"), before);
            QCOMPARE(GeneralKeys::read(ini).EditPanelWidth, keys.EditPanelWidth - 1);
        }
        // Room again: the changed key alone is written, the others stay as spelt.
        QVERIFY(keys.write(ini));
        QVERIFY(fileStamp(path) != stamp);
        const QByteArray after = data.readBytes("defualt.ini");
        QVERIFY(after.contains("EditPanelWidth=421\r\nCurArticlePnlWidth=0x10\r\n"));
        QCOMPARE(after.size(), before.size());

        // A key that is missing or no number is written, in the order the
        // Windows original writes them; another spelling of the value stays.
        TestDataFolder other;
        other.writeBytes("defualt.ini", "[defualt]\r\nEdit=2\r\nEditPanelWidth=wide\r\n");
        SettingsFile partial(other.file("defualt.ini"));
        GeneralKeys defaults;
        defaults.Edit = true;
        QVERIFY(defaults.write(partial));
        QCOMPARE(other.readBytes("defualt.ini"),
                 QByteArray("[defualt]\r\nEdit=2\r\nEditPanelWidth=400\r\n"
                            "SoftwareInd=0\r\nSiteInd=0\r\nCbEditURL=0\r\n"
                            "CurArticlePnlWidth=200\r\n"));
    }

    void rewriteKeepsEveryOtherLineByteForByte()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        const QByteArray before = data.readBytes("defualt.ini");
        SettingsFile ini(data.file("defualt.ini"));
        QVERIFY(ini.writeString("DEFUALT", "siteind", "2"));
        QByteArray expected = before;
        expected.replace("SiteInd=0\r\n", "SiteInd=2\r\n");
        QCOMPARE(data.readBytes("defualt.ini"), expected);
        // Writing the old value back restores the original bytes.
        QVERIFY(ini.writeString("defualt", "SiteInd", "0"));
        QCOMPARE(data.readBytes("defualt.ini"), before);
    }

    void commentsBlankLinesAndSpacingSurvive()
    {
        TestDataFolder data;
        const QByteArray original = "; header comment\r\n\r\n[A]\r\n  Key = one\r\n\r\n; tail\r\n[B]\r\nx=1\r\n";
        data.writeBytes("s.ini", original);
        SettingsFile ini(data.file("s.ini"));
        QCOMPARE(ini.readString("a", "KEY"), QString(" one"));
        QVERIFY(ini.writeString("a", "new", "2"));
        QCOMPARE(data.readBytes("s.ini"),
                 QByteArray("; header comment\r\n\r\n[A]\r\n  Key = one\r\nnew=2\r\n\r\n; tail\r\n[B]\r\nx=1\r\n"));
        QVERIFY(ini.writeString("C", "k", "v"));
        QVERIFY(data.readBytes("s.ini").endsWith("[B]\r\nx=1\r\n[C]\r\nk=v\r\n"));
    }

    void readsCrAndLfLineEndsAndWritesGb18030()
    {
        TestDataFolder data;
        data.writeBytes("s.ini", "[a]\rk=1\n[b]\r\nk=2");
        SettingsFile ini(data.file("s.ini"));
        QCOMPARE(ini.readInteger("a", "k", 0), 1);
        QCOMPARE(ini.readInteger("b", "k", 0), 2);
        QVERIFY(ini.writeString("站点", "文章", QString::fromUtf8("标识𠀀")));
        QVERIFY(data.readBytes("s.ini").contains(gb18030(QString::fromUtf8("[站点]\r\n文章=标识𠀀\r\n"))));
        SettingsFile again(data.file("s.ini"));
        QCOMPARE(again.readString("站点", "文章"), QString::fromUtf8("标识𠀀"));
    }

    // Many characters end in the byte of "]" in GB18030 (郵 is BE 5D, 沒 9B 5D):
    // a section named with them is found again, in this file and in a fresh one.
    void sectionNamesWithBracketTrailBytesReadBack()
    {
        TestDataFolder data;
        const QString site = QString::fromUtf8("中華郵政沒");
        QVERIFY(gb18030(site).contains(']'));
        data.writeBytes("s.ini", gb18030("[" + site + "]\r\nurl=a\r\n"));
        SettingsFile ini(data.file("s.ini"));
        QCOMPARE(ini.sectionNames(), QStringList{site});
        QCOMPARE(ini.readString(site, "url"), QString("a"));
        QVERIFY(ini.writeString(QString::fromUtf8("閉") + site, "url", "b"));
        SettingsFile again(data.file("s.ini"));
        QCOMPARE(again.readString(site, "url"), QString("a"));
        QCOMPARE(again.readString(QString::fromUtf8("閉") + site, "url"), QString("b"));
    }

    // The lines of a section that was only read go back as the bytes they
    // were, odd line breaks included; a written section comes out in CR LF,
    // also on the rewrites after. (Section headers always end in CR LF.)
    void sectionsReadButNotWrittenKeepTheirBytes()
    {
        TestDataFolder data;
        const QByteArray original = "[a]\nk=1\rj = 2 \n[b]\r\nk=1\n; note\n[c]\nz=0";
        data.writeBytes("s.ini", original);
        SettingsFile ini(data.file("s.ini"));
        QCOMPARE(ini.readString("a", "j"), QString(" 2 "));
        QCOMPARE(ini.readString("c", "z"), QString("0"));
        QVERIFY(ini.writeString("b", "k", "2"));
        QCOMPARE(data.readBytes("s.ini"), QByteArray("[a]\r\nk=1\rj = 2 \n[b]\r\nk=2\r\n; note\r\n[c]\r\nz=0"));
        QVERIFY(ini.writeString("a", "k", "3"));
        QVERIFY(ini.writeString("c", "y", "4"));
        QCOMPARE(data.readBytes("s.ini"),
                 QByteArray("[a]\r\nk=3\r\nj = 2 \r\n[b]\r\nk=2\r\n; note\r\n[c]\r\nz=0\r\ny=4\r\n"));
        SettingsFile again(data.file("s.ini"));
        QCOMPARE(again.readString("a", "k"), QString("3"));
        QCOMPARE(again.readString("b", "k"), QString("2"));
        QCOMPARE(again.readString("c", "y"), QString("4"));
    }

    void valuesThatStartLikeAByteOrderMarkReadBack()
    {
        // "锘緼" is EF BB BF 41 in GB18030: inside a file it is text, not a mark.
        const QString value = QString::fromUtf8("锘緼 user");
        TestDataFolder data;
        {
            SettingsFile ini(data.file("s.ini"));
            QVERIFY(ini.writeString(value, "User", value));
        }
        SettingsFile again(data.file("s.ini"));
        QCOMPARE(again.readString(value, "User"), value);
        QCOMPARE(again.sectionNames(), QStringList{value});
    }

    void integersAndBooleans_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("42") << 42;
        QTest::newRow("negative") << QByteArray("-1") << -1;
        QTest::newRow("hex") << QByteArray("0x1F") << 31;
        QTest::newRow("not a number") << QByteArray("wide") << 400;
        QTest::newRow("empty") << QByteArray("") << 400;
        QTest::newRow("overflow") << QByteArray("99999999999999") << 400;
        QTest::newRow("trailing junk") << QByteArray("12px") << 400;
    }
    void integersAndBooleans()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        TestDataFolder data;
        data.writeBytes("s.ini", "[defualt]\r\nEditPanelWidth=" + stored + "\r\n");
        SettingsFile ini(data.file("s.ini"));
        QCOMPARE(ini.readInteger("defualt", "EditPanelWidth", 400), expected);
    }

    void booleansWriteOneAndZero()
    {
        TestDataFolder data;
        SettingsFile ini(data.file("s.ini"));
        QVERIFY(ini.writeBool("defualt", "Edit", true));
        QVERIFY(ini.writeBool("defualt", "CbEditURL", false));
        QCOMPARE(data.readBytes("s.ini"), QByteArray("[defualt]\r\nEdit=1\r\nCbEditURL=0\r\n"));
        QVERIFY(ini.readBool("defualt", "Edit", false));
        QVERIFY(!ini.readBool("defualt", "CbEditURL", true));
    }

    void longValuesReadWhole()
    {
        TestDataFolder data;
        SettingsFile ini(data.file("s.ini"));
        const QString longText(5000, QChar(0x6587));
        QVERIFY(ini.writeString("software0", "ShowClause1", longText));
        SettingsFile again(data.file("s.ini"));
        QCOMPARE(again.readString("software0", "ShowClause1"), longText);
    }

    void unstorableNamesAndValuesAreRefused_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("value with LF") << "s"
                                       << "k"
                                       << "a\nb";
        QTest::newRow("value with CR") << "s"
                                       << "k"
                                       << "a\rb";
        QTest::newRow("key with =") << "s"
                                    << "a=b"
                                    << "v";
        QTest::newRow("key starting [") << "s"
                                        << "[x"
                                        << "v";
        QTest::newRow("key starting ;") << "s"
                                        << ";x"
                                        << "v";
        QTest::newRow("section with ]") << "a]b"
                                        << "k"
                                        << "v";
        QTest::newRow("section with break") << "a\nb"
                                            << "k"
                                            << "v";
        QTest::newRow("empty key") << "s"
                                   << ""
                                   << "v";
    }
    void unstorableNamesAndValuesAreRefused()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        TestDataFolder data;
        data.writeBytes("s.ini", "[s]\r\nk=old\r\n");
        SettingsFile ini(data.file("s.ini"));
        QSignalSpy failed(&ini, &SettingsFile::writeFailed);
        QVERIFY(!ini.writeString(section, key, value));
        QCOMPARE(failed.count(), 1);
        QVERIFY(ini.lastError().contains("s.ini"));
        QCOMPARE(data.readBytes("s.ini"), QByteArray("[s]\r\nk=old\r\n"));
        QCOMPARE(ini.readString("s", "k"), QString("old"));
    }

    void batchIsOneRewrite()
    {
        TestDataFolder data;
        SettingsFile ini(data.file("s.ini"));
        {
            SettingsFile::Batch batch(ini);
            for (int i = 0; i < 100; ++i)
                ini.writeString(QString::number(i), "url", QString("u%1").arg(i));
            QVERIFY(!QFile::exists(data.file("s.ini")));
            QVERIFY(batch.commit());
        }
        QCOMPARE(ini.rewriteCount(), 1);
        SettingsFile again(data.file("s.ini"));
        QCOMPARE(again.readString("99", "url"), QString("u99"));
    }

    void refusedWriteDropsTheWholeBatch()
    {
        TestDataFolder data;
        data.writeBytes("s.ini", "[0]\r\nurl=a\r\n");
        SettingsFile ini(data.file("s.ini"));
        SettingsFile::Batch batch(ini);
        ini.writeString("0", "url", "b");
        ini.writeString("0", "bad=key", "c");
        QVERIFY(!batch.commit());
        QCOMPARE(ini.readString("0", "url"), QString("a"));
        QCOMPARE(data.readBytes("s.ini"), QByteArray("[0]\r\nurl=a\r\n"));
    }

    void failedWriteKeepsOldFileAndMemoryInStep()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        const QByteArray before = data.readBytes("defualt.ini");
        SettingsFile ini(data.file("defualt.ini"));
        StoredFile::setWriteFault([](const QString&) { return QStringLiteral("No space left on device"); });
        QSignalSpy failed(&ini, &SettingsFile::writeFailed);
        QVERIFY(!ini.writeString("0", "User", "changed"));
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains("defualt.ini"));
        QVERIFY(failed.at(0).at(0).toString().contains("No space left"));
        QCOMPARE(data.readBytes("defualt.ini"), before);
        QCOMPARE(ini.readString("0", "User"), QString::fromUtf8("张三"));
    }

    void readOnlyFolderReportsFailure()
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        TestDataFolder data;
        SettingsFile ini(data.file("s.ini"));
        QFile::setPermissions(data.path(), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(!ini.writeString("a", "b", "c"));
        QFile::setPermissions(data.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void readsAgainWhenChangedOnDisk()
    {
        TestDataFolder data;
        data.writeBytes("s.ini", "[a]\r\nk=1\r\n");
        SettingsFile ini(data.file("s.ini"));
        QCOMPARE(ini.readString("a", "k"), QString("1"));
        data.writeBytes("s.ini", "[a]\r\nk=22\r\n[b]\r\nx=y\r\n");
        QCOMPARE(ini.readString("a", "k"), QString("22"));
        QVERIFY(ini.writeString("b", "x", "z"));
        QCOMPARE(data.readBytes("s.ini"), QByteArray("[a]\r\nk=22\r\n[b]\r\nx=z\r\n"));
    }

    void manyNewKeysBeforeTrailingCommentsKeepTheirPlaces()
    {
        TestDataFolder data;
        data.writeBytes("defualt.ini", "[a]\r\nk0=x\r\n; note\r\n\r\n[b]\r\nz=1\r\n");
        SettingsFile ini(data.file("defualt.ini"));
        {
            SettingsFile::Batch batch(ini);
            for (int i = 1; i <= 3000; ++i)
                QVERIFY(ini.writeString("a", QStringLiteral("k%1").arg(i), QString::number(i * 2)));
            QVERIFY(batch.commit());
        }
        QCOMPARE(ini.rewriteCount(), 1);
        QVERIFY(ini.writeString("A", "K17", "changed"));
        SettingsFile again(data.file("defualt.ini"));
        QCOMPARE(again.readString("a", "k0"), QString("x"));
        QCOMPARE(again.readString("a", "k17"), QString("changed"));
        QCOMPARE(again.readString("a", "k3000"), QString("6000"));
        const QByteArray bytes = data.readBytes("defualt.ini");
        QVERIFY(bytes.contains("k2999=5998\r\nk3000=6000\r\n; note\r\n\r\n[b]\r\nz=1\r\n"));
        QCOMPARE(bytes.count("k17="), 1);
    }

    // Names match as their case-folded forms: ASCII letters, and letters
    // beyond ASCII, including those that fold onto ASCII ones.
    void namesMatchWithoutRegardToCase_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        QTest::addColumn<bool>("same");
        QTest::newRow("ascii") << "Password"
                               << "pASSWORD" << true;
        QTest::newRow("ascii digits and signs") << "Name12_x"
                                                << "name12_X" << true;
        QTest::newRow("ascii other") << "Name12"
                                     << "Name13" << false;
        QTest::newRow("ascii length") << "url"
                                      << "urls" << false;
        QTest::newRow("not a letter") << "a["
                                      << "a{" << false;
        QTest::newRow("greek") << QString::fromUtf8("ΣΟΦΊΑ") << QString::fromUtf8("σοφία") << true;
        QTest::newRow("final sigma") << QString::fromUtf8("ΟΔΟΣ") << QString::fromUtf8("οδος") << true;
        QTest::newRow("cyrillic") << QString::fromUtf8("Пароль") << QString::fromUtf8("ПАРОЛЬ") << true;
        QTest::newRow("kelvin sign") << QString::fromUtf8("\u212Aey") << "key" << true;
        QTest::newRow("long s") << QString::fromUtf8("\u017Fite") << "SITE" << true;
        QTest::newRow("chinese") << QString::fromUtf8("网站") << QString::fromUtf8("网址") << false;
    }
    void namesMatchWithoutRegardToCase()
    {
        QFETCH(QString, written);
        QFETCH(QString, read);
        QFETCH(bool, same);
        TestDataFolder data;
        {
            SettingsFile ini(data.file("s.ini"));
            QVERIFY(ini.writeString(written, written, "v"));
            QCOMPARE(ini.readString(read, read, "none"), same ? QString("v") : QString("none"));
            QCOMPARE(ini.hasSection(read), same);
            // Writing under the other spelling changes the stored key, or adds one.
            QVERIFY(ini.writeString(read, read, "w"));
            QCOMPARE(ini.sectionNames().size(), same ? 1 : 2);
            QCOMPARE(ini.readString(written, written), same ? QString("w") : QString("v"));
        }
        // The same from the file, where the index is built by the first read.
        SettingsFile again(data.file("s.ini"));
        QCOMPARE(again.readString(written, written), same ? QString("w") : QString("v"));
        QCOMPARE(again.readString(read, read), QString("w"));
    }

    // Small sections are looked up along their lines, larger ones through an
    // index built once they grow: both find the first key of a name.
    void sectionsGrowingPastAFewKeysKeepFindingTheFirstKey()
    {
        TestDataFolder data;
        data.writeBytes("s.ini", "[a]\r\nk=first\r\nK=second\r\n; note\r\n[b]\r\nk=1\r\n");
        SettingsFile ini(data.file("s.ini"));
        QCOMPARE(ini.readString("A", "k"), QString("first"));
        for (int i = 0; i < 12; ++i) {
            QVERIFY(ini.writeString("a", QStringLiteral("n%1").arg(i), QString::number(i)));
            QCOMPARE(ini.readString("a", "K"), QString("first"));
            for (int j = 0; j <= i; ++j)
                QCOMPARE(ini.readString("a", QStringLiteral("N%1").arg(j)), QString::number(j));
        }
        QVERIFY(ini.writeString("a", "K", "changed"));
        QVERIFY(ini.writeString("a", "n3", "three"));
        QCOMPARE(ini.readString("b", "k"), QString("1"));
        const QByteArray bytes = data.readBytes("s.ini");
        QVERIFY(bytes.startsWith("[a]\r\nk=changed\r\nK=second\r\nn0=0\r\n"));
        QVERIFY(bytes.contains("n3=three\r\n"));
        QVERIFY(bytes.contains("n11=11\r\n; note\r\n[b]\r\nk=1\r\n"));
        SettingsFile again(data.file("s.ini"));
        QCOMPARE(again.readString("a", "k"), QString("changed"));
        QCOMPARE(again.readString("a", "N11"), QString("11"));
        QCOMPARE(again.readString("a", "n3"), QString("three"));
    }

    void duplicatesAndJunkAreReadSafely()
    {
        TestDataFolder data;
        static const char raw[] =
            "[a]\r\nk=first\r\nK=second\r\n[A]\r\nk=third\r\n\x00\xff\xfe=\x81\r\n[unclosed\r\nz=1\r\n";
        const QByteArray junk(raw, sizeof raw - 1);
        data.writeBytes("s.ini", junk);
        SettingsFile ini(data.file("s.ini"));
        QCOMPARE(ini.readString("a", "k"), QString("first"));
        QCOMPARE(ini.readString("unclosed", "z"), QString("1"));
        QVERIFY(ini.writeString("a", "k", "new"));
        QByteArray expected = junk;
        expected.replace("k=first", "k=new");
        QCOMPARE(data.readBytes("s.ini"), expected);
    }

    // Keys are trimmed of codes up to 32 after decoding: a broken GB18030
    // sequence may take a low byte with it, so the bytes are not trimmed first.
    // Values are decoded when read, to the same text as a whole-line decode.
    void keysAndValuesReadAsTheirDecodedText()
    {
        TestDataFolder data;
        static const char raw[] = "[s]\r\n with I\xb5\x00\x00\x00=A\r\n  plain \t=\xd6\xd0\xce\xc4 \r\n";
        data.writeBytes("s.ini", QByteArray(raw, sizeof raw - 1));
        SettingsFile ini(data.file("s.ini"));
        const QString brokenKey =
            TextCodec::trimmed(TextCodec::decodeGb18030(QByteArray(" with I\xb5\x00\x00\x00", 10)));
        QVERIFY(ini.hasKey("s", brokenKey));
        QCOMPARE(ini.readString("s", brokenKey), QString("A"));
        QCOMPARE(ini.readString("s", "plain"), QString::fromUtf8("中文 "));
    }

    // Read on another thread, the file object arrives in the thread that asked
    // for it (its signals and timers live there) and reads as a direct read does.
    void loaderHandsTheFileToItsThread()
    {
        TestDataFolder data;
        data.writeBytes("s.ini", "[defualt]\r\nSiteInd=3\r\n");
        SettingsFileLoader loader(data.file("s.ini"));
        const std::unique_ptr<SettingsFile> file = loader.take();
        QVERIFY(file);
        QCOMPARE(file->thread(), QThread::currentThread());
        QCOMPARE(file->readInteger("defualt", "SiteInd", -1), 3);
        QVERIFY(file->writeInteger("defualt", "SiteInd", 4));
        QCOMPARE(data.readBytes("s.ini"), QByteArray("[defualt]\r\nSiteInd=4\r\n"));
    }

    // A section copy takes the source's lines as the file holds them; the
    // target keeps its own header line and place.
    void copiedSectionTakesTheSourceBytes()
    {
        TestDataFolder data;
        // "z" holds 张 in GB18030.
        data.writeBytes("s.ini", "[a]\nk=1\rj = 2 \n[B]\r\nold=x\r\n[c]\n; note\nz=\xd5\xc5");
        SettingsFile ini(data.file("s.ini"));
        QVERIFY(ini.copySection("A", "b"));
        QCOMPARE(ini.rewriteCount(), 1);
        QCOMPARE(data.readBytes("s.ini"),
                 QByteArray("[a]\r\nk=1\rj = 2 \n[B]\r\nk=1\rj = 2 \n[c]\r\n; note\nz=\xd5\xc5"));
        QCOMPARE(ini.readString("B", "J"), QString(" 2 "));
        QCOMPARE(ini.readString("b", "old", "none"), QString("none"));

        // A new target goes at the end; the last section's missing line break is supplied.
        QVERIFY(ini.copySection("C", "new"));
        QCOMPARE(data.readBytes("s.ini"),
                 QByteArray("[a]\r\nk=1\rj = 2 \n[B]\r\nk=1\rj = 2 \n[c]\r\n; note\n"
                            "z=\xd5\xc5\r\n[new]\r\n; note\nz=\xd5\xc5"));
        SettingsFile again(data.file("s.ini"));
        QCOMPARE(again.readString("NEW", "z"), QString::fromUtf8("张"));
        QCOMPARE(again.readString("b", "k"), QString("1"));

        // Lines written in the same batch go along; later writes to one side leave the other alone.
        {
            SettingsFile::Batch batch(ini);
            QVERIFY(ini.writeString("c", "y", QString::fromUtf8("四")));
            QVERIFY(ini.copySection("c", "a"));
            QVERIFY(ini.writeString("a", "z", "own"));
            QVERIFY(batch.commit());
        }
        QCOMPARE(ini.rewriteCount(), 3);
        QVERIFY(data.readBytes("s.ini").startsWith("[a]\r\n; note\r\nz=own\r\ny=\xcb\xc4\r\n[B]\r\n"));
        QCOMPARE(ini.readString("c", "z"), QString::fromUtf8("张"));
        QCOMPARE(SettingsFile(data.file("s.ini")).readString("A", "y"), QString::fromUtf8("四"));
    }

    void copyFromMissingSectionEmptiesTheTarget()
    {
        TestDataFolder data;
        data.writeBytes("s.ini", "[a]\r\nk=1\r\n[b]\r\nk=2\r\n");
        SettingsFile ini(data.file("s.ini"));
        QVERIFY(ini.copySection("gone", "absent"));
        QCOMPARE(ini.rewriteCount(), 0);
        QVERIFY(!ini.hasSection("absent"));
        QVERIFY(ini.copySection("gone", "A"));
        QCOMPARE(data.readBytes("s.ini"), QByteArray("[a]\r\n[b]\r\nk=2\r\n"));
        QCOMPARE(ini.readString("a", "k", "default"), QString("default"));
    }

    void copyOntoItselfChangesNothing()
    {
        TestDataFolder data;
        data.writeBytes("s.ini", "[Ab]\nk=1\n");
        SettingsFile ini(data.file("s.ini"));
        QVERIFY(ini.copySection("Ab", "aB"));
        QCOMPARE(ini.rewriteCount(), 0);
        QCOMPARE(data.readBytes("s.ini"), QByteArray("[Ab]\nk=1\n"));
        QCOMPARE(ini.readString("ab", "k"), QString("1"));
    }

    void failedCopyChangesNothing()
    {
        TestDataFolder data;
        const QByteArray original = "[a]\r\nk=1\r\n[b]\r\nk=2\r\n";
        data.writeBytes("s.ini", original);
        SettingsFile ini(data.file("s.ini"));
        {
            SettingsFile::Batch batch(ini);
            QVERIFY(ini.copySection("a", "b"));
            QVERIFY(ini.copySection("a", "fresh"));
            ini.writeString("a", "bad=key", "x");
            QVERIFY(!batch.commit());
        }
        QCOMPARE(ini.readString("b", "k"), QString("2"));
        QVERIFY(!ini.hasSection("fresh"));
        QCOMPARE(data.readBytes("s.ini"), original);

        QSignalSpy failed(&ini, &SettingsFile::writeFailed);
        QVERIFY(!ini.copySection("a", "bad]name"));
        StoredFile::setWriteFault([](const QString&) { return QStringLiteral("No space left on device"); });
        QVERIFY(!ini.copySection("a", "b"));
        QCOMPARE(failed.count(), 2);
        QCOMPARE(ini.readString("b", "k"), QString("2"));
        QCOMPARE(data.readBytes("s.ini"), original);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
