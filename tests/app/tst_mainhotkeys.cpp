#include "ArticleController.h"
#include "ContinuousRound.h"
#include "CredentialsRow.h"
#include "FormMemory.h"
#include "HotkeyDispatcher.h"
#include "PasteText.h"
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
#include "ModalAnswer.h"
#include "OpenLocation.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QPlainTextEdit>
#include <QTableView>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEngineScript>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// A posting form: plain fields, a rich-text editor in a frame, a field that a
// later load leaves out, and a submit that is only noted.
QByteArray postingForm(bool withExtra)
{
    return htmlPage(QStringLiteral("post"),
                    QStringLiteral("<form method=post action=/never onsubmit='window.submitted = true; return false'>"
                                   "<input id=user value=old> <input type=password name=pw value=old> <input name=id>"
                                   "<input id=subject> %1 <textarea name=body>old</textarea> <button>post</button>"
                                   "<iframe id=editor srcdoc=\"<body>old<script>document.designMode = 'on'</script>\">"
                                   "</iframe></form>")
                        .arg(withExtra ? QStringLiteral("<input id=extra>") : QString()));
}

// Waits in the event loop, as the program runs: a sleeping wait (QTest's)
// would hold up every request the engine makes of this thread, the page's
// clipboard reads among them.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    QTimer tick;  // wakes the loop when nothing else does
    tick.start(5);
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

QVariant runScript(QWebEngineView* view, const QString& code)
{
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    view->page()->runJavaScript(code, [result](const QVariant& value) { *result = {true, value}; });
    waitUntil([&] { return result->first; });
    return result->second;
}

