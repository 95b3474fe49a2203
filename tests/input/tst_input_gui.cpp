#include "FormFill.h"
#include "HotkeyDispatcher.h"
#include "PasteText.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>
#include <memory>

namespace {

const char kPage[] = R"(<!doctype html><html><head><meta charset="utf-8"></head><body>
<input id="field" type="text" style="width:300px"><br>
<textarea id="area" rows="5" cols="40"></textarea><br>
<input id="other" type="text">
</body></html>)";

// A form whose pages read the clipboard late and more than once, as slow
// pages and rich-text editors do: a field whose paste handler reads the text
// and then keeps the page busy before the paste's own read, an editor whose
// handler keeps it busy before it reads, a plain text area, and the editor
// in a frame of the page's origin. Each field notes every text it was given.
const char kFormPage[] = R"(<!doctype html><html><head><meta charset="utf-8"></head><body>
<input id="slow"> <div id="editor" contenteditable="true">old</div> <textarea id="area">old</textarea>
<iframe id="frame" srcdoc="<body>old<script>document.designMode = 'on'</script></body>"></iframe>
<script>
function busy(ms) { var start = performance.now(); while (performance.now() - start < ms) {} }
window.got = {slow: [], editor: [], area: [], frame: []};
document.getElementById('slow').addEventListener('paste', function (e) {
  got.slow.push(e.clipboardData.getData('text/plain')); busy(150); });
document.getElementById('editor').addEventListener('paste', function (e) {
  busy(150); got.editor.push(e.clipboardData.getData('text/plain')); });
function field(id) {
  return id === 'frame' ? document.getElementById('frame').contentDocument.body : document.getElementById(id);
}
['slow', 'editor', 'area'].forEach(function (id) {
  field(id).addEventListener('input', function () { got[id].push(field(id).value || field(id).innerText); });
});
window.focusField = function (id) {
  var el = field(id), win = el.ownerDocument.defaultView;
  win.focus(); el.focus();
  if (el.select) { el.select(); } else {
    var range = el.ownerDocument.createRange(); range.selectNodeContents(el);
    win.getSelection().removeAllRanges(); win.getSelection().addRange(range);
  }
  if (id === 'frame' && !window.frameWatched) {
    window.frameWatched = true;
    el.ownerDocument.addEventListener('input', function () { got.frame.push(field('frame').innerText); });
  }
  return el.ownerDocument.activeElement === el;
};
</script></body></html>)";

const QString kUserName = QString::fromUtf8("user名");
const QString kPassword = "p@ss w0rd!";
const QString kIdentifier = QString::fromUtf8("ID-42/文章");
const QString kClause5 = QString::fromUtf8("短句五");
const QString kParagraph1 = QString::fromUtf8("第一行\r\nline two\r\nthird");
const QString kParagraph1InPage = QString::fromUtf8("第一行\nline two\nthird");
const QString kClipboardBefore = "clipboard before";

// Fixed texts, as the main window would read them from its fields and records.
QString textFor(HotkeyTarget target)
{
    switch (target.kind) {
    case HotkeyTarget::Kind::UserName: return kUserName;
    case HotkeyTarget::Kind::Password: return kPassword;
    case HotkeyTarget::Kind::SiteArticleId: return kIdentifier;
    case HotkeyTarget::Kind::Paragraph: return target.number == 1 ? kParagraph1 : QString();
    case HotkeyTarget::Kind::Clause:
        return target.number == 5 ? kClause5 : QStringLiteral("clause %1").arg(target.number);
    }
    return QString();
}

QVariant evalJs(QWebEnginePage* page, const QString& script)
{
    // Shared with the callback, which may come after a timed-out wait.
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    page->runJavaScript(script, [result](const QVariant& value) { *result = {true, value}; });
    if (!QTest::qWaitFor([&] { return result->first; }, 5000))
        qWarning("script gave no answer in time: %s", qPrintable(script));
    return result->second;
}

