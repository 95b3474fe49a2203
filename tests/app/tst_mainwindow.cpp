#include "ArticleController.h"
#include "PostHistory.h"
#include "PostRound.h"
#include "PostgresServer.h"
#include "RoundModel.h"
#include "TFrmPostRound.h"
#include "TeamSettings.h"
#include "InterfaceLanguage.h"
#include "InterfaceTexts.h"
#include "SettingsFile.h"
#include "SiteStore.h"
#include "TFrmMain.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "TFrmHelp.h"
#include "HelpView.h"
#include "ArticleStore.h"
#include "TestData.h"
#include "TFrmArticleEdit.h"
#include "TFrmURLEdit.h"
#include "ModalAnswer.h"
#include "CloseEndsRun.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QToolButton>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

namespace {

// Counts the children an object gets under one name, as they are made: a
// child that lives only a moment is counted too.
class NamedChildWatch : public QObject {
public:
    NamedChildWatch(QObject* watched, const char* name) : m_name(QLatin1String(name))
    {
        watched->installEventFilter(this);
    }
    int seen = 0;
    QPointer<QObject> last;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            connect(child, &QObject::objectNameChanged, this, [this, child](const QString& name) {
                if (name == m_name) {
                    ++seen;
                    last = child;
                }
            });
        }
        return false;
    }

private:
    QString m_name;
};

}  // namespace

// Start-up, shutdown and the window's own layout behaviour, on real data
// folders (the Windows data set and empty ones).
class TestMainWindow : public QObject {
    Q_OBJECT
private:
    static QString general(SettingsFile& ini, const char* key) { return ini.readString("defualt", key, "<none>"); }

private slots:
    void firstStartCreatesFolderAndShowsHelp()
    {
        TestDataFolder base;
        const QString folder = base.path() + "app/config/";
        auto window = std::make_unique<TFrmMain>(folder);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(QFile::permissions(folder) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
        QCOMPARE(window->siteStore()->count(), 0);
        QCOMPARE(window->articles()->store().count(), 0);
        // About a second later the help window shows the help, off the record;
        // the first tab, on the user's profile, is left alone.
        QSignalSpy firstPage(window.get(), &TFrmMain::firstPageLoaded);
        TFrmHelp* help = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((help = window->findChild<TFrmHelp*>()) && help->isVisible(), 8000);
        QVERIFY(help->WebBrowser1->page()->profile()->isOffTheRecord());
        // Its page is the first page: scripts waiting for the window learn it is up.
        QTRY_COMPARE_WITH_TIMEOUT(firstPage.count(), 1, 60000);
        QVERIFY(!window->pageControl()->CurBrowser()->url().toString().contains("issuehelp"));
        // The help window does not keep the program running once the main window closes.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(closeEndsTheRun(*window));
        QVERIFY(!help->isVisible());
        window.reset();
        SettingsFile ini(folder + "defualt.ini");
        for (const char* key : {"SoftwareInd", "SiteInd", "Edit", "CbEditURL", "EditPanelWidth", "CurArticlePnlWidth"})
            QVERIFY2(ini.hasKey("defualt", key), key);
        QCOMPARE(general(ini, "Edit"), QString("0"));
        QCOMPARE(general(ini, "CbEditURL"), QString("0"));
    }

    void startWithSitesDoesNotOpenHelp()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TFrmMain window(data.path());
        // The update query goes out about a second after start, as a request of its
        // own, not a page: the start-up does not pay for it and no browser loads it.
        // It goes once it has ended.
        NamedChildWatch queries(&window, "UpdateQuery");
        QTRY_COMPARE_WITH_TIMEOUT(queries.seen, 1, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!queries.last, 40000);
        QCOMPARE(queries.seen, 1);
        for (TWebbrowser* browser : window.findChildren<TWebbrowser*>())
            QVERIFY(!browser->page()->requestedUrl().toString().startsWith(InterfaceTexts::updateAddress()));
        QVERIFY(!window.findChild<TFrmHelp*>());
        QVERIFY(!window.pageControl()->CurBrowser()->url().toString().contains("issuehelp"));
    }

