#pragma once

// Timing helpers of the benchmarks that measure in a real web page.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QTest>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QVariant>
#include <QWebEnginePage>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

// Runs the event loop as the program does until `done` holds (checked after
// every event) or the time is up. QTest::qWaitFor sleeps 10 ms between its
// rounds, and the browser's clipboard reads go through this thread: each of
// them would wait for that sleep.
inline bool runEventLoopUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

inline QVariant runJs(QWebEnginePage* page, const QString& script)
{
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    page->runJavaScript(script, [result](const QVariant& value) { *result = {true, value}; });
    runEventLoopUntil([&] { return result->first; }, 5000);
    return result->second;
}

// Page clock minus our clock, in ms, taken halfway through one round trip.
inline double pageClockOffset(QWebEnginePage* page, const QElapsedTimer& clock)
{
    const double sent = clock.nsecsElapsed() / 1e6;
    const double pageNow = runJs(page, "performance.now()").toDouble();
    const double received = clock.nsecsElapsed() / 1e6;
    return pageNow - (sent + received) / 2;
}

inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Shows `view` in `window` at `size`, makes the window active (a hotkey needs
// the focus) and loads `html` as if from `baseUrl`; false, saying why on
// `out`, when the window or the page would not come up.
inline bool showAndLoad(QWidget& window, QWebEngineView& view, const QSize& size, const QString& html,
                        const QUrl& baseUrl, QTextStream& out)
{
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(&view);
    window.resize(size);
    window.show();
    // Without a window manager a window can only be activated once it is mapped.
    if (!QTest::qWaitForWindowExposed(&window))
        out << "the window was not shown\n";
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        out << "the window did not become active\n";
        return false;
    }
    bool loaded = false;
    const QMetaObject::Connection watch =
        QObject::connect(&view, &QWebEngineView::loadFinished, [&loaded](bool ok) { loaded = ok; });
    view.setHtml(html, baseUrl);
    const bool done = QTest::qWaitFor([&] { return loaded; }, 30000);
    QObject::disconnect(watch);
    if (!done)
        out << "the page did not load\n";
    return done;
}
