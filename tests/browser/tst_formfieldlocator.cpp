// The form field locator on the page shapes it tells apart: a unique id, ids
// used twice (the name within the form then), no id or name (a short path),
// and editors in frames of the page's own origin (a design-mode document, a
// contenteditable element).
#include <QJsonDocument>
#include <QTest>

#include <memory>

#include "BrowserTestSupport.h"
#include "FormFieldLocator.h"
#include "TestHttpServer.h"

namespace {

const char FormPage[] = R"(<!doctype html><html><body>
<input id="unique" value="old">
<form name="post"><input id="dup" name="title" value="old"></form>
<form><input id="dup" name="title" value="old"></form>
<div id="box"><textarea>old</textarea><textarea>old</textarea></div>
<button id="button">send</button>
<iframe id="rich" src="/rich"></iframe>
<iframe src="/note"></iframe>
</body></html>)";

const char RichPage[] = "<html><body>old<script>document.designMode = 'on';</script></body></html>";
const char NotePage[] = "<html><body><div contenteditable=\"true\">old</div></body></html>";

QString locate(QWebEnginePage* page)
{
    QString locator;
    bool answered = false;
    FormFieldLocator::locateFocused(page, [&](const QString& found) {
        locator = found;
        answered = true;
    });
    (void)QTest::qWaitFor([&] { return answered; }, PageWait);
    return locator;
}

bool focusAndSelect(QWebEnginePage* page, const QString& locator)
{
    bool found = false;
    bool answered = false;
    FormFieldLocator::focusAndSelect(page, locator, [&](FormFieldLocator::FieldKind kind) {
        found = kind != FormFieldLocator::FieldKind::Missing;
        answered = true;
    });
    (void)QTest::qWaitFor([&] { return answered; }, PageWait);
    return found;
}

QJsonDocument json(const QString& text) { return QJsonDocument::fromJson(text.toUtf8()); }

}  // namespace

class TestFormFieldLocator : public QObject {
    Q_OBJECT
private slots:
    void locatesFocusedFieldAndFindsItAgain();
};

void TestFormFieldLocator::locatesFocusedFieldAndFindsItAgain()
{
    TestHttpServer server;
    QVERIFY(server.isListening());
    server.addPage("/form", FormPage);
    server.addPage("/rich", RichPage);
    server.addPage("/note", NotePage);
    TWebbrowser browser(nullptr);
    browser.resize(800, 600);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));  // without a window manager: mapped first
    browser.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&browser));
    browser.setFocus();
    QVERIFY(loadAndWait(&browser, server.url("/form").toString()));
    QTRY_COMPARE_WITH_TIMEOUT(runScript(&browser, "frames.length && frames[0].document.designMode").toString(),
                              QString("on"), PageWait);

    // Each field: its element and frame in the page's own terms, and the locator it gets.
    const struct {
        const char* element;
        const char* frame;
        const char* locator;
    } fields[] = {
        {"document.getElementById('unique')", "null", R"j([{"id":"unique"}])j"},
        {"document.forms[0].elements[0]", "null", R"j([{"form":{"name":"post"},"name":"title","tag":"input","n":0}])j"},
        {"document.forms[1].elements[0]", "null", R"j([{"form":{"index":1},"name":"title","tag":"input","n":0}])j"},
        {"document.querySelectorAll('#box textarea')[1]", "null", R"j([{"path":"#box>textarea:nth-of-type(2)"}])j"},
        {"document.getElementById('rich').contentDocument.body", "document.getElementById('rich')",
         R"j([{"id":"rich"},{"path":"body"}])j"},
        {"document.querySelectorAll('iframe')[1].contentDocument.querySelector('div')",
         "document.querySelectorAll('iframe')[1]",
         R"j([{"path":"body>iframe:nth-of-type(2)"},{"path":"body>div:nth-of-type(1)"}])j"},
    };
    for (const auto& field : fields) {
        const QString element = QString::fromLatin1(field.element);
        const QString frame = QString::fromLatin1(field.frame);
        runScript(&browser,
                  QStringLiteral("var f = %1; if (f) f.contentWindow.focus(); %2.focus();").arg(frame, element));
        const QString locator = locate(browser.page());
        QVERIFY2(json(locator) == json(QString::fromLatin1(field.locator)), qPrintable(locator));

        // From elsewhere in the page, the locator brings the focus back with the content selected.
        runScript(&browser, "document.getElementById('button').focus()");
        QVERIFY2(focusAndSelect(browser.page(), locator), qPrintable(locator));
        const QString selected = runScript(&browser,
                                           QStringLiteral(R"((function () {
                var f = %1, e = %2, doc = e.ownerDocument;
                if ((f && document.activeElement !== f) || doc.activeElement !== e) return 'not focused';
                if (e.tagName === 'INPUT' || e.tagName === 'TEXTAREA') return e.value.substring(e.selectionStart, e.selectionEnd);
                return doc.getSelection().toString();
            })())")
                                               .arg(frame, element))
                                     .toString();
        QCOMPARE(selected, QString("old"));
    }

    // A button is no field; a field the page no longer has is not found.
    runScript(&browser, "document.getElementById('button').focus()");
    QCOMPARE(locate(browser.page()), QString());
    QVERIFY(!focusAndSelect(browser.page(), R"j([{"id":"gone"}])j"));
    QVERIFY(!focusAndSelect(browser.page(), R"j([{"id":"rich"},{"path":"body>div"}])j"));
    QVERIFY(!focusAndSelect(browser.page(), "not json"));
}

int runFormFieldLocatorTests(int argc, char** argv)
{
    TestFormFieldLocator tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_formfieldlocator.moc"
