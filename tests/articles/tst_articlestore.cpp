#include "ArticleMessages.h"
#include "ArticleSamples.h"
#include "ArticleStore.h"
#include "FileSizeLimit.h"
#include "InterfaceTexts.h"
#include "SettingsFile.h"
#include "StoredFile.h"
#include "TestData.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <vector>

class TestArticleStore : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDataFolder> m_folder;
    std::unique_ptr<SettingsFile> m_settings;
    std::unique_ptr<ArticleStore> m_store;

    void open(TestDataFolder::Content content = TestDataFolder::Empty)
    {
        m_store.reset();
        m_settings.reset();
        m_folder = std::make_unique<TestDataFolder>(content);
        QVERIFY(m_folder->isValid());
        m_settings = std::make_unique<SettingsFile>(m_folder->file(QStringLiteral("defualt.ini")));
        m_store = std::make_unique<ArticleStore>(*m_settings, m_folder->path());
        m_store->LoadArticleNames();
    }

    void append(const QStringList& tags)
    {
        for (const QString& tag : tags) {
            m_store->buffer() = articleTagged(tag);
            QVERIFY(m_store->ApplyEditedArticle(ArticleStore::EditMode::Append));
        }
    }

    void selectRows(const QList<int>& rows)
    {
        m_store->selectionModel()->clearSelection();
        for (int row : rows)
            m_store->selectionModel()->select(m_store->model()->index(row), QItemSelectionModel::Select);
    }

