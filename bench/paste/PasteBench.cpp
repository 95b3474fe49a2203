// Times the hotkey paste end to end in a real web page: from the Ctrl+U press
// to the text present in the page's field (the page notes the time of its input
// event on its own clock, which is matched to ours before each press), and to
// the user's clipboard being back. Prints every
// run's figures, then median and worst of all runs; the last lines are one
// "figure <name> <value> <unit>" per figure, for scripts.
// Needs a display (run under xvfb-run) and, as root, QTWEBENGINE_DISABLE_SANDBOX=1.

#include "GraphicsChoice.h"
#include "PageTiming.h"
#include "HotkeyDispatcher.h"
#include "PasteText.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTest>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <functional>
#include <memory>

namespace {

const char kPage[] = R"(<!doctype html><html><head><meta charset="utf-8"></head><body>
<input id="field" type="text" style="width:400px">
<script>
window.inputAt = 0;
window.inputText = '';
document.getElementById('field').addEventListener('input',
    e => { inputAt = performance.now(); inputText = e.target.value; });
</script></body></html>)";

const QString kUserName = QString::fromUtf8("bench user 名字");
const QString kClipboardBefore = "the user's own clipboard";
constexpr int kRuns = 50;

}  // namespace

int main(int argc, char** argv)
{
    GraphicsChoice::chooseBeforeApplication();  // drawn as the program draws
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QWidget window;
    QWebEngineView view;
    if (!showAndLoad(window, view, QSize(600, 200), QString::fromUtf8(kPage), QUrl(), out))
        return 1;

    HotkeyDispatcher dispatcher;
    dispatcher.setCurrentBrowser([&view]() -> QWidget* { return &view; });
    dispatcher.setTextFor(
        [](HotkeyTarget target) { return target == HotkeyTarget::userName() ? kUserName : QString(); });
    dispatcher.attach();

    QElapsedTimer clock;
    clock.start();
    qint64 restoredAt = -1;
    QObject::connect(dispatcher.pasteText(), &PasteText::finished, [&] { restoredAt = clock.nsecsElapsed(); });

    QList<double> toText;
    QList<double> toRestored;
    int wrong = 0;
    view.setFocus();
    for (int run = 1; run <= kRuns; ++run) {
        QGuiApplication::clipboard()->setText(kClipboardBefore);
        runJs(view.page(), "var f = document.getElementById('field'); f.value = ''; f.focus(); inputAt = 0;");
        QTest::qWait(50);  // let the page settle between runs
        const double offset = pageClockOffset(view.page(), clock);
        restoredAt = -1;
        const double pressedAt = clock.nsecsElapsed() / 1e6;
        QTest::keyClick(window.windowHandle(), Qt::Key_U, Qt::ControlModifier);
        const bool done = runEventLoopUntil([&] { return restoredAt >= 0; }, 5000);
        const QVariantList input = runJs(view.page(), "[inputAt, inputText]").toList();
        const bool textArrived = input.size() == 2 && input[1].toString() == kUserName;
        const bool clipboardBack = QGuiApplication::clipboard()->text() == kClipboardBefore;
        if (!done || !textArrived || !clipboardBack) {
            ++wrong;
            out << "run " << run << ": "
                << (!textArrived ? "wrong text in the field"
                        : done   ? "clipboard not restored"
                                 : "paste hung")
                << "\n";
            continue;
        }
        toText << input[0].toDouble() - offset - pressedAt;
        toRestored << restoredAt / 1e6 - pressedAt;
        out << QString("run %1: text in field %2 ms, clipboard restored %3 ms\n")
                   .arg(run, 2)
                   .arg(toText.last(), 0, 'f', 1)
                   .arg(toRestored.last(), 0, 'f', 1);
        out.flush();
    }
    if (toText.isEmpty())
        return 1;

    out << QString("figure paste_text_in_field_median %1 ms\n").arg(median(toText), 0, 'f', 1);
    out << QString("figure paste_text_in_field_worst %1 ms\n")
               .arg(*std::max_element(toText.begin(), toText.end()), 0, 'f', 1);
    out << QString("figure paste_clipboard_restored_median %1 ms\n").arg(median(toRestored), 0, 'f', 1);
    out << QString("figure paste_clipboard_restored_worst %1 ms\n")
               .arg(*std::max_element(toRestored.begin(), toRestored.end()), 0, 'f', 1);
    out << QString("figure paste_failures %1 count\n").arg(wrong);
    return wrong ? 2 : 0;
}
