#include "SiteSession.h"

#include <QSignalSpy>
#include <QtTest>

class TestSiteStore : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { StoredFile::setWriteFault({}); }

    void selectingAWindowsSiteFillsRecordAndOpensIt()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        const QByteArray iniBefore = data.readBytes("defualt.ini");
        Session s(data);
        QCOMPARE(s.store.siteNames(), QStringList({"本地论坛", "分类信息网", "空网址站点"}));
        QCOMPARE(s.store.currentPosition(), 0);  // focus mark on the first item, nothing selected
        QVERIFY(s.store.selectedPositions().isEmpty());

        QSignalSpy open(&s.store, &SiteStore::urlToOpen);
        QSignalSpy address(&s.store, &SiteStore::addressToShow);
        QSignalSpy row(&s.store, &SiteStore::credentialsChanged);
        s.store.SelectSite(0);
        // No scheme: opened with "http://", the file keeps what was stored.
        QCOMPARE(open.takeFirst().at(0).toString(), QString("http://bbs.example.cn/post.php"));
        QCOMPARE(address.takeFirst().at(0).toString(), QString("http://bbs.example.cn/post.php"));
        QCOMPARE(row.takeFirst(), QVariantList({QString("张三"), QString("密码123")}));
        QCOMPARE(s.store.record().siteName, QString("本地论坛"));
        QCOMPARE(data.readBytes("defualt.ini"), iniBefore);

        s.store.SelectSite(1);  // a scheme is used as stored; credentials are not trimmed
        QCOMPARE(open.takeFirst().at(0).toString(), QString("http://www.example.com.cn/fabu"));
        QCOMPARE(s.store.record().userName, QString(" lisi "));
        QCOMPARE(s.store.record().password, QString("p a s s"));
        QCOMPARE(s.store.selectedPositions(), QList<int>({1}));

        // An empty URL: selectable, the record and the row follow, nothing opens.
        address.clear();
        s.store.SelectSite(2);
        QCOMPARE(open.size(), 0);
        QCOMPARE(address.size(), 0);
        QCOMPARE(s.store.record().userName, QString("无名"));
        QCOMPARE(s.store.record().url, QString());
        QCOMPARE(row.last().at(0).toString(), QString("无名"));
    }

    void httpRuleKeepsLocalPathsAndSchemes_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("opened");
        QTest::newRow("no scheme") << "  example.cn/a  "
                                   << "http://example.cn/a";
        QTest::newRow("scheme") << "ftp://h/x"
                                << "ftp://h/x";
        QTest::newRow("local path") << "C:\\pages\\a.htm"
                                    << "C:\\pages\\a.htm";
        QTest::newRow("single slash") << "http:/x"
                                      << "http://http:/x";
    }
    void httpRuleKeepsLocalPathsAndSchemes()
    {
        QFETCH(QString, stored);
        QFETCH(QString, opened);
        TestDataFolder data;
        data.writeBytes("SDUrl.txt", "A\r\n");
        data.writeBytes("defualt.ini", gb18030("[0]\r\nurl=" + stored + "\r\n"));
        Session s(data);
        QSignalSpy open(&s.store, &SiteStore::urlToOpen);
        s.store.SelectSite(0);
        QCOMPARE(open.size(), 1);
        QCOMPARE(open.first().at(0).toString(), opened);
        QCOMPARE(s.settings.readString("0", "url"), stored);
    }

    void selectionEdges()
    {
        TestDataFolder empty;
        Session none(empty);
        QSignalSpy row(&none.store, &SiteStore::credentialsChanged);
        none.store.SelectSite(0);
        QVERIFY(!none.store.MoveSite(1));
        QCOMPARE(row.size(), 0);
        QCOMPARE(none.store.currentPosition(), -1);
        QVERIFY(none.store.SaveUserName("x"));  // nothing to write into
        QVERIFY(!QFile::exists(empty.file("defualt.ini")));

        TestDataFolder data;
        writeSites(data, 3);
        Session s(data);
        s.store.SelectSite(-4);
        QCOMPARE(s.store.selectedPositions(), QList<int>({0}));
        s.store.SelectSite(1);
        QSignalSpy open(&s.store, &SiteStore::urlToOpen);
        s.store.SelectSite(5);  // past the end: nothing selected, the current item stays and is filled
        QVERIFY(s.store.selectedPositions().isEmpty());
        QCOMPARE(s.store.currentPosition(), 1);
        QCOMPARE(s.store.record().userName, QString("name1"));
        QCOMPARE(open.first().at(0).toString(), QString("http://u1"));
    }

    void deletingSitesOneAndTwoOfFiveIsOneRewrite()
    {
        TestDataFolder data;
        writeSites(data, 5);
        Session s(data);
        s.settings.writeString("3", QString::fromUtf8("文章"), "id of a site named 3");
        s.select({1, 2});
        QSignalSpy open(&s.store, &SiteStore::urlToOpen);
        const int rewrites = s.settings.rewriteCount();
        QVERIFY(s.store.DeleteSelectedSites());
        QCOMPARE(s.settings.rewriteCount(), rewrites + 1);
        QCOMPARE(s.store.siteNames(), QStringList({"S0", "S3", "S4"}));
        QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("S0\r\nS3\r\nS4\r\n"));
        QCOMPARE(s.section(1, "url"), QString("u3"));
        QCOMPARE(s.section(1, "Password"), QString("pw3"));
        QCOMPARE(s.section(2, "User"), QString("name4"));
        // Past the new end no address or credentials stay behind; other keys do.
        for (const char* key : {"url", "User", "Password"})
            QVERIFY(!s.settings.hasKey("3", key) && !s.settings.hasKey("4", key));
        QCOMPARE(data.readBytes("defualt.ini").count("Password=pw4"), 1);
        QCOMPARE(s.settings.readString("3", QString::fromUtf8("文章")), QString("id of a site named 3"));
        QCOMPARE(s.store.currentPosition(), 1);
        QCOMPARE(s.store.selectedPositions(), QList<int>({1}));
        QCOMPARE(open.last().at(0).toString(), QString("http://u3"));

        // Removing the tail leaves the new last site current and selected.
        s.select({1, 2});
        QVERIFY(s.store.DeleteSelectedSites());
        QCOMPARE(s.store.siteNames(), QStringList({"S0"}));
        QCOMPARE(s.store.selectedPositions(), QList<int>({0}));
        QCOMPARE(s.store.record().userName, QString("name0"));

        // Nothing selected: nothing removed, site 0 selected.
        s.select({});
        QVERIFY(s.store.DeleteSelectedSites());
        QCOMPARE(s.store.siteNames(), QStringList({"S0"}));
        QCOMPARE(s.store.selectedPositions(), QList<int>({0}));
    }

    void movingExchangesWholeSitesAndKeepsTheMarkOnTheMovedSite()
    {
        TestDataFolder data;
        writeSites(data, 4);
        Session s(data);
        s.store.SelectSite(3);
        const int rewrites = s.settings.rewriteCount();
        QVERIFY(s.store.MoveSite(-1));
        QCOMPARE(s.settings.rewriteCount(), rewrites + 1);
        QCOMPARE(s.store.siteNames(), QStringList({"S0", "S1", "S3", "S2"}));
        QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("S0\r\nS1\r\nS3\r\nS2\r\n"));
        QCOMPARE(s.section(2, "url"), QString("u3"));
        QCOMPARE(s.section(2, "User"), QString("name3"));
        QCOMPARE(s.section(3, "Password"), QString("pw2"));
        QCOMPARE(s.store.currentPosition(), 2);
        QCOMPARE(s.store.selectedPositions(), QList<int>({2}));  // the mark went with the site
        QCOMPARE(s.store.record().userName, QString("name3"));

        QVERIFY(s.store.MoveSite(1));
        QCOMPARE(s.store.siteNames(), QStringList({"S0", "S1", "S2", "S3"}));
        QVERIFY(!s.store.MoveSite(1));  // already last
        s.store.SelectSite(0);
        const QByteArray before = data.readBytes("defualt.ini");
        QVERIFY(!s.store.MoveSite(-1));  // already first
        QCOMPARE(data.readBytes("defualt.ini"), before);
        QCOMPARE(s.store.siteNames(), QStringList({"S0", "S1", "S2", "S3"}));
    }

    void identifiersFollowNamesNotPositions()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        Session s(data);
        QSignalSpy loaded(&s.store, &SiteStore::siteArticleIdLoaded);
        s.article = "二手车转让";
        s.store.SelectSite(0);
        QCOMPARE(loaded.last().at(0).toString(), QString("88001"));

        s.store.SelectSite(1);
        QVERIFY(s.store.SaveSiteArticleId("B-1"));
        QCOMPARE(s.settings.readString("分类信息网", "二手车转让"), QString("B-1"));
        QVERIFY(s.store.MoveSite(-1));  // reordering leaves identifiers in place
        s.store.LoadSiteArticleId();
        QCOMPARE(loaded.last().at(0).toString(), QString("B-1"));

        // A second site of the same name shares them; renaming detaches them.
        s.store.record() = TMyURL{"分类信息网", "x.cn", "", "", true};
        QVERIFY(s.store.StoreSite(false));
        QCOMPARE(loaded.last().at(0).toString(), QString("B-1"));
        s.store.record().siteName = "改名";
        QVERIFY(s.store.StoreSite(true));
        QCOMPARE(loaded.last().at(0).toString(), QString());
        QCOMPARE(s.settings.readString("分类信息网", "二手车转让"), QString("B-1"));

        // No current article: nothing is written, the field keeps its text.
        s.article.clear();
        loaded.clear();
        const int rewrites = s.settings.rewriteCount();
        QVERIFY(s.store.SaveSiteArticleId("lost?"));
        s.store.LoadSiteArticleId();
        QCOMPARE(s.settings.rewriteCount(), rewrites);
        QCOMPARE(loaded.size(), 0);
    }

    void rowSavesTrimUserNameButNotPassword()
    {
        TestDataFolder data;
        writeSites(data, 2);
        Session s(data);
        s.store.SelectSite(1);
        QVERIFY(s.store.SaveUserName("  bob \t"));
        QVERIFY(s.store.SavePassword("  secret "));
        QCOMPARE(s.section(1, "User"), QString("bob"));
        QCOMPARE(s.section(1, "Password"), QString("  secret "));
        QCOMPARE(s.store.record().userName, QString("bob"));
        QCOMPARE(s.store.record().password, QString("  secret "));
        QCOMPARE(s.section(0, "User"), QString("name0"));
    }

    void storingAddsAndUpdatesSitesReadableByTheWindowsOriginal()
    {
        TestDataFolder data;
        Session s(data);
        QSignalSpy address(&s.store, &SiteStore::addressToShow);
        s.store.record() = TMyURL{"甲", "a.cn", "u", "p", true};
        QVERIFY(s.store.StoreSite(false));
        s.store.record() = TMyURL{"乙", "b.cn", "", "", true};
        QVERIFY(s.store.StoreSite(false));
        QCOMPARE(address.last().at(0).toString(), QString("b.cn"));  // as entered
        QCOMPARE(s.store.selectedPositions(), QList<int>({1}));
        s.store.SelectSite(0);
        s.store.record() = TMyURL{"丙", "c.cn", "cu", "cp", true};
        QVERIFY(s.store.StoreSite(true));

        QCOMPARE(data.readBytes("SDUrl.txt"), gb18030("丙\r\n乙\r\n"));
        SettingsFile reread(data.file("defualt.ini"));
        QCOMPARE(reread.readString("0", "url"), QString("c.cn"));
        QCOMPARE(reread.readString("0", "User"), QString("cu"));
        QCOMPARE(reread.readString("1", "url"), QString("b.cn"));
        QVERIFY(QFile::permissions(data.file("defualt.ini")) & QFile::ReadOwner);
        QVERIFY(!(QFile::permissions(data.file("SDUrl.txt")) & QFile::ReadOther));
    }

    void unstorableNamesAreRefusedWithoutWriting_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("bracket") << "a]b";
        QTest::newRow("control") << "a\tb";
        QTest::newRow("line break") << "a\nb";
        QTest::newRow("reserved") << "sdurl.TXT";
        QTest::newRow("reserved by article deletes") << "Articles.txt";
    }
    void unstorableNamesAreRefusedWithoutWriting()
    {
        QFETCH(QString, name);
        TestDataFolder data;
        writeSites(data, 1);
        Session s(data);
        QSignalSpy failed(&s.store, &SiteStore::writeFailed);
        s.store.record() = TMyURL{name, "x", "", "", true};
        QVERIFY(!SiteStore::siteProblem(s.store.record()).isEmpty());
        QVERIFY(!s.store.StoreSite(false));
        QCOMPARE(failed.size(), 1);
        QVERIFY(failed.first().at(0).toString().contains(name));
        QCOMPARE(s.store.siteNames(), QStringList({"S0"}));
        QCOMPARE(s.settings.rewriteCount(), 0);
        QVERIFY(SiteStore::siteProblem(TMyURL{"[网站 1", "x", "", "", false}).isEmpty());
    }

    void failedSettingsWriteChangesNothing()
    {
        TestDataFolder data;
        writeSites(data, 3);
        Session s(data);
        s.store.SelectSite(1);
        const QByteArray ini = data.readBytes("defualt.ini");
        const QByteArray list = data.readBytes("SDUrl.txt");
        QSignalSpy failed(&s.store, &SiteStore::writeFailed);
        StoredFile::setWriteFault([](const QString& path) {
            return path.endsWith("defualt.ini") ? QStringLiteral("No space left on device") : QString();
        });
        s.store.record() = TMyURL{"New", "n", "", "", true};
        QVERIFY(!s.store.StoreSite(false));
        QVERIFY(!s.store.StoreSite(true));
        QVERIFY(!s.store.MoveSite(1));
        s.select({0, 2});
        QVERIFY(!s.store.DeleteSelectedSites());
        QCOMPARE(failed.size(), 4);
        QVERIFY(failed.first().at(0).toString().contains("defualt.ini: No space left on device"));
        QCOMPARE(s.store.siteNames(), QStringList({"S0", "S1", "S2"}));
        QCOMPARE(s.store.currentPosition(), 1);
        QCOMPARE(s.store.selectedPositions(), QList<int>({0, 2}));
        QCOMPARE(data.readBytes("defualt.ini"), ini);
        QCOMPARE(data.readBytes("SDUrl.txt"), list);
        QVERIFY(!s.store.SaveUserName("lost"));
        QCOMPARE(s.section(1, "User"), QString("name1"));
    }

    // The settings file is written first; a stop before SDUrl.txt follows is
    // the same as a failed write of SDUrl.txt: the next start completes it.
    void stopBetweenTheTwoFilesKeepsEverySiteTogether()
    {
        TestDataFolder data;
        writeSites(data, 5);
        {
            Session s(data);
            StoredFile::setWriteFault([](const QString& path) {
                return path.endsWith("SDUrl.txt") ? QStringLiteral("Input/output error") : QString();
            });
            QSignalSpy failed(&s.store, &SiteStore::writeFailed);
            s.select({1});
            QVERIFY(s.store.DeleteSelectedSites());
            s.store.SelectSite(3);
            QVERIFY(s.store.MoveSite(-1));
            s.store.record() = TMyURL{"Added", "ua", "na", "pa", true};
            QVERIFY(s.store.StoreSite(false));
            QCOMPARE(failed.size(), 3);
            QVERIFY(failed.first().at(0).toString().contains("SDUrl.txt: Input/output error"));
            QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("S0\r\nS1\r\nS2\r\nS3\r\nS4\r\n"));
        }
        StoredFile::setWriteFault({});
        Session next(data);
        const QStringList expected{"S0", "S2", "S4", "S3", "Added"};
        QCOMPARE(next.store.siteNames(), expected);
        QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("S0\r\nS2\r\nS4\r\nS3\r\nAdded\r\n"));
        for (int p = 0; p < 4; ++p) {
            const QString n = expected.at(p).mid(1);
            QCOMPARE(next.section(p, "url"), "u" + n);
            QCOMPARE(next.section(p, "User"), "name" + n);
            QCOMPARE(next.section(p, "Password"), "pw" + n);
        }
        QCOMPARE(next.section(4, "User"), QString("na"));
    }

    void listChangedByAnotherProgramIsTrusted()
    {
        TestDataFolder data;
        writeSites(data, 3);
        {
            Session s(data);
            s.store.SelectSite(2);
            QVERIFY(s.store.MoveSite(-1));  // S0 S2 S1, with the copy of the names
        }
        // The Windows original moves S2 back down: it swaps the sections and
        // writes the list, and knows nothing of the copy.
        {
            SettingsFile other(data.file("defualt.ini"));
            SettingsFile::Batch batch(other);
            for (const char* key : {"url", "User", "Password"}) {
                const QString a = other.readString("1", key), b = other.readString("2", key);
                other.writeString("1", key, b);
                other.writeString("2", key, a);
            }
        }
        data.writeBytes("SDUrl.txt", "S0\r\nS1\r\nS2\r\n");
        Session next(data);
        QCOMPARE(next.store.siteNames(), QStringList({"S0", "S1", "S2"}));
        QCOMPARE(next.section(1, "User"), QString("name1"));
        QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("S0\r\nS1\r\nS2\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestSiteStore)
#include "tst_sitestore.moc"
