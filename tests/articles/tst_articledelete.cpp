#include "ArticleDeleteJournal.h"
#include "ArticleSamples.h"
#include "ArticleStore.h"
#include "SettingsFile.h"
#include "StoredFile.h"
#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

// Every file of the data folder with its bytes.
QMap<QString, QByteArray> folderContents(const TestDataFolder& data)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(data.path()).entryList(QDir::Files))
        files.insert(name, data.readBytes(name));
    return files;
}

}  // namespace

// A delete records itself in the settings file together with the moved keys;
// the paragraph renames and articles.txt follow. Wherever it stops, the next
// load (or the next write) finishes it, and every kept article keeps its
// clauses, names, titles and paragraphs under its own name.
class TestArticleDelete : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDataFolder> m_folder;
    std::unique_ptr<SettingsFile> m_settings;
    std::unique_ptr<ArticleStore> m_store;
    std::vector<ArticleBuffer> m_articles;  // as stored before the delete

    // A fresh settings file object and store on the same folder: a restart.
    void reopen()
    {
        m_store.reset();
        m_settings = std::make_unique<SettingsFile>(m_folder->file(QStringLiteral("defualt.ini")));
        m_store = std::make_unique<ArticleStore>(*m_settings, m_folder->path());
        m_store->LoadArticleNames();
    }

    // A to E; C lacks its third paragraph file, which reads as empty.
    void fiveArticles()
    {
        m_folder = std::make_unique<TestDataFolder>();
        reopen();
        m_articles.clear();
        for (const char* tag : {"A", "B", "C", "D", "E"}) {
            m_articles.push_back(articleTagged(QString::fromLatin1(tag)));
            m_store->buffer() = m_articles.back();
            QVERIFY(m_store->ApplyEditedArticle(ArticleStore::EditMode::Append));
        }
        QVERIFY(QFile::remove(m_folder->file(QStringLiteral("Content2_3.txt"))));
        m_articles[2].ParagraphText[3].clear();
    }

    void selectRows(const QList<int>& rows)
    {
        m_store->selectionModel()->clearSelection();
        for (int row : rows)
            m_store->selectionModel()->select(m_store->model()->index(row), QItemSelectionModel::Select);
    }

    // The list and every article, and articles.txt, hold `kept` of the five.
    void verifyHolds(const QList<int>& kept)
    {
        QStringList names;
        QByteArray list;
        for (int k : kept) {
            names << m_articles[size_t(k)].ArticleName;
            list += m_articles[size_t(k)].ArticleName.toLatin1() + "\r\n";
        }
        QCOMPARE(m_store->model()->stringList(), names);
        QCOMPARE(m_folder->readBytes(QStringLiteral("articles.txt")), list);
        for (int n = 0; n < kept.size(); ++n)
            compareStored(m_store->files(), n, m_articles[size_t(kept[n])]);
    }