QImage testImage()
{
    QImage image(16, 9, QImage::Format_RGB32);
    image.fill(QColor(20, 120, 220));
    image.setPixelColor(4, 4, Qt::yellow);
    return image;
}

}  // namespace

class TestInputGui : public QObject {
    Q_OBJECT
private:
    QWidget m_window;
    QLineEdit* m_outside = nullptr;
    QWebEngineView* m_view = nullptr;
    HotkeyDispatcher m_dispatcher;
    QStringList m_triggered;

    QWebEnginePage* page() const { return m_view->page(); }
    PasteText* paste() const { return m_dispatcher.pasteText(); }
    QString value(const QString& id)
    {
        return evalJs(page(), QString("document.getElementById('%1').value").arg(id)).toString();
    }
    QString activeId() { return evalJs(page(), "document.activeElement ? document.activeElement.id : ''").toString(); }

    // The caret in an emptied field of the page, the keyboard focus in the view.
    bool focusPageField(const QString& id)
    {
        m_window.activateWindow();
        m_view->setFocus();
        if (!QTest::qWaitForWindowActive(&m_window))
            return false;
        evalJs(page(), QString("var e = document.getElementById('%1'); e.value = ''; e.focus();").arg(id));
        return QTest::qWaitFor([&] { return activeId() == id && m_view->focusProxy()->hasFocus(); }, 5000);
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(m_view->focusProxy(), key, modifiers);
    }
    bool pasteEnded()
    {
        return QTest::qWaitFor([&] { return !paste()->isBusy(); }, 5000);
    }

private slots:
    void initTestCase()
    {
        auto* layout = new QVBoxLayout(&m_window);
        m_outside = new QLineEdit;
        m_view = new QWebEngineView;
        layout->addWidget(m_outside);
        layout->addWidget(m_view);
        // Window shortcuts on keys the page must keep.
        for (const char* keys : {"Ctrl+B", "Delete", "Left"}) {
            auto* action = new QAction(&m_window);
            action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
            connect(action, &QAction::triggered, this, [this, keys] { m_triggered << keys; });
            m_window.addAction(action);
        }
        m_window.resize(700, 500);
        m_window.show();
        QSignalSpy loaded(m_view, &QWebEngineView::loadFinished);
        m_view->setHtml(QString::fromUtf8(kPage));
        QVERIFY(loaded.wait(30000));
        QVERIFY(loaded.first().first().toBool());

        m_dispatcher.setCurrentBrowser([this] { return m_view; });
        m_dispatcher.setTextFor(textFor);
        m_dispatcher.attach();
    }

    void init()
    {
        m_triggered.clear();
        QGuiApplication::clipboard()->setText(kClipboardBefore);
    }

