// The form field locator on the page shapes it tells apart: a unique id, ids
// used twice (the name within the form then), no id or name (the place among
// the fields of its shape), editors in frames of the page's own origin (a
// design-mode document, a contenteditable element), locators of earlier
// versions; pages that make their ids anew at each load, and a block editor
// whose paragraph appears on a click on its placeholder.
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

// Ids, names and state classes made anew at each load, as editors and frameworks make them.
const char ChangingPage[] = R"(<!doctype html><html><body>
<form data-id="form">
<input data-id="first" placeholder="First name" value="old" data-which="first">
<input data-id="last" placeholder="Last name" value="old" data-which="last">
<input type="email" data-name="email" placeholder="Email" value="old" data-which="email">
<textarea data-id="message" aria-label="Message" data-which="message">old</textarea>
</form>
<div data-id="panel">
<div class="ck ck-content ck-editor__editable ck-rounded-corners ck-editor__editable_inline ck-blurred"
 contenteditable="true" role="textbox" aria-label="Rich Text Editor. Editing area: main" data-which="ck"><p>old</p></div>
<div class="ql-container"><div class="ql-editor" contenteditable="true" data-placeholder="Compose an epic..."
 data-which="quill"><p>old</p></div></div>
</div>
<button id="button">send</button>
<script>
function hex(length) {
  var text = '';
  while (text.length < length) text += Math.floor(Math.random() * 16).toString(16);
  return text.replace(/\d/g, '').length > length - 2 ? hex(length) : text;  // a hash has digits
}
var makers = [function () { return hex(8) + '-' + hex(4) + '-4' + hex(3) + '-a' + hex(3) + '-' + hex(12); },
              function () { return 'ember' + (1000 + Math.floor(Math.random() * 9000)); },
              function () { return 'field-' + hex(10); }];
document.querySelectorAll('[data-id]').forEach(function (el, i) { el.id = el.dataset.id + '-' + makers[i % 3](); });
document.querySelectorAll('[data-name]').forEach(function (el) { el.name = el.dataset.name + '_' + hex(8); });
document.querySelectorAll('[contenteditable]').forEach(function (el) {
  el.addEventListener('focus', function () { el.classList.replace('ck-blurred', 'ck-focused'); el.classList.add('is-focused'); });
});
</script>
</body></html>)";

// A block editor as WordPress's: a title, and a placeholder that turns into
// a paragraph (a new element with a new id) a moment after a focus or click.
const char EditorPage[] = R"(<!doctype html><html><head><style>h1 { min-height: 1.2em; }</style></head><body>
<div id="editor" class="block-editor__container"><div class="edit-post-visual-editor">
<h1 contenteditable="true" role="textbox" aria-label="Add title"
 class="wp-block wp-block-post-title block-editor-block-list__block editor-post-title editor-post-title__input rich-text"></h1>
<div class="is-root-container block-editor-block-list__layout" data-id="blocks">
<div class="block-editor-default-block-appender"><p tabindex="0" role="button" aria-label="Add default block"
 class="block-editor-default-block-appender__content">Type / to choose a block</p></div>
</div></div></div>
<button id="button">save</button>
<script>
function uuid() {
  return 'xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx'.replace(/[xy]/g, function () { return Math.floor(Math.random() * 16).toString(16); });
}
document.querySelector('[data-id=blocks]').id = 'block-list-' + uuid();
var title = document.querySelector('h1');
title.addEventListener('focus', function () { title.classList.add('is-selected'); });
title.addEventListener('blur', function () { title.classList.remove('is-selected'); });
var appender = document.querySelector('.block-editor-default-block-appender__content');
window.appended = false;
function append() {
  if (window.appended) return;
  window.appended = true;
  setTimeout(function () {
    var p = document.createElement('p');
    p.id = 'block-' + uuid();
    p.contentEditable = 'true';
    p.setAttribute('role', 'document');
    p.className = 'block-editor-rich-text__editable block-editor-block-list__block wp-block is-selected wp-block-paragraph rich-text';
    p.dataset.type = 'core/paragraph';
    function label() {
      p.setAttribute('aria-label', p.textContent ? 'Paragraph block' : 'Empty block; start writing or type forward slash to choose a block');
    }
    label();
    p.addEventListener('input', label);
    appender.parentNode.replaceWith(p);
    p.focus();
  }, 100);
}
appender.addEventListener('focus', append);
appender.addEventListener('click', append);
</script>
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

