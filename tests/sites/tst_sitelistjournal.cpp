#include "SiteListJournal.h"
#include "SiteSession.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// The lines of the copy's section, as the settings file holds them.
QList<QByteArray> journalLines(const TestDataFolder& data)
{
    const QByteArray ini = data.readBytes("defualt.ini");
    const qsizetype start = ini.indexOf("[SDUrl.txt]\r\n");
    if (start < 0)
        return {};
    QByteArray body = ini.mid(start + 13);
    const qsizetype next = body.indexOf("\r\n[");
    if (next >= 0)
        body.truncate(next + 2);
    QList<QByteArray> lines = body.split('\n');
    lines.removeAll(QByteArray());
    return lines;
}

void failListWrites()
{
    StoredFile::setWriteFault([](const QString& path) {
        return path.endsWith("SDUrl.txt") ? QStringLiteral("Input/output error") : QString();
    });
}

}  // namespace

class TestSiteListJournal : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { StoredFile::setWriteFault({}); }

    void namesTravelAsOneValue_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("none") << QStringList();
        QTest::newRow("one empty") << QStringList({""});
        QTest::newRow("plain") << QStringList({"S0", "网站 1", " spaced "});
        QTest::newRow("tabs and backslashes") << QStringList({"a\tb", "c\\", "\\t", "", "\\\\\t", "\t"});
    }
    void namesTravelAsOneValue()
    {
        QFETCH(QStringList, names);
        const QString value = SiteListJournal::joinNames(names);
        QVERIFY(!value.contains('\n') && !value.contains('\r'));
        QCOMPARE(SiteListJournal::splitNames(value, int(names.size())), std::optional<QStringList>(names));
        // The count tells no names from one empty name; otherwise it must match.
        if (!names.isEmpty())
            QVERIFY(!SiteListJournal::splitNames(value, int(names.size()) + 1));
    }

    void malformedNameValuesAreRefused()
    {
        QVERIFY(!SiteListJournal::splitNames("a\\xb", 1));  // unknown escape
        QVERIFY(!SiteListJournal::splitNames("ab\\", 1));  // escape cut off
        QVERIFY(!SiteListJournal::splitNames("a\tb", 1));
        QVERIFY(!SiteListJournal::splitNames("a", 0));
        QVERIFY(!SiteListJournal::splitNames("a", -1));
        QCOMPARE(SiteListJournal::splitNames("", 0), std::optional<QStringList>(QStringList()));
    }

    // The copy is a few keys, not one a site; the names stand in values of
    // about a thousand characters, readable as they are.
    void copyIsAFewKeysNotOneASite()
    {
        TestDataFolder data;
        writeSites(data, 300);
        Session s(data);
        s.select({0});
        QVERIFY(s.store.DeleteSelectedSites());
        const QList<QByteArray> lines = journalLines(data);
        QCOMPARE(lines.size(), 8);
        QStringList expected;
        for (int i = 1; i < 300; ++i)
            expected << QStringLiteral("S%1").arg(i);
        QVERIFY(lines.contains("Count=299\r"));
        QVERIFY(lines.contains("Parts=2\r"));
        QVERIFY(lines.contains("From=0\r"));
        QVERIFY(lines.contains("To=300\r"));
        const QString first = s.settings.readString("SDUrl.txt", "Names1");
        QCOMPARE(first.size(), 1024);
        QCOMPARE(first + s.settings.readString("SDUrl.txt", "Names2"), expected.join('\t'));

        s.store.SelectSite(5);
        QVERIFY(s.store.MoveSite(1));
        QCOMPARE(journalLines(data).size(), 8);
        QVERIFY(journalLines(data).contains("From=5\r"));
        QVERIFY(journalLines(data).contains("To=7\r"));
    }

    // Names from a list file may hold tabs and backslashes: the copy brings
    // them back unchanged.
    // A character outside the BMP where the names are cut into values stays whole.
    void stopBetweenTheFilesKeepsAwkwardNames()
    {
        TestDataFolder data;
        writeSites(data, 4);
        // Joined, the names put the first half of 𠀀 at character 1023.
        const QString longName = QString(1018, 'x') + QString::fromUtf8("𠀀");
        data.writeBytes("SDUrl.txt", "a\tb\r\n" + gb18030(longName) + "\r\nc\\t\r\n\\\r\n");
        {
            Session s(data);
            QCOMPARE(s.store.siteNames().at(1), longName);
            failListWrites();
            s.store.SelectSite(3);
            QVERIFY(s.store.MoveSite(-1));
            QCOMPARE(s.settings.readString("SDUrl.txt", "Names1").size(), 1023);
        }
        StoredFile::setWriteFault({});
        Session next(data);
        QCOMPARE(next.store.siteNames(), QStringList({"a\tb", longName, "\\", "c\\t"}));
        QCOMPARE(data.readBytes("SDUrl.txt"), "a\tb\r\n" + gb18030(longName) + "\r\n\\\r\nc\\t\r\n");
        QCOMPARE(next.section(2, "url"), QString("u3"));
    }

    // After an interrupted change, an edit of a site the change did not touch
    // (the Windows original run in between) leaves the copy good; an edit of
    // a section the change wrote means the files were changed since.
    void interruptedChangeIsCompletedUnlessItsSectionsChanged_data()
    {
        QTest::addColumn<QString>("editedSection");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("untouched site") << "0" << QStringList({"S0", "S2", "S1", "S3"});
        QTest::newRow("written site") << "2" << QStringList({"S0", "S1", "S2", "S3"});
    }
    void interruptedChangeIsCompletedUnlessItsSectionsChanged()
    {
        QFETCH(QString, editedSection);
        QFETCH(QStringList, expected);
        TestDataFolder data;
        writeSites(data, 4);
        {
            Session s(data);
            failListWrites();
            s.store.SelectSite(2);
            QVERIFY(s.store.MoveSite(-1));
        }
        StoredFile::setWriteFault({});
        {
            SettingsFile other(data.file("defualt.ini"));
            QVERIFY(other.writeString(editedSection, "Password", "edited"));
        }
        {
            Session next(data);
            QCOMPARE(next.store.siteNames(), expected);
            QCOMPARE(next.section(editedSection.toInt(), "Password"), QString("edited"));
        }
        // Finished or not to be finished: the copy goes, and a later list of
        // another program's (the old order back) is taken as it stands.
        QVERIFY(journalLines(data).isEmpty());
        data.writeBytes("SDUrl.txt", "S0\r\nS1\r\nS2\r\nS3\r\n");
        Session third(data);
        QCOMPARE(third.store.siteNames(), QStringList({"S0", "S1", "S2", "S3"}));
    }

    // While SDUrl.txt lags behind (its write failed), a user name or password
    // saved from the row keeps the copy in step, and tries the list again.
    void rowSavesWhileTheListLagsKeepSitesTogether()
    {
        TestDataFolder data;
        writeSites(data, 4);
        {
            Session s(data);
            QSignalSpy failed(&s.store, &SiteStore::writeFailed);
            failListWrites();
            s.store.SelectSite(2);
            QVERIFY(s.store.MoveSite(-1));  // S0 S2 S1 S3; S2 current at 1
            QVERIFY(s.store.SaveUserName("new user"));
            QVERIFY(s.store.SavePassword("new password"));
            QCOMPARE(failed.size(), 3);
            QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("S0\r\nS1\r\nS2\r\nS3\r\n"));
        }
        StoredFile::setWriteFault({});
        {
            Session next(data);
            QCOMPARE(next.store.siteNames(), QStringList({"S0", "S2", "S1", "S3"}));
            QCOMPARE(next.section(1, "url"), QString("u2"));
            QCOMPARE(next.section(1, "User"), QString("new user"));
            QCOMPARE(next.section(1, "Password"), QString("new password"));
            QCOMPARE(next.section(2, "User"), QString("name1"));

            // The list lags again; the next row save, with the disk back, catches up.
            failListWrites();
            next.store.SelectSite(3);
            QVERIFY(next.store.MoveSite(-1));  // S0 S2 S3 S1
            StoredFile::setWriteFault({});
            QSignalSpy failed(&next.store, &SiteStore::writeFailed);
            const int rewrites = next.settings.rewriteCount();
            QVERIFY(next.store.SavePassword("p3"));
            QCOMPARE(failed.size(), 0);
            QCOMPARE(next.settings.rewriteCount(), rewrites + 1);
            QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("S0\r\nS2\r\nS3\r\nS1\r\n"));
            // In step again: a save writes its key alone, the copy stays as it was.
            const QList<QByteArray> copy = journalLines(data);
            QVERIFY(next.store.SaveUserName("u3"));
            QCOMPARE(journalLines(data), copy);
        }
        Session last(data);
        QCOMPARE(last.store.siteNames(), QStringList({"S0", "S2", "S3", "S1"}));
        QCOMPARE(last.section(2, "Password"), QString("p3"));
        QCOMPARE(last.section(2, "User"), QString("u3"));
    }

    // Deleting runs of sites apart from each other closes every gap in one rewrite.
    void deletingSeveralRunsClosesEveryGap()
    {
        TestDataFolder data;
        writeSites(data, 8);
        Session s(data);
        s.select({0, 2, 3, 6});
        const int rewrites = s.settings.rewriteCount();
        QVERIFY(s.store.DeleteSelectedSites());
        QCOMPARE(s.settings.rewriteCount(), rewrites + 1);
        const QStringList expected{"S1", "S4", "S5", "S7"};
        QCOMPARE(s.store.siteNames(), expected);
        QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("S1\r\nS4\r\nS5\r\nS7\r\n"));
        for (int p = 0; p < expected.size(); ++p) {
            const QString n = expected.at(p).mid(1);
            QCOMPARE(s.section(p, "url"), "u" + n);
            QCOMPARE(s.section(p, "User"), "name" + n);
            QCOMPARE(s.section(p, "Password"), "pw" + n);
        }
        QCOMPARE(s.store.currentPosition(), 0);
        QCOMPARE(s.store.selectedPositions(), QList<int>({0}));
    }
};

QTEST_GUILESS_MAIN(TestSiteListJournal)
#include "tst_sitelistjournal.moc"