    void hotkeysPutTheirTextsIntoThePage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("fieldId");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Ctrl+U") << int(Qt::Key_U) << "field" << kUserName;
        QTest::newRow("Ctrl+W") << int(Qt::Key_W) << "field" << kPassword;
        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << "field" << kIdentifier;
        QTest::newRow("Ctrl+E") << int(Qt::Key_E) << "field" << kClause5;
        QTest::newRow("Ctrl+8 lines") << int(Qt::Key_8) << "area" << kParagraph1InPage;
    }
    void hotkeysPutTheirTextsIntoThePage()
    {
        QFETCH(int, key);
        QFETCH(QString, fieldId);
        QFETCH(QString, expected);
        QVERIFY(focusPageField(fieldId));
        press(Qt::Key(key));
        QTRY_COMPARE(value(fieldId), expected);
        QVERIFY(pasteEnded());
        QCOMPARE(QGuiApplication::clipboard()->text(), kClipboardBefore);
        QCOMPARE(activeId(), fieldId);
    }

    void unboundKeysPasteNothing()
    {
        QVERIFY(focusPageField("field"));
        press(Qt::Key_5);
        QVERIFY(!paste()->isBusy());
        press(Qt::Key_5, Qt::ControlModifier | Qt::KeypadModifier);
        QVERIFY(!paste()->isBusy());
        QCOMPARE(QGuiApplication::clipboard()->text(), kClipboardBefore);
        // A key typed afterwards lands alone: nothing was pasted before it.
        QTest::keyClicks(m_view->focusProxy(), "x");
        QTRY_VERIFY(value("field").endsWith("x"));
        QVERIFY(!value("field").contains("clause"));
    }

    void clipboardImageSurvivesAPaste()
    {
        const QImage image = testImage();
        QGuiApplication::clipboard()->setImage(image);
        QVERIFY(focusPageField("field"));
        press(Qt::Key_W);
        QTRY_COMPARE(value("field"), kPassword);
        QVERIFY(pasteEnded());
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), image);
    }

    void twoQuickHotkeysPasteBothInOrder()
    {
        QVERIFY(focusPageField("field"));
        press(Qt::Key_U);
        press(Qt::Key_W);
        QCOMPARE(paste()->pendingCount(), 1);
        QTRY_COMPARE(value("field"), kUserName + kPassword);
        QVERIFY(pasteEnded());
        QCOMPARE(QGuiApplication::clipboard()->text(), kClipboardBefore);
    }

    void editingKeysStayInThePage()
    {
        QVERIFY(focusPageField("field"));
        QTest::keyClicks(m_view->focusProxy(), "abc");
        QTRY_COMPARE(value("field"), QString("abc"));
        QWindow* window = m_window.windowHandle();
        QTest::keyClick(window, Qt::Key_Left);
        QTest::keyClick(window, Qt::Key_Left);
        QTest::keyClick(window, Qt::Key_Delete);
        QTRY_COMPARE(value("field"), QString("ac"));
        QTest::keyClick(window, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_Tab);
        QTRY_COMPARE(activeId(), QString("area"));
        QTest::keyClick(window, Qt::Key_Tab);
        QTRY_COMPARE(activeId(), QString("other"));
        QVERIFY(m_view->focusProxy()->hasFocus());
        QVERIFY2(m_triggered.isEmpty(), qPrintable(m_triggered.join(", ")));
    }

    void hotkeysTypedLikeAUser()
    {
        const QString xdotool = QStandardPaths::findExecutable("xdotool");
        if (xdotool.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
            QSKIP("needs xdotool and an X display");
        QVERIFY(focusPageField("field"));
        QVERIFY(focusPageField("area"));
        // Click into the page's first field, as a user would.
        const QVariantList box = evalJs(page(),
                                        "var r = document.getElementById('field').getBoundingClientRect();"
                                        "[r.left + 5, r.top + r.height / 2]")
                                     .toList();
        QCOMPARE(box.size(), 2);
        const QPoint inField = m_view->mapToGlobal(QPoint(box[0].toInt(), box[1].toInt()));
        QCOMPARE(QProcess::execute(
                     xdotool, {"mousemove", QString::number(inField.x()), QString::number(inField.y()), "click", "1"}),
                 0);
        QTRY_COMPARE(activeId(), QString("field"));
        QCOMPARE(QProcess::execute(xdotool, {"key", "ctrl+u"}), 0);
        QTRY_COMPARE(value("field"), kUserName);
        QVERIFY(pasteEnded());
        QCOMPARE(QProcess::execute(xdotool, {"key", "ctrl+shift+e", "ctrl+5", "ctrl+KP_5"}), 0);
        QTRY_COMPARE(value("field"), kUserName + kClause5);
        QVERIFY(pasteEnded());
        QCOMPARE(QGuiApplication::clipboard()->text(), kClipboardBefore);
        QCOMPARE(value("field"), kUserName + kClause5);
    }

    void hotkeysFillWidgetFields()
    {
        QWidget window;
        auto* clauseField = new QLineEdit(&window);
        auto* paragraphField = new QPlainTextEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(clauseField);
        layout->addWidget(paragraphField);
        window.show();
        window.activateWindow();
        clauseField->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.windowHandle(), Qt::Key_E, Qt::ControlModifier);
        QTRY_COMPARE(clauseField->text(), kClause5);
        QVERIFY(pasteEnded());
        paragraphField->setFocus();
        QTest::keyClick(window.windowHandle(), Qt::Key_8, Qt::ControlModifier);
        QTRY_COMPARE(paragraphField->toPlainText(), kParagraph1InPage);
        QVERIFY(pasteEnded());
        QCOMPARE(QGuiApplication::clipboard()->text(), kClipboardBefore);
    }

    // F9's road in a real page: every field gets exactly its own text, even
    // where the page reads late or twice; a hotkey pressed during the fill
    // pastes after it, where the fill left the focus; the clipboard comes back
    // with every format.
    void formFillGivesEachFieldItsOwnText()
    {
        QSignalSpy loaded(m_view, &QWebEngineView::loadFinished);
        m_view->setHtml(QString::fromUtf8(kFormPage), QUrl("http://127.0.0.1/form"));
        QVERIFY(loaded.wait(30000));
        QVERIFY(QTest::qWaitFor([&] { return evalJs(page(), "field('frame').isContentEditable").toBool(); }, 5000));
        auto* before = new QMimeData;
        before->setText(kClipboardBefore);
        before->setHtml("<b>" + kClipboardBefore + "</b>");
        QGuiApplication::clipboard()->setMimeData(before);
        m_window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_window));
        m_view->setFocus();

        const QStringList ids{"slow", "editor", "area", "frame"};
        QList<FormFill::Field> fields;
        for (int i = 0; i < ids.size(); ++i)
            fields << FormFill::Field{ids.at(i), HotkeyTarget::clause(i + 1)};
        FormFill fill(*paste());
        fill.setTextFor([](HotkeyTarget target) { return QStringLiteral("第%1栏 text").arg(target.number); });
        bool pressed = false;
        connect(paste(), &PasteText::finished, &fill, [&] {
            if (!pressed && fill.isRunning()) {
                pressed = true;
                press(Qt::Key_U);
            }
        });
        QSignalSpy finished(&fill, &FormFill::finished);
        QVERIFY(fill.start(fields, [this](const QString& id, std::function<void(FormFill::Focus)> done) {
            page()->runJavaScript(QStringLiteral("focusField('%1')").arg(id), [done](const QVariant& focused) {
                done(focused.toBool() ? FormFill::Focus::TextField : FormFill::Focus::Missing);
            });
        }));
        QVERIFY(finished.wait(20000));
        QVERIFY(pressed);
        QVERIFY(pasteEnded());
        QCOMPARE(finished.first().first().value<FormFill::Outcome>().filled, ids.size());
        const QVariantMap got = evalJs(page(), "got").toMap();
        for (int i = 0; i < ids.size(); ++i) {
            const QString own = QStringLiteral("第%1栏 text").arg(i + 1);
            QStringList expected{own};
            if (ids.at(i) == "slow" || ids.at(i) == "editor")
                expected.prepend(own);  // its handler's read, then the field's
            if (i == ids.size() - 1)
                expected << own + kUserName;
            QCOMPARE(got.value(ids.at(i)).toStringList(), expected);
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), kClipboardBefore);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->html(), "<b>" + kClipboardBefore + "</b>");

        m_view->setHtml(QString::fromUtf8(kPage));
        QVERIFY(loaded.wait(30000));
    }

    void hotkeysWorkInAModalDialog()
    {
        QDialog dialog(&m_window);
        auto* userField = new QLineEdit(&dialog);
        auto* ok = new QPushButton("OK", &dialog);
        ok->setDefault(true);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(userField);
        layout->addWidget(ok);
        dialog.setModal(true);
        dialog.show();
        dialog.activateWindow();
        userField->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(dialog.windowHandle(), Qt::Key_W, Qt::ControlModifier);
        QTRY_COMPARE(userField->text(), kPassword);
        QVERIFY(pasteEnded());
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(QGuiApplication::clipboard()->text(), kClipboardBefore);
    }
};

QTEST_MAIN(TestInputGui)
#include "tst_input_gui.moc"