// The start-up page may still be failing to load: the form counts once it is
// shown, with its editor ready.
bool loadForm(QWebEngineView* view, const QUrl& address)
{
    view->setUrl(address);
    return waitUntil([&] {
        return view->url() == address && !view->page()->isLoading()
            && runScript(view, "frames[0].document.designMode").toString() == "on";
    });
}

}  // namespace

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
            bool formLoaded = false;
            connect(browser, &QWebEngineView::loadFinished, this, [&](bool ok) {
                formLoaded = formLoaded || (ok && browser->url().path() == QLatin1String("/form"));
            });
            sites->SelectSite(0);
            QVERIFY(waitUntil([&] { return formLoaded; }));
            article = window.articles()->currentArticleName();
            site = sites->siteName(0);

            auto script = [&](const QString& code) {
                QVariant result;
                bool done = false;
                browser->page()->runJavaScript(code, [&](const QVariant& value) {
                    result = value;
                    done = true;
                });
                return waitUntil([&] { return done; }) ? result : QVariant();
            };
            browser->setFocus();
            QVERIFY(waitUntil([&] { return browser->focusProxy() && browser->focusProxy()->hasFocus(); }));
            script(QStringLiteral("document.getElementById('title').focus()"));
            QTest::keyClick(browser->focusProxy(), Qt::Key_1, Qt::ControlModifier);
            const QString clause = window.articles()->clauseFieldText(1);
            QVERIFY(
                waitUntil([&] { return script(QStringLiteral("document.getElementById('title').value")) == clause; }));
            // The user's own Enter submits: a page's click() would not be a post.
            QTest::keyClick(browser->focusProxy(), Qt::Key_Return);
            const QString posted = server.url(QStringLiteral("/posted")).toString();
            QVERIFY(
                waitUntil([&] { return window.postHistory()->latestPostsOf(article).value(site).postUrl == posted; }));

            QTest::keyClick(browser->focusProxy(), Qt::Key_F7);
            QTRY_VERIFY(window.postRound()->isWindowShown());
            TFrmPostRound* round = window.postRound()->window();
            QCOMPARE(round->model()->postedCount(), 1);
            QCOMPARE(round->model()->postAddress(round->model()->rowOfPosition(0)), posted);

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

    // Two sites on two loopback addresses: 127.0.0.1 is the current site's,
    // 127.0.0.2 another's. A page of the other site, a page's own dialog and
    // a form that moves away during F9 get no credential; a page's own
    // click() posts nothing; a page's title and links stay data.
    void hostilePagesGetNoCredentialsAndForgeNoPost()
    {
        TestHttpServer own, other(QHostAddress(QStringLiteral("127.0.0.2")));
        QVERIFY(own.isListening() && other.isListening());
        const QString fields = QStringLiteral(
            "<form method=post action=/posted><input id=user name=user><input type=password id=pw name=pw>"
            "<input id=title name=title><textarea id=body name=body></textarea><input type=submit id=go></form>");
        own.addPage("/login", QStringLiteral("<!doctype html><title>&lt;img src=x&gt;</title>%1").arg(fields).toUtf8());
        own.addPage("/posted", htmlPage(QStringLiteral("posted")));
        other.addPage("/login",
                      htmlPage(QStringLiteral("other"), fields + "<a id=ssh href='ssh://example.invalid/'>x</a>"));
        TestDataFolder data(TestDataFolder::WindowsFixture);
        TFrmMain window(data.path());
        window.resize(1400, 900);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SiteStore* sites = window.siteStore();
        sites->SelectSite(0);
        sites->record().url = own.url("/login").toString();
        sites->record().password = QStringLiteral("s3cret-pw");
        QVERIFY(sites->StoreSite(true));
        sites->SelectSite(0);
        const QString site = sites->record().siteName, article = window.articles()->currentArticleName();
        TWebbrowser* browser = window.pageControl()->CurBrowser();
        PasteText* paste = window.findChild<HotkeyDispatcher*>()->pasteText();
        QLabel* hint = window.findChild<QLabel*>("LblHint");
        QApplication::clipboard()->setText(QStringLiteral("kept on the clipboard"));
        auto open = [&](const QUrl& address) {
            browser->setUrl(address);
            return waitUntil([&] { return browser->url() == address && !browser->page()->isLoading(); });
        };
        auto value = [&](const char* id) {
            return runScript(browser, QStringLiteral("document.getElementById('%1').value").arg(id)).toString();
        };
        QSignalSpy pasted(window.findChild<HotkeyDispatcher*>(), &HotkeyDispatcher::hotkeyPasted);
        // A credential's paste starts once the page has said where its focus is.
        auto pressInField = [&](const char* id, Qt::Key key, bool expectPaste = true) {
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            browser->setFocus();
            QVERIFY(waitUntil([&] { return browser->focusProxy() && browser->focusProxy()->hasFocus(); }));
            // A page that has just loaded may not take the focus at once.
            QVERIFY(waitUntil([&] {
                return runScript(browser,
                                 QStringLiteral("document.getElementById('%1').focus(); "
                                                "document.hasFocus() && document.activeElement.id")
                                     .arg(id))
                    == QLatin1String(id);
            }));
            const int before = int(pasted.count());
            QTest::keyClick(browser->focusProxy(), key, Qt::ControlModifier);
            if (expectPaste)
                QVERIFY(waitUntil([&] { return pasted.count() > before && !paste->isBusy(); }));
        };
        auto settle = [&] { waitUntil([] { return false; }, 600); };

        // Another site's page: asked, nothing pasted on No; a Yes kept for the pair asks once.
        QVERIFY(open(other.url("/login")));
        bool asked = false;
        answerModal<QMessageBox>([&](QMessageBox* box) {
            asked = box->text().contains(site) && box->text().contains("http://127.0.0.2");
            box->button(QMessageBox::No)->click();
        });
        pressInField("pw", Qt::Key_W, false);
        QVERIFY(waitUntil([&] { return asked; }));
        settle();
        QCOMPARE(value("pw"), QString());
        QVERIFY2(hint->text().contains(QStringLiteral("未粘贴")), qPrintable(hint->text()));
        answerModal<QMessageBox>([&](QMessageBox* box) {
            box->checkBox()->setChecked(true);
            box->button(QMessageBox::Yes)->click();
        });
        pressInField("pw", Qt::Key_W);
        QVERIFY(waitUntil([&] { return value("pw") == QLatin1String("s3cret-pw"); }));
        runScript(browser, "document.getElementById('pw').value = ''");
        pressInField("pw", Qt::Key_W);
        QVERIFY(waitUntil([&] { return value("pw") == QLatin1String("s3cret-pw"); }));
        QVERIFY(!QApplication::activeModalWidget());

        // A link to another program's scheme is asked about; No opens nothing.
        QList<QUrl> handedOut;
        SetLocationOpener([&](const QUrl& url) { return handedOut << url, true; });
        bool linkAsked = false;
        answerModal<QMessageBox>([&](QMessageBox* box) {
            linkAsked = box->text().contains("ssh:");
            box->button(QMessageBox::No)->click();
        });
        runScript(browser, "document.getElementById('ssh').click()");
        QVERIFY(waitUntil([&] { return linkAsked; }));
        SetLocationOpener({});
        QVERIFY(handedOut.isEmpty());

        // The own site's page: pasted without a question; the fields are learnt.
        QVERIFY(open(own.url("/login")));
        pressInField("user", Qt::Key_U);
        pressInField("pw", Qt::Key_W);
        pressInField("title", Qt::Key_1);
        pressInField("body", Qt::Key_8);
        const QString clauseText = clause(window, 1)->text();
        QVERIFY(waitUntil([&] { return !paste->isBusy() && value("title") == clauseText; }));
        QCOMPARE(value("pw"), QStringLiteral("s3cret-pw"));
        QVERIFY(!QApplication::activeModalWidget());

        // The title is shown as the characters it has, not as markup.
        const QString tip = window.pageControl()->tabToolTip(window.pageControl()->indexOfBrowser(browser));
        QCOMPARE(QTextDocumentFragment::fromHtml(tip).toPlainText(), QStringLiteral("<img src=x>"));

        // The page's own click() on its submit button is no post; the user's Enter is.
        runScript(browser, "document.getElementById('go').click()");
        QVERIFY(waitUntil([&] { return browser->url().path() == "/posted" && !browser->page()->isLoading(); }));
        settle();
        QVERIFY(!window.postHistory()->latestPostsOf(article).contains(site));
        QVERIFY(open(own.url("/login")));
        pressInField("title", Qt::Key_1);
        QVERIFY(waitUntil([&] { return !paste->isBusy() && value("title") == clauseText; }));
        QTest::keyClick(browser->focusProxy(), Qt::Key_Return);
        QVERIFY(waitUntil([&] { return window.postHistory()->latestPostsOf(article).contains(site); }));

        // A page's prompt() gets no credential, even on the own site.
        // The dialog runs its own event loop: it is answered from inside it.
        QVERIFY(open(own.url("/login")));
        const QString unanswered = QStringLiteral("(no dialog)");
        QString typedIntoPrompt = unanswered;
        answerModal<QDialog>([&](QDialog* dialog) {
            auto* field = dialog->findChild<QLineEdit*>();
            if (!field) {
                dialog->reject();
                return;
            }
            // The key is the dialog's only once it has the focus (a busy machine takes a while).
            dialog->activateWindow();
            field->setFocus();
            waitUntil([&] { return field->hasFocus(); }, 10000);
            QTest::keyClick(field, Qt::Key_W, Qt::ControlModifier);
            QTimer::singleShot(800, dialog, [&typedIntoPrompt, dialog, field] {
                typedIntoPrompt = field->text();
                dialog->reject();
            });
        });
        runScript(browser,
                  QStringLiteral("setTimeout(function () { window.answer = prompt('账号验证：请按 Ctrl+W'); })"));
        QVERIFY(waitUntil([&] { return typedIntoPrompt != unanswered; }));
        QCOMPARE(typedIntoPrompt, QString());
        QVERIFY2(hint->text().contains(QStringLiteral("对话框")), qPrintable(hint->text()));
        QVERIFY(waitUntil([] { return !QApplication::activeModalWidget(); }));

        // F9 on a form whose tab moves to the other site after its first field:
        // the fill stops, and nothing reaches the other site's fields.
        QVERIFY(open(own.url("/login")));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        browser->setFocus();
        QVERIFY(waitUntil([&] { return runScript(browser, "document.hasFocus()").toBool(); }));
        QMetaObject::Connection moveOnce = connect(paste, &PasteText::finished, this, [&] {
            disconnect(moveOnce);
            browser->setUrl(other.url("/login"));
        });
        QTest::keyClick(browser->focusProxy(), Qt::Key_F9);
        QVERIFY(waitUntil([&] { return browser->url().host() == "127.0.0.2" && !browser->page()->isLoading(); }));
        QVERIFY(waitUntil([&] { return !paste->isBusy() && !hint->text().startsWith(QStringLiteral("正在")); }));
        settle();
        for (const char* id : {"user", "pw", "title", "body"})
            QCOMPARE(value(id), QString());
        QVERIFY2(hint->text().contains(QStringLiteral("网页已转到别处")), qPrintable(hint->text()));
        QTRY_COMPARE(QApplication::clipboard()->text(), QStringLiteral("kept on the clipboard"));
    }

    // Hotkey pastes teach the page's form; after a restart F9 fills it again
    // from anywhere in the window, leaving out the field the page lost, and
    // submits nothing. The database holds none of the texts.
    // Forms learnt on four local sites; after a restart Shift+F8, then only
    // each page's own submit button: four posts in list order from the
    // current site, each next page loaded once (out of sight, beforehand,
    // where it opens no dialog), and the user's clipboard kept. A page the
    // user typed into is left alone.
    void theContinuousRoundNeedsOnlyTheSubmitButtons()
    {
        TestHttpServer server;
        QVERIFY(server.isListening());
        const int siteCount = 4;
        auto formPath = [](int n) { return QStringLiteral("/site%1/post").arg(n).toLatin1(); };
        auto postedPath = [](int n) { return QStringLiteral("/site%1/posted").arg(n).toLatin1(); };
        for (int n = 0; n < siteCount; ++n) {
            server.addPage(formPath(n),
                           htmlPage(QStringLiteral("form %1").arg(n),
                                    QStringLiteral("<form method=post action=%1><input id=title>"
                                                   "<textarea id=body></textarea>"
                                                   "<button id=go style='width:200px;height:60px'>post"
                                                   "</button></form><script>if (document.visibilityState"
                                                   " === 'hidden') window.answer = confirm('hidden?')</script>")
                                        .arg(QString::fromLatin1(postedPath(n)))));
            server.addPage(postedPath(n), htmlPage(QStringLiteral("posted %1").arg(n)));
        }
        const QString title = QStringLiteral("document.getElementById('title').value");
        TestDataFolder data(TestDataFolder::WindowsFixture);
        {
            TFrmMain window(data.path());
            window.resize(1400, 900);
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            SiteStore* sites = window.siteStore();
            for (int n = 0; n < siteCount; ++n) {
                if (n < sites->count())
                    sites->SelectSite(n);
                else
                    sites->record() = TMyURL();
                if (n >= sites->count())
                    sites->record().siteName = QStringLiteral("站点%1").arg(n);
                sites->record().url = server.url(QString::fromLatin1(formPath(n))).toString();
                QVERIFY(sites->StoreSite(n < sites->count()));
            }
            QCOMPARE(sites->count(), siteCount);
            // Taught by the hotkeys on the first site; the others' forms are the same.
            TWebbrowser* browser = window.pageControl()->CurBrowser();
            bool formLoaded = false;
            connect(browser, &QWebEngineView::loadFinished, this,
                    [&](bool ok) { formLoaded = ok && browser->url().path() == formPath(0); });
            sites->SelectSite(0);
            QVERIFY(waitUntil([&] { return formLoaded; }));
            browser->setFocus();
            QVERIFY(waitUntil([&] { return browser->focusProxy() && browser->focusProxy()->hasFocus(); }));
            PasteText* paste = window.findChild<HotkeyDispatcher*>()->pasteText();
            QSignalSpy pasted(window.findChild<HotkeyDispatcher*>(), &HotkeyDispatcher::hotkeyPasted);
            for (const auto& [field, key] : {std::pair{"title", Qt::Key_1}, std::pair{"body", Qt::Key_8}}) {
                runScript(browser, QStringLiteral("document.getElementById('%1').focus()").arg(field));
                const int before = int(pasted.count());
                QTest::keyClick(browser->focusProxy(), key, Qt::ControlModifier);
                QVERIFY(waitUntil([&] { return pasted.count() > before && !paste->isBusy(); }));
                QVERIFY(waitUntil([&] {
                    return !runScript(browser, QStringLiteral("document.getElementById('%1').value").arg(field))
                                .toString()
                                .isEmpty();
                }));
            }
            FormMemory* memory = window.formMemory();
            const QString firstPage = FormMemory::pageOf(server.url(QString::fromLatin1(formPath(0))));
            QVERIFY2(waitUntil([&] { return memory->fieldsOf(sites->siteName(0), firstPage).size() == 2; }),
                     qPrintable(QString::number(memory->fieldsOf(sites->siteName(0), firstPage).size())));
            for (int n = 1; n < siteCount; ++n)
                for (const FormMemory::Field& field : memory->fieldsOf(sites->siteName(0), firstPage))
                    memory->remember(sites->siteName(n),
                                     FormMemory::pageOf(server.url(QString::fromLatin1(formPath(n)))), field,
                                     field.form);
            sites->SelectSite(1);  // the round starts here after the restart
        }

        TFrmMain window(data.path());
        QSignalSpy firstPageLoaded(&window, &TFrmMain::firstPageLoaded);
        window.resize(1400, 900);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SiteStore* sites = window.siteStore();
        const QString article = window.articles()->currentArticleName();
        const QString clause = window.articles()->clauseFieldText(1);
        TWebbrowser* first = window.pageControl()->CurBrowser();
        QVERIFY(waitUntil([&] { return firstPageLoaded.count() > 0; }));
        QCOMPARE(first->url().path(), formPath(1));
        QApplication::clipboard()->setText(QStringLiteral("the user's own clipboard"));
        first->setFocus();
        QVERIFY(waitUntil([&] { return first->focusProxy() && first->focusProxy()->hasFocus(); }));
        runScript(first, QStringLiteral("document.getElementById('title').focus()"));
        QTest::keyClick(first->focusProxy(), Qt::Key_X);
        QVERIFY(waitUntil([&] { return runScript(first, title).toString() == QLatin1String("x"); }));

        const qsizetype requestsBefore = server.requests().size();
        QTest::keyClick(first->focusProxy(), Qt::Key_F8, Qt::ShiftModifier);
        QVERIFY(window.continuousRound()->isOn());
        const QLabel* hint = window.findChild<QLabel*>(QStringLiteral("LblHint"));
        QVERIFY2(hint->text().contains(QStringLiteral("本页已有您的输入")), qPrintable(hint->text()));
        QCOMPARE(runScript(first, title).toString(), QStringLiteral("x"));
        first->reload();  // a new load: nothing typed into it yet

        PasteText* paste = window.findChild<HotkeyDispatcher*>()->pasteText();
        for (const int n : {1, 2, 3, 0}) {
            TWebbrowser* browser = nullptr;
            QVERIFY2(
                waitUntil([&] {
                    // The body is the last field: the fill is over once it has its text.
                    browser = window.pageControl()->CurBrowser();
                    return browser->url().path() == formPath(n) && runScript(browser, title).toString() == clause
                        && !runScript(browser, "document.getElementById('body').value").toString().isEmpty()
                        && !paste->isBusy();
                }),
                qPrintable(
                    QStringLiteral("site %1: %2 %3 %4 %5")
                        .arg(n)
                        .arg(hint->text(), browser->url().toString(),
                             runScript(browser,
                                       "document.getElementById('title').value + '|' + "
                                       "document.getElementById('body').value.length + '|' + document.activeElement.id "
                                       "+ '|' + document.hasFocus() + '|' + "
                                       "performance.getEntriesByType('navigation')[0].type + '|' + performance.now()")
                                 .toString())
                        .arg(paste->isBusy())));
            QCOMPARE(sites->currentPosition(), n);
            QVERIFY(window.continuousRound()->preloaded() != browser);
            // A page loaded out of sight asked its question of nobody: No, without a dialog.
            if (n != 1)
                QCOMPARE(runScript(browser, QStringLiteral("String(window.answer)")).toString(),
                         QStringLiteral("false"));
            const QList<QVariant> centre = runScript(browser,
                                                     QStringLiteral("var r = document.getElementById('go')"
                                                                    ".getBoundingClientRect();"
                                                                    "[r.x + r.width / 2, r.y + r.height / 2]"))
                                               .toList();
            QCOMPARE(centre.size(), 2);
            QTest::mouseClick(browser->focusProxy(), Qt::LeftButton, {},
                              QPoint(centre.at(0).toInt(), centre.at(1).toInt()));
            const QString posted = server.url(QString::fromLatin1(postedPath(n))).toString();
            QVERIFY2(waitUntil([&] {
                         return window.postHistory()->latestPostsOf(article).value(sites->siteName(n)).postUrl
                             == posted;
                     }),
                     qPrintable(QStringLiteral("site %1: %2").arg(n).arg(hint->text())));
        }
        QVERIFY(waitUntil([&] { return !window.continuousRound()->isOn(); }));
        QCOMPARE(window.postHistory()->latestPostsOf(article).size(), siteCount);
        QVERIFY(!paste->isBusy());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("the user's own clipboard"));
        // Each form page was asked for once in the round (the first by the
        // reload): the preloaded pages were shown, not loaded again.
        for (int n = 0; n < siteCount; ++n) {
            const auto requests =
                std::count_if(server.requests().cbegin() + requestsBefore, server.requests().cend(),
                              [&](const TestHttpServer::Request& r) { return r.path == formPath(n); });
            QCOMPARE(int(requests), 1);
        }

        // A complete round does not start again; another article's does, and
        // choosing yet another article stops it.
        ContinuousRound* round = window.continuousRound();
        round->toggle();
        QVERIFY(!round->isOn());
        const int other = article == window.articles()->store().model()->stringList().value(0) ? 1 : 0;
        window.articles()->SelectArticle(other);
        QVERIFY(window.articles()->currentArticleName() != article);
        round->toggle();
        QVERIFY(round->isOn());
        window.articles()->SelectArticle(1 - other);
        QVERIFY(!round->isOn());
        QVERIFY2(hint->text().contains(QStringLiteral("已选择另一篇文章")), qPrintable(hint->text()));
        QVERIFY(!round->preloaded());
    }

    void formFillReplaysTheLearntPastes()
    {
        TestHttpServer server;
        QVERIFY(server.isListening());
        server.addPage("/post.php?step=1", postingForm(true));
        server.addPage("/post.php?step=2", postingForm(false));
        TestDataFolder data(TestDataFolder::WindowsFixture);
        const struct {
            const char* field;
            Qt::Key key;
        } lessons[] = {
            {"document.getElementById('user')", Qt::Key_U},       {"document.getElementsByName('pw')[0]", Qt::Key_W},
            {"document.getElementsByName('id')[0]", Qt::Key_O},   {"document.getElementById('subject')", Qt::Key_1},
            {"document.getElementById('extra')", Qt::Key_3},      {"frames[0].document.body", Qt::Key_2},
            {"document.getElementsByName('body')[0]", Qt::Key_8},
        };
        QStringList texts;
        {
            TFrmMain window(data.path());
            window.resize(1400, 900);
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            // The form is the current site's own: its credentials go in unasked.
            window.siteStore()->record().url = server.url("/post.php").toString();
            QVERIFY(window.siteStore()->StoreSite(true));
            TWebbrowser* browser = window.pageControl()->CurBrowser();
            QVERIFY(loadForm(browser, server.url("/post.php?step=1")));
            window.findChild<QLineEdit*>("EdtSiteArtID")->setText(QStringLiteral("ID-42"));
            PasteText* paste = window.findChild<HotkeyDispatcher*>()->pasteText();
            browser->setFocus();
            QTRY_VERIFY(browser->focusProxy() && browser->focusProxy()->hasFocus());
            // A credential's paste starts once the page has said where its focus is.
            QSignalSpy pasted(window.findChild<HotkeyDispatcher*>(), &HotkeyDispatcher::hotkeyPasted);
            for (const auto& lesson : lessons) {
                runScript(browser,
                          QStringLiteral("var f = %1; if (f === frames[0].document.body) frames[0].focus(); "
                                         "f.focus();")
                              .arg(lesson.field));
                const int before = int(pasted.count());
                QTest::keyClick(browser->focusProxy(), lesson.key, Qt::ControlModifier);
                QVERIFY(waitUntil([&] { return pasted.count() > before && !paste->isBusy(); }));
            }
            const QString site = window.siteStore()->record().siteName;
            const QString page = FormMemory::pageOf(server.url("/post.php"));
            waitUntil([&] { return window.formMemory()->fieldsOf(site, page).size() == int(std::size(lessons)); });
            QCOMPARE(window.formMemory()->fieldsOf(site, page).size(), int(std::size(lessons)));
            texts << window.siteStore()->record().userName << window.siteStore()->record().password
                  << clause(window, 1)->text() << clause(window, 2)->text();
        }
        for (const QString& name : QDir(data.path()).entryList({"history.sqlite*"}))
            for (const QString& text : texts)
                QVERIFY2(!data.readBytes(name).contains(text.toUtf8()), qPrintable(name + ": " + text));

        TFrmMain window(data.path());
        window.resize(1400, 900);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TWebbrowser* browser = window.pageControl()->CurBrowser();
        QVERIFY(loadForm(browser, server.url("/post.php?step=2")));
        window.findChild<QLineEdit*>("EdtSiteArtID")->setText(QStringLiteral("ID-42"));
        QApplication::clipboard()->setText(QStringLiteral("kept on the clipboard"));
        QLineEdit* outside = clause(window, 4);
        outside->setFocus();
        QTRY_VERIFY(outside->hasFocus());
        QTest::keyClick(outside, Qt::Key_F9);

        const QString paragraph = window.findChild<QPlainTextEdit*>(QStringLiteral("MemParagraph1"))->toPlainText();
        const struct {
            const char* value;
            QString expected;
        } filled[] = {
            {"document.getElementById('user').value", window.siteStore()->record().userName},
            {"document.getElementsByName('pw')[0].value", window.siteStore()->record().password},
            {"document.getElementsByName('id')[0].value", QStringLiteral("ID-42")},
            {"document.getElementById('subject').value", clause(window, 1)->text()},
            {"frames[0].document.body.innerText", clause(window, 2)->text()},
            {"document.getElementsByName('body')[0].value", QString(paragraph).replace("\r\n", "\n")},
        };
        PasteText* paste = window.findChild<HotkeyDispatcher*>()->pasteText();
        waitUntil([&] { return !paste->isBusy() && runScript(browser, filled[5].value) == filled[5].expected; });
        for (const auto& field : filled)
            QCOMPARE(runScript(browser, field.value).toString(), field.expected);
        QVERIFY(!paste->isBusy());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept on the clipboard"));
        QVERIFY(!runScript(browser, "!!window.submitted").toBool());
        const QString hint = window.findChild<QLabel*>("LblHint")->text();
        QVERIFY2(hint.contains(QStringLiteral("短句3")) && hint.contains("#extra"), qPrintable(hint));
    }
};

QTEST_MAIN(TestMainHotkeys)
#include "tst_mainhotkeys.moc"