private slots:
    void init() { StoredFile::setWriteFault({}); }
    void cleanup() { StoredFile::setWriteFault({}); }

    void readsTheWindowsDataSet()
    {
        open(TestDataFolder::WindowsFixture);
        QCOMPARE(m_store->count(), 2);
        QCOMPARE(m_store->model()->index(1).data().toString(), QString::fromUtf8("招聘启事"));
        QSignalSpy changed(m_store.get(), &ArticleStore::currentArticleChanged);
        m_store->SelectArticle(1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_store->shownIndex(), 1);
        const ArticleBuffer& b = m_store->buffer();
        QCOMPARE(b.ArticleName, QString::fromUtf8("招聘启事"));
        QCOMPARE(b.ClauseText[15], QString::fromUtf8("聘短句内容15"));
        QCOMPARE(b.ClauseName[4], QString::fromUtf8("聘名4"));
        QCOMPARE(b.ClauseName[5], QString());  // stored empty, not the default
        QCOMPARE(b.ParagraphTitle[1], QString::fromUtf8("聘标题1"));
        // Titles 2 and 3 sit in sections named by a D:\ path: found by file name.
        QCOMPARE(b.ParagraphTitle[2], QString::fromUtf8("聘标题2"));
        QCOMPARE(b.ParagraphTitle[3], QString::fromUtf8("聘标题3"));
        QCOMPARE(b.ParagraphText[1], QString::fromUtf8("聘第1段第一行\n第二行 with ASCII\n第三行"));
        QCOMPARE(b.ParagraphText[3], QString::fromUtf8("没有结尾换行的段落"));
    }

    void titleLookupAfterTheFolderMoved()
    {
        open();
        ArticleFiles& files = m_store->files();
        const QString key2 = ArticleFiles::titleKey(2);
        m_settings->writeString(QStringLiteral("C:\\old\\Content11_1.txt"), key2, QStringLiteral("eleven"));
        QCOMPARE(files.readTitle(1, 2), QString::fromUtf8("段落2"));  // Content11 is not Content1
        m_settings->writeString(QStringLiteral("C:\\old\\Content1_1.txt"), key2, QStringLiteral("older"));
        m_settings->writeString(QStringLiteral("/home/u/config/content1_1.txt"), key2, QStringLiteral("newer"));
        QCOMPARE(files.readTitle(1, 2), QStringLiteral("newer"));
        m_settings->writeString(files.titleSection(1, 2), key2, QStringLiteral("here"));
        QCOMPARE(files.titleSection(1, 2), m_folder->path() + QStringLiteral("Content1_1.txt"));
        QCOMPARE(files.readTitle(1, 2), QStringLiteral("here"));
        QCOMPARE(files.readTitle(1, 3), QString::fromUtf8("段落3"));
    }

    void wholeSaveIsOneRewriteInTheStoredOrder()
    {
        open();
        append({QStringLiteral("A")});
        QCOMPARE(QString::fromLatin1(m_folder->readBytes(QStringLiteral("articles.txt"))), QStringLiteral("A\r\n"));
        const QByteArray ini = m_folder->readBytes(QStringLiteral("defualt.ini"));
        const QByteArray expectedStart = "[software0]\r\nShowClause1=A clause 1\r\nShowClauseDisplay1=A name 1\r\n"
                                         "ShowrtClauseDisplayDefault1=A name 1\r\nShowClause2=A clause 2\r\n";
        QVERIFY(ini.startsWith(expectedStart));
        const qsizetype title1 = ini.indexOf("DetailClauseDisplay1=A title 1");
        QVERIFY(title1 > ini.indexOf("ShowrtClauseDisplayDefault15=A name 15"));
        QVERIFY(ini.indexOf(gb18030(m_folder->path() + QStringLiteral("Content0_1.txt"))
                            + "]\r\nDetailClauseDisplay2=A title 2")
                > title1);

        ArticlePanelTexts texts;
        for (int i = 1; i <= ClauseCount; ++i)
            texts.clause[i] = QStringLiteral("typed %1").arg(i);
        texts.paragraph[2] = QString::fromUtf8("没有结尾换行\n第二行");
        const int before = m_settings->rewriteCount();
        QVERIFY(m_store->SaveCurrentArticle(texts));
        QCOMPARE(m_settings->rewriteCount(), before + 1);
        QCOMPARE(m_folder->readBytes(QStringLiteral("Content0_2.txt")),
                 gb18030(QString::fromUtf8("没有结尾换行\r\n第二行")));
        QCOMPARE(m_folder->readBytes(QStringLiteral("Content0_1.txt")), QByteArray());
        m_store->LoadCurrentArticle();
        QCOMPARE(m_store->buffer().ClauseText[7], QStringLiteral("typed 7"));
        QCOMPARE(m_store->buffer().ClauseName[7], QStringLiteral("A name 7"));
        QCOMPARE(m_store->buffer().ParagraphText[2], QString::fromUtf8("没有结尾换行\n第二行"));
    }

    // Another program (a sync tool, an editor, the Windows original on a
    // shared folder) changed the shown article's files meanwhile.
    void saveWritesOnlyChangedFieldsAndRereadShowsOtherChanges()
    {
        open();
        append({QStringLiteral("A")});
        m_folder->writeBytes(QStringLiteral("Content0_2.txt"), "changed elsewhere\r\n");
        m_settings->writeString(QStringLiteral("software0"), ArticleFiles::clauseTextKey(2),
                                QStringLiteral("elsewhere"));

        ArticlePanelTexts texts{m_store->buffer().ClauseText, m_store->buffer().ParagraphText};
        texts.clauseChanged.fill(false);
        texts.paragraphChanged.fill(false);
        const int before = m_settings->rewriteCount();
        QVERIFY(m_store->SaveCurrentArticle(texts));  // an exit with nothing typed
        QCOMPARE(m_settings->rewriteCount(), before);
        texts.clause[1] = QStringLiteral("typed");
        texts.clauseChanged[1] = true;
        texts.paragraph[3] = QStringLiteral("typed paragraph");
        texts.paragraphChanged[3] = true;
        QVERIFY(m_store->SaveCurrentArticle(texts));
        QCOMPARE(m_folder->readBytes(QStringLiteral("Content0_2.txt")), QByteArray("changed elsewhere\r\n"));
        QCOMPARE(m_folder->readBytes(QStringLiteral("Content0_3.txt")), QByteArray("typed paragraph"));

        const ArticleStore::StoredChanges changes = m_store->RereadShownArticle();
        QCOMPARE(changes.paragraph, (std::array<bool, ParagraphCount + 1>{false, false, true, false}));
        QVERIFY(changes.clause[2] && !changes.clause[1] && !changes.captions);
        QCOMPARE(m_store->buffer().ParagraphText[2], QStringLiteral("changed elsewhere\n"));
        QCOMPARE(m_store->buffer().ClauseText[2], QStringLiteral("elsewhere"));
        QCOMPARE(m_store->buffer().ClauseText[1], QStringLiteral("typed"));
    }

    // Any printable character in the data folder's path: every save works and
    // the titles survive a restart and a move of the folder.
    void titlesSurviveAnyPrintablePathAndAMove_data()
    {
        QTest::addColumn<QString>("folderName");
        QTest::newRow("brackets") << QString::fromUtf8("QVBzevi [2.3]");
        QTest::newRow("= ; # blanks Chinese") << QString::fromUtf8("a=b; #c  数据 [x");
    }
    void titlesSurviveAnyPrintablePathAndAMove()
    {
        QFETCH(QString, folderName);
        TestDataFolder base;
        const QString folder = base.path() + folderName + QStringLiteral("/config/");
        QVERIFY(QDir().mkpath(folder));
        const ArticleBuffer article = articleTagged(QStringLiteral("A"));
        {
            SettingsFile settings(folder + QStringLiteral("defualt.ini"));
            ArticleStore store(settings, folder);
            store.LoadArticleNames();
            store.buffer() = article;
            QVERIFY2(store.ApplyEditedArticle(ArticleStore::EditMode::Append), qPrintable(store.lastError()));
            ArticlePanelTexts texts{article.ClauseText, article.ParagraphText};
            QVERIFY2(store.SaveCurrentArticle(texts), qPrintable(store.lastError()));
        }
        const QString moved = base.path() + QStringLiteral("moved/");
        QVERIFY(QDir().rename(base.path() + folderName, moved));
        SettingsFile settings(moved + QStringLiteral("config/defualt.ini"));
        ArticleStore store(settings, moved + QStringLiteral("config/"));
        store.LoadArticleNames();
        store.SelectArticle(0);
        QCOMPARE(store.buffer().ParagraphTitle, article.ParagraphTitle);
        QCOMPARE(store.buffer().ParagraphText[2], article.ParagraphText[2]);
    }

    void fieldSavesLandInTheShownArticle()
    {
        open();
        append({QStringLiteral("A"), QStringLiteral("B")});
        m_store->SelectArticle(0);
        const QString outsideGbk = QString::fromUtf8("𠀀 long ") + QString(3000, QLatin1Char('x'));
        QVERIFY(m_store->SaveClauseField(3, outsideGbk));
        QVERIFY(m_store->SaveParagraphField(3, QStringLiteral("p\n")));
        QCOMPARE(m_folder->readBytes(QStringLiteral("Content0_3.txt")), QByteArray("p\r\n"));
        // The list's current item moves before the panel is refilled: still article 0.
        QVERIFY(m_store->SaveClauseField(4, QStringLiteral("four")));
        QCOMPARE(m_store->files().read(0).ClauseText[3], outsideGbk);
        QCOMPARE(m_store->files().read(0).ClauseText[4], QStringLiteral("four"));
        QCOMPARE(m_store->files().read(1).ClauseText[4], QStringLiteral("B clause 4"));
    }

    void selectArticleEdges()
    {
        open();
        m_store->SelectArticle(0);  // empty list: nothing
        QCOMPARE(m_store->currentIndex(), -1);
        append({QStringLiteral("A"), QStringLiteral("B")});
        m_store->SelectArticle(-1);
        QCOMPARE(m_store->currentIndex(), 0);
        QCOMPARE(m_store->buffer().ClauseText[1], QStringLiteral("A clause 1"));

        m_store->LoadArticleNames();  // start-up: no current item yet
        m_store->SelectArticle(5);
        QCOMPARE(m_store->currentIndex(), -1);
        QCOMPARE(m_store->shownIndex(), -1);
        QVERIFY(m_store->selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(m_store->buffer().ClauseText[1], QString());
        // Nothing shown: panel saves write nothing anywhere.
        const QByteArray ini = m_folder->readBytes(QStringLiteral("defualt.ini"));
        QVERIFY(m_store->SaveClauseField(1, QStringLiteral("lost?")));
        QCOMPARE(m_folder->readBytes(QStringLiteral("defualt.ini")), ini);

        // A click in the list (the current item moves) loads that article.
        m_store->selectionModel()->setCurrentIndex(m_store->model()->index(1), QItemSelectionModel::ClearAndSelect);
        QCOMPARE(m_store->shownIndex(), 1);
        QCOMPARE(m_store->currentArticleName(), QStringLiteral("B"));
    }

    void deleteFirstOfThree()
    {
        open();
        append({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QAbstractItemModelTester tester(m_store->model());
        selectRows({0});
        const int before = m_settings->rewriteCount();
        QStringList written;
        StoredFile::setWriteFault([&written](const QString& path) {
            written << path;
            return QString();
        });
        QVERIFY(m_store->DeleteSelectedArticles());
        QVERIFY(m_store->waitForFiles());
        StoredFile::setWriteFault({});
        QCOMPARE(m_settings->rewriteCount(), before + 1);
        // Paragraph files move by rename: only the settings file and the list are written.
        QCOMPARE(written.size(), 2);
        QVERIFY(written.last().endsWith(QLatin1String("articles.txt")));
        QCOMPARE(m_store->model()->stringList(), QStringList({QStringLiteral("B"), QStringLiteral("C")}));
        QCOMPARE(m_folder->readBytes(QStringLiteral("articles.txt")), QByteArray("B\r\nC\r\n"));
        QCOMPARE(m_store->currentIndex(), 0);
        QCOMPARE(m_store->buffer().ArticleName, QStringLiteral("B"));
        compareStored(m_store->files(), 0, articleTagged(QStringLiteral("B")));
        compareStored(m_store->files(), 1, articleTagged(QStringLiteral("C")));
        // Index 2 keeps its keys, as the Windows original leaves them; its paragraph files were moved.
        QCOMPARE(m_store->files().read(2).ClauseName[7], QStringLiteral("C name 7"));
        QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("Content2_1.txt"))));
    }

    void deleteTwoOfFive()
    {
        open();
        append(
            {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E")});
        selectRows({1, 3});
        QVERIFY(m_store->DeleteSelectedArticles());
        QCOMPARE(m_store->model()->stringList(),
                 QStringList({QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("E")}));
        QCOMPARE(m_store->currentIndex(), 0);
        QCOMPARE(m_store->selectionModel()->selectedIndexes().size(), 1);
        compareStored(m_store->files(), 0, articleTagged(QStringLiteral("A")));
        compareStored(m_store->files(), 1, articleTagged(QStringLiteral("C")));
        compareStored(m_store->files(), 2, articleTagged(QStringLiteral("E")));
    }

    void deleteMovesDefaultTitlesAsShown()
    {
        open(TestDataFolder::WindowsFixture);
        m_store->SelectArticle(0);
        m_settings->writeString(QStringLiteral("software1"), ArticleFiles::titleKey(1), QString());
        QFile::remove(m_folder->file(QStringLiteral("Content1_2.txt")));
        const ArticleBuffer shownBefore = m_store->files().read(1);
        selectRows({0});
        QVERIFY(m_store->DeleteSelectedArticles());
        compareStored(m_store->files(), 0, shownBefore);
        QCOMPARE(m_store->buffer().ClauseName[6], QString::fromUtf8("聘名6"));
    }

    // The moved sections are copied whole; what a copy would get wrong is written
    // as a key-by-key move leaves it: the display name copies equal the names as
    // read, and a title found only under another data folder lands under this one.
    void deleteMovesPartialSectionsAsShown()
    {
        open();
        append({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        const QString last = ArticleFiles::articleSection(2);
        QVERIFY(m_settings->copySection(QStringLiteral("nothing"), last));
        m_settings->writeString(last, ArticleFiles::clauseTextKey(1), QStringLiteral("kept"));
        m_settings->writeString(last, QStringLiteral("ShowrtClauseDisplayDefault2"), QStringLiteral("stale"));
        QVERIFY(m_settings->copySection(QStringLiteral("nothing"), m_store->files().titleSection(2, 3)));
        m_settings->writeString(QStringLiteral("C:\\old\\Content2_2.txt"), ArticleFiles::titleKey(3),
                                QStringLiteral("old title"));
        const ArticleBuffer shownBefore = m_store->files().read(2);
        QCOMPARE(shownBefore.ParagraphTitle[3], QStringLiteral("old title"));
        selectRows({0});
        QVERIFY(m_store->DeleteSelectedArticles());
        compareStored(m_store->files(), 0, articleTagged(QStringLiteral("B")));
        compareStored(m_store->files(), 1, shownBefore);
        const QString moved = ArticleFiles::articleSection(1);
        QCOMPARE(m_settings->readString(moved, QStringLiteral("ShowrtClauseDisplayDefault2")),
                 ArticleFiles::defaultClauseName(2));
        QCOMPARE(m_settings->readString(moved, QStringLiteral("ShowrtClauseDisplayDefault9")),
                 ArticleFiles::defaultClauseName(9));
        QCOMPARE(m_settings->readString(ArticleFiles::articleSection(0), QStringLiteral("ShowrtClauseDisplayDefault3")),
                 QStringLiteral("B name 3"));
        QCOMPARE(m_settings->readString(m_store->files().titleSection(1, 3), ArticleFiles::titleKey(3)),
                 QStringLiteral("old title"));
        // Reopened: the same from the files, once their renames are done.
        QVERIFY(m_store->waitForFiles());
        SettingsFile reread(m_folder->file(QStringLiteral("defualt.ini")));
        ArticleFiles files(reread, m_folder->path());
        compareStored(files, 1, shownBefore);
    }

    void deleteAllAndNothing()
    {
        open();
        append({QStringLiteral("A"), QStringLiteral("B")});
        m_store->SelectArticle(1);
        selectRows({});
        QVERIFY(m_store->DeleteSelectedArticles());
        QCOMPARE(m_store->count(), 2);
        QCOMPARE(m_store->currentIndex(), 1);
        QCOMPARE(m_folder->readBytes(QStringLiteral("articles.txt")), QByteArray("A\r\nB\r\n"));

        QSignalSpy changed(m_store.get(), &ArticleStore::currentArticleChanged);
        selectRows({0, 1});
        QVERIFY(m_store->DeleteSelectedArticles());
        QVERIFY(m_store->waitForFiles());
        QCOMPARE(m_store->count(), 0);
        QVERIFY(QFile::exists(m_folder->file(QStringLiteral("articles.txt"))));
        QCOMPARE(m_folder->readBytes(QStringLiteral("articles.txt")), QByteArray());
        QCOMPARE(m_store->shownIndex(), -1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_store->buffer().ClauseText[1], QString());  // the panel is cleared
    }

    void appendOverLeftovers()
    {
        open();
        append({QStringLiteral("A"), QStringLiteral("B")});
        selectRows({1});
        QVERIFY(m_store->DeleteSelectedArticles());
        ArticleBuffer fresh;
        fresh.ArticleName = QStringLiteral("  New  ");
        for (int i = 1; i <= ClauseCount; ++i)
            fresh.ClauseName[i] = ArticleFiles::defaultClauseName(i);
        for (int j = 1; j <= ParagraphCount; ++j)
            fresh.ParagraphTitle[j] = ArticleFiles::defaultParagraphTitle(j);
        m_store->buffer() = fresh;
        QVERIFY(m_store->ApplyEditedArticle(ArticleStore::EditMode::Append));
        QCOMPARE(m_store->model()->stringList(), QStringList({QStringLiteral("A"), QStringLiteral("New")}));
        QCOMPARE(m_store->shownIndex(), 1);
        fresh.ArticleName = QStringLiteral("New");
        compareStored(m_store->files(), 1, fresh);
    }

    void updateKeepsTheIndex()
    {
        open();
        append({QStringLiteral("A"), QStringLiteral("B")});
        m_store->SelectArticle(0);
        m_store->buffer().ArticleName = QStringLiteral("A2");
        m_store->buffer().ClauseName[5] = QString();
        QVERIFY(m_store->ApplyEditedArticle(ArticleStore::EditMode::Update));
        QCOMPARE(m_folder->readBytes(QStringLiteral("articles.txt")), QByteArray("A2\r\nB\r\n"));
        QCOMPARE(m_store->currentArticleName(), QStringLiteral("A2"));
        QCOMPARE(m_store->files().read(0).ClauseName[5], QString());
    }

    void unstorableNamesAreRefused()
    {
        open();
        QCOMPARE(ArticleStore::nameProblem(QStringLiteral(" \t ")), uiText(TextId::ArticleNameEmpty));
        QVERIFY(!ArticleStore::nameProblem(QStringLiteral("a=b")).isEmpty());
        QVERIFY(!ArticleStore::nameProblem(QStringLiteral("[x")).isEmpty());
        QVERIFY(ArticleStore::nameProblem(QString::fromUtf8(" 二手车 ")).isEmpty());
        ArticleBuffer bad = articleTagged(QStringLiteral("A"));
        bad.ClauseName[2] = QStringLiteral("two\nlines");
        m_store->buffer() = bad;
        QVERIFY(!m_store->ApplyEditedArticle(ArticleStore::EditMode::Append));
        QVERIFY(!m_store->lastError().isEmpty());
        QCOMPARE(m_store->count(), 0);
        QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("articles.txt"))));
        QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("defualt.ini"))));

        // Such a name from the Windows original: the article stays editable
        // under it; only a rename to such a name is refused.
        m_folder->writeBytes(QStringLiteral("articles.txt"), "a=b\r\n");
        m_store->LoadArticleNames();
        m_store->SelectArticle(0);
        m_store->buffer().ClauseText[1] = QStringLiteral("edited");
        QVERIFY2(m_store->ApplyEditedArticle(ArticleStore::EditMode::Update), qPrintable(m_store->lastError()));
        QCOMPARE(m_store->files().read(0).ClauseText[1], QStringLiteral("edited"));
        m_store->buffer().ArticleName = QStringLiteral("[c");
        QVERIFY(!m_store->ApplyEditedArticle(ArticleStore::EditMode::Update));
        QCOMPARE(m_store->lastError(), ArticleMessages::nameUnstorable());
        QCOMPARE(m_store->model()->stringList(), QStringList{QStringLiteral("a=b")});
    }

    // Failures before the delete is recorded change nothing; the later ones
    // are finished by the next load (tst_articledelete).
    void failedWritesAreReportedAndLoseNothing_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::newRow("settings file") << QStringLiteral("defualt.ini");
        // D lacks its second paragraph file: the delete first makes an empty one.
        QTest::newRow("missing paragraph file") << QStringLiteral("Content3_2.txt");
    }
    void failedWritesAreReportedAndLoseNothing()
    {
        QFETCH(QString, failing);
        open();
        const QStringList tags{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
        append(tags);
        std::vector<ArticleBuffer> stored;
        for (const QString& tag : tags)
            stored.push_back(articleTagged(tag));
        QVERIFY(QFile::remove(m_folder->file(QStringLiteral("Content3_2.txt"))));
        stored[3].ParagraphText[2].clear();
        const QByteArray ini = m_folder->readBytes(QStringLiteral("defualt.ini"));
        const auto failHere = [failing](const QString& path) {
            return path.endsWith(failing) ? QStringLiteral("disk full") : QString();
        };
        StoredFile::setWriteFault(failHere);
        QSignalSpy failed(m_store.get(), &ArticleStore::writeFailed);
        selectRows({0, 2});
        QVERIFY(!m_store->DeleteSelectedArticles());
        QVERIFY(failed.count() >= 1);
        QVERIFY(failed.first().first().toString().contains(failing));
        QVERIFY(failed.first().first().toString().contains(QStringLiteral("disk full")));
        QCOMPARE(m_store->model()->stringList(), tags);
        StoredFile::setWriteFault({});
        QCOMPARE(m_folder->readBytes(QStringLiteral("defualt.ini")), ini);
        for (int k = 0; k < tags.size(); ++k)
            compareStored(m_store->files(), k, stored[size_t(k)]);

        // A save that fails says so; one that works afterwards reports nothing.
        StoredFile::setWriteFault(failHere);
        m_store->SelectArticle(1);
        ArticlePanelTexts texts;
        texts.paragraph[1] = QStringLiteral("kept");
        const bool saved = m_store->SaveCurrentArticle(texts);
        QCOMPARE(saved, failing != QStringLiteral("defualt.ini"));  // article 1 has other paragraph files
        StoredFile::setWriteFault({});
        failed.clear();
        QVERIFY(m_store->SaveCurrentArticle(texts));
        QCOMPARE(failed.count(), 0);
    }

    // The kernel refuses the writes (a file size limit): the exit's last save
    // must be able to say which files were not written and why.
    void failedSaveNamesEveryFileAndWhy()
    {
        open(TestDataFolder::WindowsFixture);
        m_store->SelectArticle(0);
        // In the order of the save: the clauses' rewrite, then the paragraphs.
        const QStringList files{QStringLiteral("defualt.ini"), QStringLiteral("Content0_1.txt"),
                                QStringLiteral("Content0_3.txt")};
        QMap<QString, QByteArray> before;
        for (const QString& name : files)
            before[name] = m_folder->readBytes(name);
        ArticlePanelTexts texts;
        texts.clauseChanged.fill(false);
        texts.paragraphChanged.fill(false);
        texts.clauseChanged[2] = texts.paragraphChanged[1] = texts.paragraphChanged[3] = true;
        texts.clause[2] = QStringLiteral("typed clause");
        texts.paragraph[1] = QStringLiteral("typed paragraph");
        texts.paragraph[3] = QStringLiteral("another paragraph");
        QSignalSpy failed(m_store.get(), &ArticleStore::writeFailed);
        {
            const FileSizeLimit full(1);
            QVERIFY(full.isSet());
            QVERIFY(!m_store->SaveCurrentArticle(texts));
        }
        const QStringList reasons = m_store->lastError().split(QLatin1Char('\n'));
        QCOMPARE(reasons.size(), 3);
        QCOMPARE(failed.count(), 3);
        for (int k = 0; k < reasons.size(); ++k) {
            const QString& name = files.at(k);
            QVERIFY2(
                reasons.at(k).startsWith(QDir::cleanPath(m_folder->file(name)) + QStringLiteral(": File too large")),
                qPrintable(reasons.at(k)));
            QCOMPARE(failed.at(k).first().toString(), reasons.at(k));
            QCOMPARE(m_folder->readBytes(name), before.value(name));
        }
        // The buffer still holds what is stored: a later save writes the edit.
        QCOMPARE(m_store->buffer().ClauseText[2], QString::fromUtf8("车短句内容2"));
        QVERIFY(m_store->SaveCurrentArticle(texts));
        QCOMPARE(m_store->files().read(0).ParagraphText[3], QStringLiteral("another paragraph"));
    }

    void failedAppendLeavesTheListAlone()
    {
        open();
        append({QStringLiteral("A")});
        StoredFile::setWriteFault([](const QString& path) {
            return path.endsWith(QLatin1String("articles.txt")) ? QStringLiteral("read-only") : QString();
        });
        m_store->buffer() = articleTagged(QStringLiteral("B"));
        QVERIFY(!m_store->ApplyEditedArticle(ArticleStore::EditMode::Append));
        QCOMPARE(m_store->model()->stringList(), QStringList{QStringLiteral("A")});
        QCOMPARE(m_store->shownIndex(), 0);
        QVERIFY(m_store->lastError().contains(QStringLiteral("read-only")));
        QCOMPARE(m_store->buffer().ClauseText[1], QStringLiteral("B clause 1"));  // kept for a retry
    }
};

QTEST_GUILESS_MAIN(TestArticleStore)
#include "tst_articlestore.moc"
