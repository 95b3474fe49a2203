#include "ArticleDeleteJournal.h"
#include "ArticleSamples.h"
#include "ArticleStore.h"
#include "FileSizeLimit.h"
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
        if (recorded) {
            // The delete counts as made; its files follow on a worker thread,
            // which stops at the fault and reports it to the window.
            QVERIFY(m_store->DeleteSelectedArticles());
            const QStringList failures = m_store->files().waitForRenames();
            QCOMPARE(failures.size(), 1);
            QVERIFY(failures.first().contains(QLatin1String("stopped")));
            QTRY_COMPARE(failed.count(), 1);
        } else {
            QVERIFY(!m_store->DeleteSelectedArticles());
            QCOMPARE(failed.count(), 1);
        }
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
        QVERIFY(m_store->DeleteSelectedArticles());
        QVERIFY(!m_store->waitForFiles());  // tried once more, and refused again
        QVERIFY(failed.last().first().toString().contains(QLatin1String("Content1_2.txt: Permission denied")));
        QCOMPARE(m_store->model()->stringList(), QStringList({"A", "C", "E"}));
        QCOMPARE(m_store->currentArticleName(), QStringLiteral("A"));

        // A paragraph written now could be carried off by the renames still due: refused.
        const QMap<QString, QByteArray> stuck = folderContents(*m_folder);
        QVERIFY(!m_store->SaveParagraphField(2, QStringLiteral("typed")));
        QVERIFY(!m_store->SaveCurrentArticle({m_articles[0].ClauseText, m_articles[0].ParagraphText}));
        QCOMPARE(folderContents(*m_folder), stuck);
        // A clause that fails meanwhile (the disk is full) is told with the delete's reason.
        ArticlePanelTexts texts{m_articles[0].ClauseText, m_articles[0].ParagraphText};
        texts.clause[1] = QStringLiteral("typed clause");
        {
            const FileSizeLimit full(1);
            QVERIFY(!m_store->SaveCurrentArticle(texts));
        }
        QVERIFY2(m_store->lastError().contains(QLatin1String("defualt.ini: File too large"))
                     && m_store->lastError().contains(QLatin1String("Content1_2.txt: Permission denied")),
                 qPrintable(m_store->lastError()));
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
        QVERIFY(m_store->DeleteSelectedArticles());
        QVERIFY(!m_store->files().waitForRenames().isEmpty());
        ArticleFiles::setRenameFault({});
        m_folder->writeBytes(QStringLiteral("articles.txt"), "X\r\nY\r\n");
        QMap<QString, QByteArray> before = folderContents(*m_folder);
        reopen();
        QCOMPARE(m_store->model()->stringList(), QStringList({"X", "Y"}));
        // Only the record goes: it could fire on a later list of the other program's.
        QMap<QString, QByteArray> after = folderContents(*m_folder);
        QVERIFY(!after.take(QStringLiteral("defualt.ini")).contains("[articles.txt]"));
        before.remove(QStringLiteral("defualt.ini"));
        QCOMPARE(after, before);

        // Deleted here, then appended under the same name by a program that
        // knows nothing of the record (the Windows original on a shared folder).
        fiveArticles();
        selectRows({4});
        QVERIFY(m_store->DeleteSelectedArticles());
        QVERIFY(m_store->forgetFinishedDelete());  // as at exit
        QVERIFY(!m_folder->readBytes(QStringLiteral("defualt.ini")).contains("[articles.txt]"));
        m_folder->writeBytes(QStringLiteral("articles.txt"), "A\r\nB\r\nC\r\nD\r\nE\r\n");
        m_folder->writeBytes(QStringLiteral("Content4_1.txt"), "the other program's E");
        reopen();
        QCOMPARE(m_store->count(), 5);
        QCOMPARE(m_store->files().read(4).ParagraphText[1], QStringLiteral("the other program's E"));
        QCOMPARE(m_store->files().read(3).ParagraphText[1], m_articles[3].ParagraphText[1]);
    }

    // The window goes on while the files move: a read finds each paragraph
    // where it is, also where a run stopped half way.
    void readsFindEachParagraphWhileFilesLag()
    {
        fiveArticles();
        // Deleting B and D: C moves to 1, then E to 2; E's second paragraph is refused.
        ArticleFiles::setRenameFault([](const QString& target) {
            return target.endsWith(QLatin1String("Content2_2.txt")) ? QStringLiteral("stopped") : QString();
        });
        QSignalSpy failed(m_store.get(), &ArticleStore::writeFailed);
        selectRows({1, 3});
        QVERIFY(m_store->DeleteSelectedArticles());
        QTRY_VERIFY(!m_store->files().renamesRunning());
        QTRY_COMPARE(failed.count(), 1);
        // On disk E's first paragraph moved, its others did not.
        QCOMPARE(m_folder->readBytes(QStringLiteral("Content2_1.txt")), QByteArray("E line one 1\r\nE line two"));
        QVERIFY(QFile::exists(m_folder->file(QStringLiteral("Content4_2.txt"))));
        for (int n = 0; n < 3; ++n)
            compareStored(m_store->files(), n, m_articles[size_t(QList<int>{0, 2, 4}[n])]);
        m_store->SelectArticle(2);
        QCOMPARE(m_store->buffer().ParagraphText[3], m_articles[4].ParagraphText[3]);

        ArticleFiles::setRenameFault({});
        QVERIFY(m_store->waitForFiles());
        verifyHolds({0, 2, 4});
        reopen();
        verifyHolds({0, 2, 4});
    }

    // Paragraphs typed right after a delete, while its renames still run,
    // stay with the article they were typed into.
    void paragraphTypedWhileFilesMoveStaysWithItsArticle()
    {
        m_folder = std::make_unique<TestDataFolder>();
        reopen();
        m_articles.clear();
        const int count = 150;  // 447 renames: the run is still going when the paragraphs are typed
        for (int k = 0; k < count; ++k) {
            m_articles.push_back(articleTagged(QStringLiteral("T%1").arg(k)));
            m_store->buffer() = m_articles.back();
            QVERIFY(m_store->ApplyEditedArticle(ArticleStore::EditMode::Append));
        }
        selectRows({0});
        QVERIFY(m_store->DeleteSelectedArticles());
        const int last = count - 2;  // T149 after the delete
        m_store->SelectArticle(last);
        QCOMPARE(m_store->currentArticleName(), QStringLiteral("T149"));
        QVERIFY(m_store->SaveParagraphField(1, QStringLiteral("typed into T149")));
        m_articles[size_t(count - 1)].ParagraphText[1] = QStringLiteral("typed into T149");
        ArticlePanelTexts texts{m_articles[size_t(count - 1)].ClauseText, m_articles[size_t(count - 1)].ParagraphText};
        texts.paragraph[3] = QStringLiteral("saved with T149");
        QVERIFY(m_store->SaveCurrentArticle(texts));
        m_articles[size_t(count - 1)].ParagraphText[3] = texts.paragraph[3];

        QVERIFY(m_store->waitForFiles());
        QList<int> kept;
        for (int k = 1; k < count; ++k)
            kept << k;
        verifyHolds(kept);
        reopen();
        compareStored(m_store->files(), last, m_articles[size_t(count - 1)]);
        compareStored(m_store->files(), last - 1, m_articles[size_t(count - 2)]);
    }

    // A moved article's display-name copies end equal to its names, also when
    // the file spells the keys its own way and the section was never read
    // before the delete (it is then compared as its bytes).
    void movedNameCopiesFollowTheNamesAsStored()
    {
        fiveArticles();
        QByteArray ini = m_folder->readBytes(QStringLiteral("defualt.ini"));
        const QByteArray b = "[software1]\r\n";
        const qsizetype at = ini.indexOf(b) + b.size();
        QVERIFY(at >= b.size());
        // Clause 2: the copy differs; clause 3: equal, in other letter cases and with blanks.
        ini.insert(at,
                   "showclausedisplay2 =Name2\r\nShowrtClauseDisplayDefault2=Old\r\n"
                   " SHOWCLAUSEDISPLAY3\t=Same\r\nshowrtclausedisplaydefault3=Same\r\n");
        m_folder->writeBytes(QStringLiteral("defualt.ini"), ini);
        reopen();
        selectRows({0});
        QVERIFY(m_store->DeleteSelectedArticles());
        QVERIFY(m_store->waitForFiles());
        const QString moved = ArticleFiles::articleSection(0);
        QCOMPARE(m_settings->readString(moved, QStringLiteral("ShowrtClauseDisplayDefault2")), QStringLiteral("Name2"));
        QCOMPARE(m_settings->readString(moved, QStringLiteral("ShowClauseDisplay3")), QStringLiteral("Same"));
        const QByteArray after = m_folder->readBytes(QStringLiteral("defualt.ini"));
        QVERIFY(after.contains("showrtclausedisplaydefault3=Same\r\n"));  // left as it stood
        QVERIFY(!after.contains("ShowrtClauseDisplayDefault2=Old"));
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