private slots:
    void cleanup()
    {
        StoredFile::setWriteFault({});
        ArticleFiles::setRenameFault({});
    }

    void interruptedDeleteIsFinishedAtTheNextLoad_data()
    {
        QTest::addColumn<QString>("failingFile");
        QTest::addColumn<int>("failingRename");  // -1: none
        QTest::addColumn<bool>("recorded");
        QTest::newRow("settings file") << "defualt.ini" << -1 << false;
        // Deleting B and D moves C to 1 and E to 2: six paragraph renames.
        for (int r = 0; r < 6; ++r)
            QTest::addRow("after %d renames", r) << QString() << r << true;
        QTest::newRow("article list") << "articles.txt" << -1 << true;
    }
    void interruptedDeleteIsFinishedAtTheNextLoad()
    {
        QFETCH(QString, failingFile);
        QFETCH(int, failingRename);
        QFETCH(bool, recorded);
        fiveArticles();
        if (!failingFile.isEmpty())
            StoredFile::setWriteFault([failingFile](const QString& path) {
                return path.endsWith(failingFile) ? QStringLiteral("stopped") : QString();
            });
        int renames = 0;
        ArticleFiles::setRenameFault([&renames, failingRename](const QString&) {
            return renames++ == failingRename ? QStringLiteral("stopped") : QString();
        });
        QSignalSpy failed(m_store.get(), &ArticleStore::writeFailed);
        selectRows({1, 3});
        QVERIFY(!m_store->DeleteSelectedArticles());
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.first().first().toString().contains(QLatin1String("stopped")));
        if (failingFile == QLatin1String("articles.txt"))
            QCOMPARE(renames, 6);
        // In memory the list follows the settings file at once.
        const QList<int> expected = recorded ? QList<int>{0, 2, 4} : QList<int>{0, 1, 2, 3, 4};
        QCOMPARE(m_store->count(), int(expected.size()));

        // As after a crash at this point: the next start finishes the delete.
        StoredFile::setWriteFault({});
        ArticleFiles::setRenameFault({});
        reopen();
        verifyHolds(expected);
        // Nothing is left to do: a further start changes no file.
        const QMap<QString, QByteArray> settled = folderContents(*m_folder);
        reopen();
        QCOMPARE(folderContents(*m_folder), settled);
        verifyHolds(expected);
    }

    void failedDeleteIsFinishedBeforeTheNextWrite()
    {
        fiveArticles();
        const auto blocked = [](const QString& target) {
            return target.endsWith(QLatin1String("Content1_2.txt")) ? QStringLiteral("Permission denied") : QString();
        };
        ArticleFiles::setRenameFault(blocked);
        QSignalSpy failed(m_store.get(), &ArticleStore::writeFailed);
        selectRows({1, 3});
        QVERIFY(!m_store->DeleteSelectedArticles());
        QVERIFY(failed.last().first().toString().contains(QLatin1String("Content1_2.txt: Permission denied")));
        QCOMPARE(m_store->model()->stringList(), QStringList({"A", "C", "E"}));
        QCOMPARE(m_store->currentArticleName(), QStringLiteral("A"));

        // A paragraph written now could be carried off by the renames still due: refused.
        const QMap<QString, QByteArray> stuck = folderContents(*m_folder);
        QVERIFY(!m_store->SaveParagraphField(2, QStringLiteral("typed")));
        QVERIFY(!m_store->SaveCurrentArticle({m_articles[0].ClauseText, m_articles[0].ParagraphText}));
        QCOMPARE(folderContents(*m_folder), stuck);

        ArticleFiles::setRenameFault({});
        failed.clear();
        QVERIFY(m_store->SaveParagraphField(2, QStringLiteral("typed")));
        QCOMPARE(failed.count(), 0);
        m_articles[0].ParagraphText[2] = QStringLiteral("typed");
        verifyHolds({0, 2, 4});
        reopen();
        verifyHolds({0, 2, 4});
    }

    void finishedDeleteIsNeverReplayed()
    {
        fiveArticles();
        selectRows({4});
        QVERIFY(m_store->DeleteSelectedArticles());
        // The list returns to the one the delete started from, with a new E.
        ArticleBuffer newE = articleTagged(QStringLiteral("E2"));
        newE.ArticleName = QStringLiteral("E");
        m_store->buffer() = newE;
        QVERIFY(m_store->ApplyEditedArticle(ArticleStore::EditMode::Append));
        m_articles[4] = newE;
        reopen();
        verifyHolds({0, 1, 2, 3, 4});

        // An interrupted delete whose list another program replaced since: left alone.
        ArticleFiles::setRenameFault([](const QString&) { return QStringLiteral("stopped"); });
        selectRows({0});
        QVERIFY(!m_store->DeleteSelectedArticles());
        ArticleFiles::setRenameFault({});
        m_folder->writeBytes(QStringLiteral("articles.txt"), "X\r\nY\r\n");
        const QMap<QString, QByteArray> before = folderContents(*m_folder);
        reopen();
        QCOMPARE(m_store->model()->stringList(), QStringList({"X", "Y"}));
        QCOMPARE(folderContents(*m_folder), before);
    }

    void recordReadsOnlyWhatItWrote()
    {
        using namespace ArticleDeleteJournal;
        QCOMPARE(encodeIndices({0, 1, 2, 5, 7, 8}), QStringLiteral("0-2,5,7-8"));
        QCOMPARE(decodeIndices(QStringLiteral("0-2,5,7-8"), 9), QList<int>({0, 1, 2, 5, 7, 8}));
        QCOMPARE(decodeIndices(QString(), 3), QList<int>());
        for (const char* bad : {"5-2", "1,1", "3,1", "-1", "+1", "x", "1-", "0-99999999", "9"})
            QVERIFY2(!decodeIndices(QString::fromLatin1(bad), 9), bad);
        QVERIFY(digest({QStringLiteral("a,b")}) != digest({QStringLiteral("a"), QStringLiteral("b")}));
        QVERIFY(digest({}) != digest({QString()}));
    }
};

QTEST_GUILESS_MAIN(TestArticleDelete)
#include "tst_articledelete.moc"
