// Times the form fill end to end in a real web page: six fields (user name,
// password, identifier, two clauses, the second in a rich-text editor in a
// frame, one paragraph) are learnt from hotkey pastes into the form memory,
// then F9 fills them, again and again. Each run: from the F9 press to the
// last text in its field (the page notes the time of each field's input
// event on its own clock, matched to ours before each press), and to the
// user's clipboard being back. Prints every run, then median and worst; the
// last lines are "figure <name> <value> <unit>", for scripts.
// Needs a display (run under xvfb-run) and, as root, QTWEBENGINE_DISABLE_SANDBOX=1.

#include "FormFieldLocator.h"
#include "FormFill.h"
#include "FormMemory.h"
#include "GraphicsChoice.h"
#include "PageTiming.h"
#include "HistoryDatabase.h"
#include "HotkeyDispatcher.h"
#include "PasteText.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <functional>
#include <memory>

namespace {

// Every field notes when its text came, on the main page's clock.
const char kPage[] = R"(<!doctype html><html><head><meta charset="utf-8"></head><body>
<form><input id="user"> <input type="password" name="pw"> <input name="id"> <input id="subject"></form>
<iframe id="editor" srcdoc="<body></body>"></iframe>
<textarea name="body" rows="4" cols="40"></textarea>
<script>
window.inputAt = {};
function note(name) { return function () { inputAt[name] = performance.now(); }; }
['user', 'subject'].forEach(function (id) { document.getElementById(id).addEventListener('input', note(id)); });
['pw', 'id', 'body'].forEach(function (n) { document.getElementsByName(n)[0].addEventListener('input', note(n)); });
var editor = document.getElementById('editor');
function editable() {
  editor.contentDocument.designMode = 'on';
  editor.contentDocument.addEventListener('input', note('editor'));
}
if (editor.contentDocument && editor.contentDocument.readyState === 'complete') editable();
editor.addEventListener('load', editable);
window.reset = function () {
  ['user', 'subject'].forEach(function (id) { document.getElementById(id).value = 'old'; });
  ['pw', 'id', 'body'].forEach(function (n) { document.getElementsByName(n)[0].value = 'old'; });
  editor.contentDocument.body.textContent = 'old';
  window.inputAt = {};
};
window.values = function () {
  return [document.getElementById('user').value, document.getElementsByName('pw')[0].value,
          document.getElementsByName('id')[0].value, document.getElementById('subject').value,
          editor.contentDocument.body.innerText, document.getElementsByName('body')[0].value];
};
</script></body></html>)";

struct Lesson {
    const char* focus;  // the field, as the page's script reaches it
    HotkeyTarget target;
    Qt::Key key;
    QString text;
};

const Lesson kLessons[] = {
    {"document.getElementById('user')", HotkeyTarget::userName(), Qt::Key_U, QString::fromUtf8("bench user 名字")},
    {"document.getElementsByName('pw')[0]", HotkeyTarget::password(), Qt::Key_W, "p@ss w0rd!"},
    {"document.getElementsByName('id')[0]", HotkeyTarget::siteArticleId(), Qt::Key_O, "ID-42"},
    {"document.getElementById('subject')", HotkeyTarget::clause(1), Qt::Key_1, QString::fromUtf8("标题 title")},
    {"document.getElementById('editor').contentDocument.body", HotkeyTarget::clause(2), Qt::Key_2,
     QString::fromUtf8("富文本 rich text")},
    {"document.getElementsByName('body')[0]", HotkeyTarget::paragraph(1), Qt::Key_8,
     QString::fromUtf8("第一段\nline two of the paragraph")},
};
const QString kClipboardBefore = "the user's own clipboard";
const QString kSite = "bench site";
constexpr int kRuns = 30;

QString textFor(HotkeyTarget target)
{
    for (const Lesson& lesson : kLessons)
        if (lesson.target == target)
            return lesson.text;
    return QString();
}

FormTarget keyOf(HotkeyTarget target)
{
    return FormTarget::fromKey(QStringLiteral("%1 %2").arg(int(target.kind)).arg(target.number));
}

}  // namespace