    void storedStateIsRestoredAndWrittenBack()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        {
            TFrmMain window(data.path());
            QCOMPARE(window.articles()->currentIndex(), 1);  // SoftwareInd=1
            QCOMPARE(window.siteStore()->currentPosition(), 0);
            auto* cbEditUrl = window.findChild<QCheckBox*>("CbEditURL");
            QVERIFY(cbEditUrl->isChecked());
            // The panel opens at its stored width (420), and every relayout
            // remembers the width it shows.
            window.resize(1400, 900);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTRY_COMPARE(window.regions().PnlArticleEdit->width(), 420);
            QCOMPARE(window.rememberedContentWidth(), 420);
            cbEditUrl->click();
            QVERIFY(!cbEditUrl->isChecked());
        }
        SettingsFile ini(data.file("defualt.ini"));
        QCOMPARE(general(ini, "CbEditURL"), QString("0"));
        QCOMPARE(general(ini, "SoftwareInd"), QString("1"));
        QCOMPARE(general(ini, "Edit"), QString("1"));
        QCOMPARE(general(ini, "EditPanelWidth"), QString("420"));
        QCOMPARE(general(ini, "CurArticlePnlWidth"), QString("420"));
    }

    void outOfRangeIndexes()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        {
            SettingsFile ini(data.file("defualt.ini"));
            ini.writeString("defualt", "SoftwareInd", "-1");
            ini.writeString("defualt", "SiteInd", "5");
            ini.writeString("defualt", "EditPanelWidth", "wide");
        }
        {
            TFrmMain window(data.path());
            QCOMPARE(window.articles()->currentIndex(), 0);
            QVERIFY(window.siteStore()->selectedPositions().isEmpty());
            // No number: the panel opens at the default width, which is kept at exit.
            window.resize(1400, 900);
            window.show();
            QTRY_COMPARE(window.regions().PnlArticleEdit->width(), 400);
        }
        SettingsFile ini(data.file("defualt.ini"));
        QCOMPARE(general(ini, "EditPanelWidth"), QString("400"));
    }

    void exitButtonSavesWithoutQuestion()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TFrmMain window(data.path());
        window.show();
        auto* clause = window.findChild<QLineEdit*>("EdtClause1");
        QVERIFY(clause);
        clause->selectAll();
        QTest::keyClicks(clause, "typed before exit");
        // A site moved: the record of the site list's change ends with the run.
        window.siteStore()->SelectSite(0);
        QVERIFY(window.siteStore()->MoveSite(1));
        QTest::mouseClick(window.findChild<QAbstractButton*>("BtnIHExit"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        SettingsFile ini(data.file("defualt.ini"));
        QCOMPARE(ini.readString("software1", "ShowClause1"), QString("typed before exit"));
        QVERIFY(!ini.hasSection("SDUrl.txt"));
    }

    void captionsAndMenusFromTheTextTable()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TFrmMain window(data.path());
        QCOMPARE(window.findChild<QGroupBox*>("GbSiteList")->title(), QString::fromUtf8("网址列表"));
        QCOMPARE(window.findChild<QGroupBox*>("GbArticleList")->title(), QString::fromUtf8("文章列表"));
        QCOMPARE(window.findChild<QGroupBox*>("GbArticleCont")->title(), QString::fromUtf8("文章内容"));
        const QStringList menu = {"上移", "下移", "新增网站", "修改网站", "删除网站"};
        const char* names[] = {"MnUp", "UpDown", "MnAddWebsite", "MnUpdateWebsite", "MnDeleteWebsite"};
        for (int i = 0; i < 5; ++i) {
            auto* action = window.findChild<QAction*>(names[i]);
            QVERIFY2(action, names[i]);
            QCOMPARE(action->text(), QString::fromUtf8(menu[i].toUtf8()));
            QCOMPARE(action->toolTip(), action->text());
        }
        QCOMPARE(window.windowTitle(), QString::fromUtf8("QVB信息zevi2.3"));
        // Only the listed controls show their hint.
        QCOMPARE(window.findChild<QWidget*>("BtnRun")->toolTip(), QString::fromUtf8("打开网址栏中的网页"));
        QVERIFY(window.findChild<QWidget*>("BtnRefresh")->toolTip().isEmpty());
        QCOMPARE(window.findChild<QWidget*>("BtnRefresh")->property("hint").toString(), uiText(TextId::RefreshHint));
        QVERIFY(window.findChild<QWidget*>("LtSubmitUrl")->toolTip().isEmpty());
    }

    void editCheckBoxWidensAndNarrowsTheLeftColumn()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TFrmMain window(data.path());
        window.resize(1400, 900);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* cb = window.findChild<QCheckBox*>("CbIhEdit");
        if (cb->isChecked())
            cb->click();
        QTRY_COMPARE(window.regions().ScrollBoxLeft->width(), 177);
        QCOMPARE(window.regions().SbLeftPnl->width(), 176);
        QVERIFY(!window.regions().PnlArticleEdit->isVisible());
        cb->click();
        QTRY_COMPARE(window.regions().ScrollBoxLeft->width(), 400);
        auto* clauseArea = window.findChild<QWidget*>("SbArticleContent");
        auto* clause = window.findChild<QLineEdit*>("EdtClause1");
        QTRY_COMPARE(clause->width(), clauseArea->width() - 150);
        auto* box = window.findChild<QGroupBox*>("GbParagraph1");
        QCOMPARE(box->width(), clauseArea->width() - 28);

        // The border between the two lists moves: 302 at the start, then as dragged.
        auto* articles = window.findChild<QGroupBox*>("GbArticleList");
        QCOMPARE(articles->height(), 302);
        const QList<int> sizes = window.regions().Splitter4->sizes();
        window.regions().Splitter4->setSizes({sizes[0] - 100, sizes[1] + 100});
        QTRY_COMPARE(articles->height(), 402);
    }

    void interfaceLanguageFromTheLocale_data()
    {
        // A locale as LANGUAGE, LC_ALL, LC_MESSAGES or LANG name it; colons list
        // LANGUAGE's preferences. Qt expands each as QLocale::uiLanguages() does.
        QTest::addColumn<QString>("locales");
        QTest::addColumn<int>("language");
        const int cn = int(InterfaceLanguage::SimplifiedChinese);
        const int tw = int(InterfaceLanguage::TraditionalChinese);
        const int en = int(InterfaceLanguage::English);
        for (const char* name : {"zh_TW.UTF-8", "zh_HK.UTF-8", "zh_MO", "zh_HK.Big5HKSCS", "zh-Hant"})
            QTest::newRow(name) << name << tw;
        for (const char* name : {"en_US.UTF-8", "en_GB.UTF-8", "en_IN", "en_AU.UTF-8", "en", "en_US@euro"})
            QTest::newRow(name) << name << en;
        for (const char* name : {"C", "POSIX", "C.UTF-8", "", "zh_CN.UTF-8", "zh_SG.UTF-8", "zh", "zh_Hans_HK",
                                 "de_DE.UTF-8", "ja_JP.UTF-8", "fr_FR"})
            QTest::newRow(name) << name << cn;
        // The first entry the program has a language for decides.
        QTest::newRow("LANGUAGE de:en") << "de_DE:de:en" << en;
        QTest::newRow("LANGUAGE zh_TW:en") << "zh_TW:en_US" << tw;
        QTest::newRow("LANGUAGE en:zh_TW") << "en_US:zh_TW" << en;
        QTest::newRow("LANGUAGE de:zh_CN:en") << "de:zh_CN:en" << cn;
    }

    void interfaceLanguageFromTheLocale()
    {
        QFETCH(QString, locales);
        QFETCH(int, language);
        QStringList uiLanguages;
        for (const QString& name : locales.split(QLatin1Char(':'), Qt::SkipEmptyParts))
            uiLanguages += QLocale(name).uiLanguages();
        QCOMPARE(int(InterfaceLanguages::choose(uiLanguages)), language);

        // Qt's own buttons speak traditional Chinese with it, and stay as they
        // are (Qt's English) in simplified Chinese, where nothing is installed.
        const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };
        QVERIFY(InterfaceLanguages::install(InterfaceLanguage(language)));
        QCOMPARE(InterfaceLanguages::current(), InterfaceLanguage(language));
        const bool traditional = language == int(InterfaceLanguage::TraditionalChinese);
        QCOMPARE(yes(), traditional ? QString::fromUtf8("是(&Y)") : QStringLiteral("&Yes"));
        QVERIFY(InterfaceLanguages::install(InterfaceLanguage::SimplifiedChinese));
        QCOMPARE(yes(), QStringLiteral("&Yes"));
        QCOMPARE(QCoreApplication::translate("InterfaceTexts", "网址列表"), QString::fromUtf8("网址列表"));
    }

    // The same actions in English and in simplified Chinese: the window shows
    // English, defaults included, and the data folders end byte for byte equal.
    void englishWindowStoresWhatChineseStores()
    {
        const auto run = [](InterfaceLanguage language, TestDataFolder& data, QStringList& shown) {
            QVERIFY(InterfaceLanguages::install(language));
            TFrmMain window(data.path());
            shown << window.findChild<QGroupBox*>("GbSiteList")->title() << window.windowTitle();
            answerModal<TFrmArticleEdit>([&shown](TFrmArticleEdit* editor) {
                shown << editor->clauseNameField(2)->text() << editor->paragraphTitleField(3)->text()
                      << editor->paragraphGroup(1)->title();
                editor->clauseNameField(3)->setText(QStringLiteral("Price"));
                editor->EdtArticleName->setText(QStringLiteral("New"));
                editor->BtnConfirm->click();
            });
            window.articles()->BtnAddArticleClick();
            shown << window.findChild<QLabel*>("LblClause2")->text()
                  << window.findChild<QGroupBox*>("GbParagraph3")->title();
            // Editing the stored article again keeps its default names as they are stored.
            answerModal<TFrmArticleEdit>([](TFrmArticleEdit* editor) { editor->BtnConfirm->click(); });
            window.articles()->BtnUpdateArticleClick();
        };
        TestDataFolder chinese(TestDataFolder::WindowsFixture), english(TestDataFolder::WindowsFixture);
        QStringList inChinese, inEnglish;
        run(InterfaceLanguage::SimplifiedChinese, chinese, inChinese);
        run(InterfaceLanguage::English, english, inEnglish);
        QVERIFY(InterfaceLanguages::install(InterfaceLanguage::SimplifiedChinese));
        QCOMPARE(
            inChinese,
            QStringList({QString::fromUtf8("网址列表"), QString::fromUtf8("QVB信息zevi2.3"), QString::fromUtf8("短句2"),
                         QString::fromUtf8("段落3"), QString::fromUtf8("段落名称1(快捷鍵快捷键：Ctrl+8)"),
                         QString::fromUtf8("短句2(Ctrl+2)"), QString::fromUtf8("段落3(Ctrl+0)")}));
        QCOMPARE(inEnglish,
                 QStringList({"Sites", "QVBzevi 2.3", "Phrase 2", "Paragraph 3", "Paragraph 1 (Ctrl+8)",
                              "Phrase 2(Ctrl+2)", "Paragraph 3(Ctrl+0)"}));
        const QStringList files = QDir(chinese.path()).entryList({"*.ini", "*.txt"}, QDir::Files);
        QVERIFY(files.contains("defualt.ini") && files.contains("articles.txt"));
        QCOMPARE(QDir(english.path()).entryList({"*.ini", "*.txt"}, QDir::Files), files);
        // Paragraph titles' sections are named by their file's path: each folder's own.
        const auto stored = [](const TestDataFolder& data, const QString& file) {
            return data.readBytes(file).replace(QDir::toNativeSeparators(data.path()).toUtf8(), "<data>");
        };
        for (const QString& file : files)
            QCOMPARE(stored(english, file), stored(chinese, file));
        QVERIFY(english.readBytes("defualt.ini").contains(gb18030(QString::fromUtf8("=短句2\r\n"))));
    }

    void fullScreenByF11AndEsc()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TFrmMain window(data.path());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* cbEditUrl = window.findChild<QCheckBox*>("CbEditURL");
        if (cbEditUrl->isChecked())
            cbEditUrl->click();
        auto* row = window.findChild<QWidget*>("SbLocation");
        auto* button = window.findChild<QAbstractButton*>("BtnFullScreen");
        QVERIFY(button);
        QTest::keyClick(&window, Qt::Key_F11);
        QVERIFY(window.isFullScreenLayout());
        QVERIFY(!window.regions().ScrollBoxLeft->isVisible());
        QVERIFY(!window.regions().SbAvert->isVisible());
        QCOMPARE(button->toolTip(), QString::fromUtf8("退出全屏显示"));
        QTest::keyClick(&window, Qt::Key_F11);
        QVERIFY(!window.isFullScreenLayout());
        QVERIFY(window.regions().ScrollBoxLeft->isVisible());
        QVERIFY(!row->isVisible());
        QCOMPARE(button->toolTip(), QString::fromUtf8("全屏显示"));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isFullScreenLayout());
        cbEditUrl->setChecked(true);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(row->isVisible());
    }

    // Without a mouse: Tab goes from the first clause through the paragraphs
    // and on out of the panel, typing nothing; a screen reader finds a name on
    // every button and field of the window and of both editors.
    // Two windows, two data folders, one team server: a post marked in one
    // shows in the other's round with its member, a site one of them takes
    // with F8 is passed by the other's F8, and without team.ini the window
    // shows no team.
    void aTeamSharesTheRoundThroughItsServer()
    {
        PostgresServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        qputenv("PGPASSFILE", server.passFile().toLocal8Bit());
        TestDataFolder dataA(TestDataFolder::WindowsFixture), dataB(TestDataFolder::WindowsFixture),
            alone(TestDataFolder::WindowsFixture);
        QString notice;
        QVERIFY(TeamSettings::save(dataA.path(), server.conninfo(), QStringLiteral("甲"), &notice).isEmpty());
        QVERIFY(TeamSettings::save(dataB.path(), server.conninfo(), QStringLiteral("乙"), &notice).isEmpty());

        TFrmMain a(dataA.path()), b(dataB.path());
        const QString article = a.articles()->currentArticleName();
        QCOMPARE(b.articles()->currentArticleName(), article);
        auto stateLabel = [](TFrmMain& window) {
            window.postRound()->showWindow();
            return window.postRound()->window()->findChild<QLabel*>(QStringLiteral("LblTeamState"));
        };
        QTRY_COMPARE_WITH_TIMEOUT(stateLabel(a)->text(), QStringLiteral("团队：甲（在线）"), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(stateLabel(b)->text(), QStringLiteral("团队：乙（在线）"), 15000);
        RoundModel* roundB = b.postRound()->window()->model();

        const QString first = a.siteStore()->siteName(0);
        QVERIFY(a.postHistory()->markPosted(first, article));
        QTRY_VERIFY_WITH_TIMEOUT(roundB->isPosted(0), 10000);
        QCOMPARE(roundB->data(roundB->index(roundB->rowOfPosition(0), RoundModel::StateColumn)).toString(),
                 QStringLiteral("已发布（甲，手动标记）"));

        // 甲 takes the next site; 乙, one step behind, is sent past it.
        a.siteStore()->SelectSite(0);
        a.postRound()->nextSite();
        QTRY_COMPARE_WITH_TIMEOUT(a.siteStore()->currentPosition(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(
            roundB->data(roundB->index(roundB->rowOfPosition(1), RoundModel::StateColumn)).toString(),
            QStringLiteral("未发布（甲 正在发布）"), 10000);
        b.siteStore()->SelectSite(0);
        b.postRound()->nextSite();
        QTRY_COMPARE_WITH_TIMEOUT(b.siteStore()->currentPosition(), 2, 10000);

        TFrmMain single(alone.path());
        QVERIFY(stateLabel(single)->text().isEmpty());
        QVERIFY(!stateLabel(single)->isVisible());
        qunsetenv("PGPASSFILE");
    }

    void keyboardAndScreenReader()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TFrmMain window(data.path());
        window.resize(1400, 900);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QStringList expected, shownBefore;
        for (int i = 1; i <= 15; ++i)
            expected << QString("EdtClause%1").arg(i);
        QList<QPlainTextEdit*> paragraphs;
        for (int j = 1; j <= 3; ++j) {
            expected << QString("MemParagraph%1").arg(j);
            paragraphs << window.findChild<QPlainTextEdit*>(expected.last());
            shownBefore << paragraphs.last()->toPlainText();
        }
        auto* panel = window.findChild<QWidget*>("GbArticleCont");
        window.findChild<QLineEdit*>("EdtClause1")->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (QWidget* focus = QApplication::focusWidget(); focus && panel->isAncestorOf(focus) && visited.size() < 30;
             focus = QApplication::focusWidget()) {
            visited << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(visited, expected);
        QVERIFY(QApplication::focusWidget() && !panel->isAncestorOf(QApplication::focusWidget()));
        for (int j = 0; j < 3; ++j) {
            QCOMPARE(paragraphs[j]->toPlainText(), shownBefore[j]);
            QVERIFY(!paragraphs[j]->document()->isModified());
        }

        const auto unnamed = [](const QWidget* root) {
            QStringList missing;
            for (QWidget* control : root->findChildren<QWidget*>()) {
                const bool buttonOrField = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control)
                    || qobject_cast<QPlainTextEdit*>(control);
                QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(control);
                if (buttonOrField && (!shown || shown->text(QAccessible::Name).trimmed().isEmpty()))
                    missing << control->objectName();
            }
            return missing;
        };
        QCOMPARE(unnamed(&window), QStringList());
        QStringList editorsUnnamed = {"no article editor"};
        answerModal<TFrmArticleEdit>([&](TFrmArticleEdit* editor) {
            editorsUnnamed = unnamed(editor);
            editor->BtnClose->click();
        });
        window.articles()->BtnUpdateArticleClick();
        QCOMPARE(editorsUnnamed, QStringList());
        editorsUnnamed = QStringList{"no site editor"};
        answerModal<TFrmURLEdit>([&](TFrmURLEdit* editor) {
            editorsUnnamed = unnamed(editor);
            editor->BtnClose->click();
        });
        window.findChild<QAbstractButton*>("BtnUpdateASite")->click();
        QCOMPARE(editorsUnnamed, QStringList());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
