// The continuous round in the program's own window, on local sites whose
// six-field forms are learnt: each post is a real click on the page's button;
// measured from the finished post's page loaded to the next site's form
// filled (the fill's end: every field in, the clipboard the user's again).
// The next site's page loads out of sight while the form before is read, as
// the round does. Prints every site, then median and worst, and "figure
// <name> <value> <unit>" lines. Needs a display (run under xvfb-run) and, as
// root, QTWEBENGINE_DISABLE_SANDBOX=1.

#include "ArticleController.h"
#include "ContinuousRound.h"
#include "FormFieldLocator.h"
#include "FormFill.h"
#include "FormMemory.h"
#include "HotkeyDispatcher.h"
#include "PageTiming.h"
#include "PasteText.h"
#include "SiteStore.h"
#include "TFrmMain.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "TestData.h"
#include "TestHttpServer.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextStream>

namespace {

constexpr int kSites = 12;

// Six fields: three clauses and three paragraphs.
const char* const kFields[] = {"c1", "c2", "c3", "p1", "p2", "p3"};

QByteArray formPath(int n) { return QStringLiteral("/site%1/post").arg(n).toLatin1(); }

QByteArray form(int n)
{
    return htmlPage(QStringLiteral("form %1").arg(n),
                    QStringLiteral("<form method=post action=/site%1/posted>"
                                   "<input id=c1> <input id=c2> <input id=c3>"
                                   "<textarea id=p1></textarea><textarea id=p2></textarea><textarea id=p3></textarea>"
                                   "<button id=go style='width:200px;height:60px'>post</button></form>")
                        .arg(n));
}

bool waitFor(const std::function<bool()>& done) { return runEventLoopUntil(done, 30000); }

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    TestHttpServer server;
    for (int n = 0; n < kSites; ++n) {
        server.addPage(formPath(n), form(n));
        server.addPage(QStringLiteral("/site%1/posted").arg(n).toLatin1(), htmlPage(QStringLiteral("posted")));
    }
    TestDataFolder data(TestDataFolder::WindowsFixture);
    TFrmMain window(data.path());
    window.resize(1400, 900);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        out << "the window did not come up\n";
        return 1;
    }
    for (int i = 1; i <= 3; ++i) {
        window.findChild<QLineEdit*>(QStringLiteral("EdtClause%1").arg(i))->setText(QStringLiteral("短句 %1").arg(i));
        window.findChild<QPlainTextEdit*>(QStringLiteral("MemParagraph%1").arg(i))
            ->setPlainText(QStringLiteral("第 %1 段\nparagraph %1").arg(i));
    }
    SiteStore* sites = window.siteStore();
    for (int n = 0; n < kSites; ++n) {
        if (n < sites->count())
            sites->SelectSite(n);
        else
            sites->record() = TMyURL();
        sites->record().siteName = n < sites->count() ? sites->siteName(n) : QStringLiteral("站点%1").arg(n);
        sites->record().url = server.url(QString::fromLatin1(formPath(n))).toString();
        if (!sites->StoreSite(n < sites->count())) {
            out << "the sites could not be stored\n";
            return 1;
        }
    }

    // The form is learnt once, where the page finds its fields; every site has the same.
    TWebbrowser* browser = window.pageControl()->CurBrowser();
    bool formLoaded = false;
    QObject::connect(browser, &QWebEngineView::loadFinished, &app,
                     [&](bool ok) { formLoaded = ok && browser->url().path() == formPath(0); });
    sites->SelectSite(0);
    if (!waitFor([&] { return formLoaded; })) {
        out << "the first form did not load\n";
        return 1;
    }
    FormMemory* memory = window.formMemory();
    for (int n = 0; n < kSites; ++n) {
        const QString page = FormMemory::pageOf(server.url(QString::fromLatin1(formPath(n))));
        for (int f = 0; f < 6; ++f) {
            runJs(browser->page(), QStringLiteral("document.getElementById('%1').focus()").arg(kFields[f]));
            QString locator;
            FormFieldLocator::locateFocused(browser->page(), [&](const QString& found) { locator = found; });
            waitFor([&] { return !locator.isEmpty(); });
            memory->remember(sites->siteName(n), page,
                             {locator, f < 3 ? FormTarget::clause(f + 1) : FormTarget::paragraph(f - 2), 0}, 0);
        }
    }
    // The round begins on a page loaded afresh, which nobody typed into.
    formLoaded = false;
    browser->reload();
    waitFor([&] { return formLoaded; });

    auto* fill = window.findChild<FormFill*>();
    PasteText* paste = window.findChild<HotkeyDispatcher*>()->pasteText();
    QElapsedTimer clock;
    clock.start();
    qint64 filledAt = -1;
    QObject::connect(fill, &FormFill::finished, &app, [&](const FormFill::Outcome& outcome) {
        if (outcome.filled == 6)
            filledAt = clock.elapsed();
    });
    window.continuousRound()->setOn(true);

    QList<double> times;
    for (int n = 0; n < kSites - 1; ++n) {
        TWebbrowser* shown = window.pageControl()->CurBrowser();
        if (!waitFor([&] { return filledAt >= 0 && !paste->isBusy() && shown->url().path() == formPath(n); })) {
            out << "site " << n << " was not filled: " << window.findChild<QLabel*>("LblHint")->text() << "\n";
            return 1;
        }
        filledAt = -1;
        qint64 postLoadedAt = -1;
        const auto loaded = QObject::connect(shown, &QWebEngineView::loadFinished, &app, [&](bool ok) {
            if (ok && shown->url().path().endsWith(QLatin1String("/posted")))
                postLoadedAt = clock.elapsed();
        });
        const QList<QVariant> centre = runJs(shown->page(),
                                             "var r = document.getElementById('go').getBoundingClientRect();"
                                             "[r.x + r.width / 2, r.y + r.height / 2]")
                                           .toList();
        QTest::mouseClick(shown->focusProxy(), Qt::LeftButton, {},
                          QPoint(centre.value(0).toInt(), centre.value(1).toInt()));
        const bool next = waitFor([&] {
            return postLoadedAt >= 0 && filledAt >= 0
                && window.pageControl()->CurBrowser()->url().path() == formPath(n + 1);
        });
        QObject::disconnect(loaded);
        if (!next) {
            out << "the round did not go on from site " << n << "\n";
            return 1;
        }
        times << double(filledAt - postLoadedAt);
        out << "site " << n + 1 << ": " << times.last() << " ms from the post's page to the form filled\n";
    }
    window.continuousRound()->setOn(false);
    out << "median " << median(times) << " ms, worst " << *std::max_element(times.cbegin(), times.cend()) << " ms\n";
    out << "figure round_next_form_filled_median " << median(times) << " ms\n";
    out << "figure round_next_form_filled_worst " << *std::max_element(times.cbegin(), times.cend()) << " ms\n";
    return 0;
}