int main(int argc, char** argv)
{
    GraphicsChoice::chooseBeforeApplication();  // drawn as the program draws
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dataFolder;
    HistoryDatabase database(dataFolder.path());
    if (!database.open()) {
        out << "the database did not open: " << database.problem() << "\n";
        return 1;
    }
    FormMemory memory(database);

    QWidget window;
    QWebEngineView view;
    if (!showAndLoad(window, view, QSize(800, 400), QString::fromUtf8(kPage), QUrl("http://127.0.0.1/post.php"), out))
        return 1;
    // The editor in the frame turns itself into one as its page loads.
    if (!QTest::qWaitFor([&] { return runJs(view.page(), "editor.contentDocument.designMode").toString() == "on"; },
                         10000)) {
        out << "the page did not load\n";
        return 1;
    }
    const QString page = FormMemory::pageOf(view.url());

    // As the main window wires them: the dispatcher, the learning, F9.
    HotkeyDispatcher dispatcher;
    dispatcher.setCurrentBrowser([&view]() -> QWidget* { return &view; });
    dispatcher.setTextFor(textFor);
    FormFill fill(*dispatcher.pasteText());
    fill.setTextFor(textFor);
    QObject::connect(&dispatcher, &HotkeyDispatcher::hotkeyPasted, [&](HotkeyTarget target, QWidget*) {
        FormFieldLocator::locateFocused(view.page(), [&memory, &page, target](const QString& locator) {
            if (!locator.isEmpty())
                memory.remember(kSite, page, {locator, keyOf(target), 0});
        });
    });
    dispatcher.addCommandKey(QKeyCombination(Qt::Key_F9), [&] {
        QList<FormFill::Field> fields;
        for (const FormMemory::Field& known : memory.fieldsOf(kSite, page))
            for (const Lesson& lesson : kLessons)
                if (keyOf(lesson.target) == known.target)
                    fields << FormFill::Field{known.locator, lesson.target};
        fill.start(fields, [&view](const QString& locator, std::function<void(FormFill::Focus)> done) {
            view.setFocus();
            FormFieldLocator::focusAndSelect(view.page(), locator, [done](FormFieldLocator::FieldKind kind) {
                using Kind = FormFieldLocator::FieldKind;
                done(kind == Kind::Password         ? FormFill::Focus::PasswordField
                         : kind == Kind::SingleLine ? FormFill::Focus::SingleLineField
                         : kind == Kind::MultiLine  ? FormFill::Focus::TextField
                                                    : FormFill::Focus::Missing);
            });
        });
    });
    dispatcher.attach();

    view.setFocus();
    for (const Lesson& lesson : kLessons) {
        runJs(view.page(),
              QStringLiteral("if (editor.contentDocument.body === %1) editor.contentWindow.focus(); %1.focus();")
                  .arg(QString::fromLatin1(lesson.focus)));
        QTest::keyClick(window.windowHandle(), lesson.key, Qt::ControlModifier);
        runEventLoopUntil([&] { return !dispatcher.pasteText()->isBusy(); }, 5000);
    }
    if (!runEventLoopUntil([&] { return memory.fieldsOf(kSite, page).size() == int(std::size(kLessons)); }, 5000)) {
        out << "the fields were not learnt\n";
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    qint64 fillEndedAt = -1;
    int filledFields = 0;
    QObject::connect(&fill, &FormFill::finished, [&](const FormFill::Outcome& outcome) {
        fillEndedAt = clock.nsecsElapsed();
        filledFields = outcome.filled;
    });
    QList<double> toLastText;
    QList<double> toRestored;
    int wrong = 0;
    for (int run = 1; run <= kRuns; ++run) {
        QGuiApplication::clipboard()->setText(kClipboardBefore);
        runJs(view.page(), "reset(); document.activeElement.blur();");
        QTest::qWait(50);  // let the page settle between runs
        const double offset = pageClockOffset(view.page(), clock);
        fillEndedAt = -1;
        const double pressedAt = clock.nsecsElapsed() / 1e6;
        QTest::keyClick(window.windowHandle(), Qt::Key_F9);
        const bool done =
            runEventLoopUntil([&] { return fillEndedAt >= 0 && !dispatcher.pasteText()->isBusy(); }, 10000);
        const double restoredAt = clock.nsecsElapsed() / 1e6;
        const QVariantList values = runJs(view.page(), "values()").toList();
        const QVariantMap inputAt = runJs(view.page(), "inputAt").toMap();
        bool allThere = values.size() == int(std::size(kLessons)) && inputAt.size() == int(std::size(kLessons));
        for (int i = 0; allThere && i < values.size(); ++i)
            allThere = values[i].toString() == kLessons[i].text;
        const bool clipboardBack = QGuiApplication::clipboard()->text() == kClipboardBefore;
        if (!done || !allThere || !clipboardBack || filledFields != int(std::size(kLessons))) {
            ++wrong;
            out << "run " << run << ": "
                << (!done           ? "fill hung"
                        : !allThere ? "a field holds the wrong text"
                                    : "clipboard not restored")
                << "\n";
            for (const QVariant& value : values)
                out << "    " << value.toString() << "\n";
            continue;
        }
        double last = 0;
        for (const QVariant& at : inputAt)
            last = std::max(last, at.toDouble());
        toLastText << last - offset - pressedAt;
        toRestored << restoredAt - pressedAt;
        out << QString("run %1: last text in its field %2 ms, clipboard restored %3 ms\n")
                   .arg(run, 2)
                   .arg(toLastText.last(), 0, 'f', 1)
                   .arg(toRestored.last(), 0, 'f', 1);
        out.flush();
    }
    if (toLastText.isEmpty())
        return 1;

    out << QString("figure formfill_six_fields_last_text_median %1 ms\n").arg(median(toLastText), 0, 'f', 1);
    out << QString("figure formfill_six_fields_last_text_worst %1 ms\n")
               .arg(*std::max_element(toLastText.begin(), toLastText.end()), 0, 'f', 1);
    out << QString("figure formfill_clipboard_restored_median %1 ms\n").arg(median(toRestored), 0, 'f', 1);
    out << QString("figure formfill_failures %1 count\n").arg(wrong);
    return wrong ? 2 : 0;
}
