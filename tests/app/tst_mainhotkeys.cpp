#include "ArticleController.h"
#include "CredentialsRow.h"
#include "PostHistory.h"
#include "PostRound.h"
#include "RoundModel.h"
#include "SiteStore.h"
#include "TFrmMain.h"
#include "TFrmPostRound.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "TestData.h"
#include "TestHttpServer.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QWebEngineScript>
#include <QtTest>

// The hotkeys as the main window feeds them: live article fields, the saved
// credentials of the current site, the identifier field.
class TestMainHotkeys : public QObject {
    Q_OBJECT
private:
    static QLineEdit* clause(TFrmMain& w, int i)
    {
        return w.findChild<QLineEdit*>(QStringLiteral("EdtClause%1").arg(i));
    }

    static void pressIn(QWidget* field, int key)
    {
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClick(field, Qt::Key(key), Qt::ControlModifier);
    }

private slots:
    void hotkeysPasteTheirTextsIntoTheFocusedField()
    {
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TFrmMain window(data.path());
        window.resize(1400, 900);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QApplication::clipboard()->setText(QStringLiteral("kept on the clipboard"));

        // Ctrl+E in clause field 3 pastes clause 5, including an unsaved edit of it.
        clause(window, 5)->setText(QStringLiteral("edited five"));
        QLineEdit* target = clause(window, 3);
        target->clear();
        pressIn(target, Qt::Key_E);
        QTRY_COMPARE(target->text(), QStringLiteral("edited five"));

        // Ctrl+U pastes the saved user name, not what the row shows unsaved.
        auto* row = window.findChild<CredentialsRow*>();
        QVERIFY(row);
        const QString saved = window.siteStore()->record().userName;
        QVERIFY(!saved.isEmpty());
        row->findChild<QLineEdit*>("EdtUserName")->setText(QStringLiteral("not saved yet"));
        target->clear();
        pressIn(target, Qt::Key_U);
        QTRY_COMPARE(target->text(), saved);

        // Ctrl+O pastes the identifier field; Ctrl+5 before it pastes nothing.
        row->findChild<QLineEdit*>("EdtSiteArtID")->setText(QStringLiteral("ID-42"));
        target->clear();
        pressIn(target, Qt::Key_5);
        pressIn(target, Qt::Key_O);
        QTRY_COMPARE(target->text(), QStringLiteral("ID-42"));

        // A paragraph arrives whole, lines included, in a multi-line field.
        auto* paragraph = window.findChild<QPlainTextEdit*>(QStringLiteral("MemParagraph3"));
        QVERIFY(paragraph);
        const QString expected = paragraph->toPlainText()
            + window.findChild<QPlainTextEdit*>(QStringLiteral("MemParagraph1"))->toPlainText();
        paragraph->moveCursor(QTextCursor::End);
        pressIn(paragraph, Qt::Key_8);
        QTRY_COMPARE(paragraph->toPlainText(), expected);

        QTRY_COMPARE(QApplication::clipboard()->text(), QStringLiteral("kept on the clipboard"));
    }

    // A user pastes a clause into a real posting form and submits it: the post
    // shows in the round window with its address, F8 goes on to the next
    // site, and the post is there after a restart.
    void aSubmittedPasteIsAPostOfTheRound()
    {
        TestHttpServer server;
        QVERIFY(server.isListening());
        server.addPage("/form",
                       htmlPage(QStringLiteral("form"),
                                QStringLiteral("<form method=post action=/posted><input id=title name=title>"
                                               "<input type=submit id=go></form>")));
        server.addPage("/posted", htmlPage(QStringLiteral("posted")));
        TestDataFolder data(TestDataFolder::WindowsFixture);
        QString article, site;
        {
            TFrmMain window(data.path());
            window.resize(1400, 900);
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            SiteStore* sites = window.siteStore();
            sites->SelectSite(0);
            sites->record().url = server.url(QStringLiteral("/form")).toString();
            QVERIFY(sites->StoreSite(true));
            TWebbrowser* browser = window.pageControl()->CurBrowser();
            QSignalSpy loaded(browser, &QWebEngineView::loadFinished);
            sites->SelectSite(0);
            QTRY_VERIFY_WITH_TIMEOUT(browser->url().path() == QLatin1String("/form") && !loaded.isEmpty(), 30000);
            article = window.articles()->currentArticleName();
            site = sites->siteName(0);

            auto script = [&](const QString& code) {
                QVariant result;
                bool done = false;
                browser->page()->runJavaScript(code, [&](const QVariant& value) {
                    result = value;
                    done = true;
                });
                return QTest::qWaitFor([&] { return done; }, 30000) ? result : QVariant();
            };
            browser->setFocus();
            QTRY_VERIFY(browser->focusProxy() && browser->focusProxy()->hasFocus());
            script(QStringLiteral("document.getElementById('title').focus()"));
            QTest::keyClick(browser->focusProxy(), Qt::Key_1, Qt::ControlModifier);
            QTRY_COMPARE_WITH_TIMEOUT(script(QStringLiteral("document.getElementById('title').value")).toString(),
                                      window.articles()->clauseFieldText(1), 10000);
            script(QStringLiteral("document.getElementById('go').click()"));
            QTRY_VERIFY_WITH_TIMEOUT(browser->url().path() == QLatin1String("/posted"), 30000);
            QTRY_COMPARE_WITH_TIMEOUT(window.postHistory()->latestPostsOf(article).value(site).postUrl,
                                      server.url(QStringLiteral("/posted")).toString(), 10000);

            QTest::keyClick(browser->focusProxy(), Qt::Key_F7);
            QTRY_VERIFY(window.postRound()->isWindowShown());
            TFrmPostRound* round = window.postRound()->window();
            QCOMPARE(round->model()->postedCount(), 1);
            QCOMPARE(round->model()->postAddress(round->model()->rowOfPosition(0)),
                     server.url(QStringLiteral("/posted")).toString());

            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QTest::keyClick(browser->focusProxy(), Qt::Key_F8);
            QTRY_COMPARE(sites->currentPosition(), 1);
            QTRY_COMPARE(round->model()->rowOfPosition(1), round->table()->currentIndex().row());
        }
        TFrmMain again(data.path());
        QCOMPARE(again.postHistory()->latestPostsOf(article).value(site).postUrl,
                 server.url(QStringLiteral("/posted")).toString());
    }
};

QTEST_MAIN(TestMainHotkeys)
#include "tst_mainhotkeys.moc"