using FieldKind = FormFieldLocator::FieldKind;

FieldKind focusAndSelect(QWebEnginePage* page, const QString& locator)
{
    FieldKind found = FieldKind::Missing;
    bool answered = false;
    FormFieldLocator::focusAndSelect(page, locator, [&](FieldKind kind) {
        found = kind;
        answered = true;
    });
    (void)QTest::qWaitFor([&] { return answered; }, PageWait);
    return found;
}

QList<bool> presentFields(QWebEnginePage* page, const QStringList& locators)
{
    QList<bool> present{true};  // an answer replaces it
    bool answered = false;
    FormFieldLocator::presentFields(page, locators, [&](const QList<bool>& answer) {
        present = answer;
        answered = true;
    });
    (void)QTest::qWaitFor([&] { return answered; }, PageWait);
    return present;
}

// The focused element of the page (no frames) by its data-which, and its selected text.
QString focusedAndSelected(TWebbrowser* browser)
{
    return runScript(browser, R"((function () {
        var e = document.activeElement;
        // An email input tells no selection range: the document's selection holds it.
        var text = typeof e.selectionStart === 'number' ? e.value.substring(e.selectionStart, e.selectionEnd)
                                                        : document.getSelection().toString();
        return (e.dataset.which || e.dataset.type || e.tagName.toLowerCase()) + ':' + text;
    })())")
        .toString();
}

// A click of the user's own mouse in the middle of `element`.
void clickOn(TWebbrowser* browser, const QString& element)
{
    const QVariantList centre = runScript(browser,
                                          QStringLiteral("(function () { var r = %1.getBoundingClientRect();"
                                                         " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                                              .arg(element))
                                    .toList();
    QTest::mouseClick(browser->focusProxy(), Qt::LeftButton, {},
                      QPoint(centre.value(0).toInt(), centre.value(1).toInt()));
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

    // Each field: its element and frame in the page's own terms, the locator it
    // gets, and the one an earlier version gave it (still found).
    const struct {
        const char* element;
        const char* frame;
        const char* locator;
        const char* earlier;
    } fields[] = {
        {"document.getElementById('unique')", "null", R"j([{"id":"unique"}])j", nullptr},
        {"document.forms[0].elements[0]", "null", R"j([{"form":{"name":"post"},"name":"title","tag":"input","n":0}])j",
         nullptr},
        {"document.forms[1].elements[0]", "null", R"j([{"form":{"index":1},"name":"title","tag":"input","n":0}])j",
         nullptr},
        {"document.querySelectorAll('#box textarea')[1]", "null",
         R"j([{"editable":1,"within":{"id":"box"},"tag":"textarea"}])j",
         R"j([{"path":"#box>textarea:nth-of-type(2)"}])j"},
        {"document.getElementById('rich').contentDocument.body", "document.getElementById('rich')",
         R"j([{"id":"rich"},{"path":"body"}])j", nullptr},
        {"document.querySelectorAll('iframe')[1].contentDocument.querySelector('div')",
         "document.querySelectorAll('iframe')[1]", R"j([{"element":1,"tag":"iframe"},{"editable":0,"tag":"div"}])j",
         R"j([{"path":"body>iframe:nth-of-type(2)"},{"path":"body>div:nth-of-type(1)"}])j"},
    };
    QStringList formLocators;
    for (const auto& field : fields) {
        const QString element = QString::fromLatin1(field.element);
        const QString frame = QString::fromLatin1(field.frame);
        runScript(&browser,
                  QStringLiteral("var f = %1; if (f) f.contentWindow.focus(); %2.focus();").arg(frame, element));
        const QString locator = locate(browser.page());
        QVERIFY2(json(locator) == json(QString::fromLatin1(field.locator)), qPrintable(locator));
        formLocators << locator;

        // From elsewhere in the page, the locator brings the focus back with the content selected.
        QStringList locators{locator};
        if (field.earlier)
            locators << QString::fromLatin1(field.earlier);
        for (const QString& known : std::as_const(locators)) {
            runScript(&browser, "document.getElementById('button').focus()");
            QVERIFY2(focusAndSelect(browser.page(), known) != FieldKind::Missing, qPrintable(known));
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
    }

    // A button is no field; a field the page no longer has is not found.
    runScript(&browser, "document.getElementById('button').focus()");
    QCOMPARE(locate(browser.page()), QString());
    QCOMPARE(focusAndSelect(browser.page(), R"j([{"id":"gone"}])j"), FieldKind::Missing);
    QCOMPARE(focusAndSelect(browser.page(), R"j([{"id":"rich"},{"path":"body>div"}])j"), FieldKind::Missing);
    QCOMPARE(focusAndSelect(browser.page(), "not json"), FieldKind::Missing);
    QCOMPARE(presentFields(browser.page(), formLocators), QList<bool>(formLocators.size(), true));
    QCOMPARE(presentFields(browser.page(), {R"j([{"id":"gone"}])j", formLocators.first()}), (QList<bool>{false, true}));
    QCOMPARE(presentFields(browser.page(), {}), QList<bool>());
    QCOMPARE(presentFields(nullptr, formLocators.mid(0, 2)), (QList<bool>{false, false}));

    // A page that makes its ids and names anew at each load: the fields are
    // learnt by what they are and where they stand, and found on the next load.
    server.addPage("/changing", ChangingPage);
    QVERIFY(loadAndWait(&browser, server.url("/changing").toString()));
    const struct {
        const char* which;
        FieldKind kind;
        const char* locator;
    } changing[] = {
        {"first", FieldKind::SingleLine,
         R"j([{"editable":0,"within":{"form":{"index":0}},"tag":"input","type":"text","hint":"First name"}])j"},
        {"last", FieldKind::SingleLine,
         R"j([{"editable":1,"within":{"form":{"index":0}},"tag":"input","type":"text","hint":"Last name"}])j"},
        {"email", FieldKind::SingleLine,
         R"j([{"editable":0,"within":{"form":{"index":0}},"tag":"input","type":"email","hint":"Email"}])j"},
        {"message", FieldKind::MultiLine,
         R"j([{"editable":0,"within":{"form":{"index":0}},"tag":"textarea","label":"Message"}])j"},
        {"ck", FieldKind::MultiLine,
         R"j([{"editable":0,"tag":"div","role":"textbox","class":["ck","ck-content","ck-editor__editable",
              "ck-rounded-corners","ck-editor__editable_inline"],"label":"Rich Text Editor. Editing area: main"}])j"},
        {"quill", FieldKind::MultiLine,
         R"j([{"editable":0,"tag":"div","class":["ql-editor"],"hint":"Compose an epic..."}])j"},
    };
    QStringList learnt;
    for (const auto& field : changing) {
        runScript(&browser, QStringLiteral("document.querySelector('[data-which=%1]').focus()").arg(field.which));
        learnt << locate(browser.page());
        QVERIFY2(json(learnt.last()) == json(QString::fromLatin1(field.locator)), qPrintable(learnt.last()));
    }
    const QString firstLoadIds =
        runScript(&browser, "document.forms[0].id + document.forms[0].elements[2].name").toString();
    QVERIFY(loadAndWait(&browser, server.url("/changing").toString()));
    QVERIFY(runScript(&browser, "document.forms[0].id + document.forms[0].elements[2].name").toString()
            != firstLoadIds);
    QCOMPARE(presentFields(browser.page(), learnt), QList<bool>(learnt.size(), true));
    for (int i = 0; i < learnt.size(); ++i) {
        runScript(&browser, "document.getElementById('button').focus()");
        QCOMPARE(focusAndSelect(browser.page(), learnt.at(i)), changing[i].kind);
        QCOMPARE(focusedAndSelected(&browser), QString::fromLatin1(changing[i].which) + ":old");
    }

    // A block editor: the paragraph appears on the user's click on its
    // placeholder (noted from the document's start), and is learnt with it;
    // the title is learnt from a click into it.
    server.addPage("/editor", EditorPage);
    QVERIFY(loadAndWait(&browser, server.url("/editor").toString()));
    clickOn(&browser, "document.querySelector('[aria-label=\"Add default block\"]')");
    QTRY_COMPARE_WITH_TIMEOUT(runScript(&browser, "document.activeElement.dataset.type || ''").toString(),
                              QString("core/paragraph"), PageWait);
    runScript(&browser, "document.execCommand('insertText', false, 'Hello')");  // its label changes with the text
    const QString paragraph = locate(browser.page());
    QVERIFY2(json(paragraph) == json(R"j([{"editable":0,"within":{"id":"editor"},"tag":"p","role":"document",
        "class":["block-editor-rich-text__editable","block-editor-block-list__block","wp-block","wp-block-paragraph",
                 "rich-text"],
        "label":"Paragraph block",
        "placeholder":{"element":0,"within":{"id":"editor"},"tag":"p","role":"button",
                       "class":["block-editor-default-block-appender__content"],"label":"Add default block"}}])j"),
             qPrintable(paragraph));
    clickOn(&browser, "document.querySelector('h1')");
    QTRY_COMPARE_WITH_TIMEOUT(runScript(&browser, "document.activeElement.tagName").toString(), QString("H1"),
                              PageWait);
    const QString title = locate(browser.page());
    QVERIFY2(json(title) == json(R"j([{"editable":0,"within":{"id":"editor"},"tag":"h1","role":"textbox",
        "class":["wp-block","wp-block-post-title","block-editor-block-list__block","editor-post-title",
                 "editor-post-title__input","rich-text"],"label":"Add title"}])j"),
             qPrintable(title));

    // A fresh editor: both are there to fill (the paragraph by its placeholder),
    // and asking so touches nothing.
    QVERIFY(loadAndWait(&browser, server.url("/editor").toString()));
    runScript(&browser, "document.getElementById('button').focus()");
    QCOMPARE(presentFields(browser.page(), {title, paragraph, learnt.first(), "not json"}),
             (QList<bool>{true, true, false, false}));
    QCOMPARE(runScript(&browser, "document.activeElement.id + (window.appended ? ' appended' : '')").toString(),
             QString("button"));
    QCOMPARE(focusAndSelect(browser.page(), title), FieldKind::MultiLine);
    QCOMPARE(focusedAndSelected(&browser), QString("h1:"));
    QCOMPARE(focusAndSelect(browser.page(), paragraph), FieldKind::MultiLine);
    QCOMPARE(focusedAndSelected(&browser), QString("core/paragraph:"));
    QCOMPARE(FormFieldLocator::describe(title), QString("Add title"));

    // A press the page's own script makes is not the user's: no placeholder is learnt from it.
    QVERIFY(loadAndWait(&browser, server.url("/editor").toString()));
    runScript(&browser, R"(var a = document.querySelector('[aria-label="Add default block"]');
        a.dispatchEvent(new PointerEvent('pointerdown', {bubbles: true})); a.click();)");
    QTRY_COMPARE_WITH_TIMEOUT(runScript(&browser, "document.activeElement.dataset.type || ''").toString(),
                              QString("core/paragraph"), PageWait);
    const QString unpressed = locate(browser.page());
    QVERIFY2(!unpressed.isEmpty() && !unpressed.contains("placeholder"), qPrintable(unpressed));
}

int runFormFieldLocatorTests(int argc, char** argv)
{
    TestFormFieldLocator tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_formfieldlocator.moc"
