#pragma once

#include <QSignalSpy>
#include <QString>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>

#include "TWebbrowser.h"

// Page loads take seconds on a loaded machine; these waits end as soon as the event arrives.
constexpr int PageWait = 30000;

// Opens `address` in `browser` and waits for the load to end; true when it succeeded.
inline bool loadAndWait(TWebbrowser* browser, const QString& address)
{
    QSignalSpy finished(browser, &QWebEngineView::loadFinished);
    browser->Navigate(address);
    if (!finished.wait(PageWait))
        return false;
    return finished.last().value(0).toBool();
}

// Runs `script` in the browser's page and waits for its result.
inline QVariant runScript(TWebbrowser* browser, const QString& script)
{
    QVariant result;
    bool done = false;
    browser->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    (void)QTest::qWaitFor([&] { return done; }, PageWait);  // an unfinished script gives no value
    return result;
}

// A fresh folder for one profile's storage, below a data folder that outlives the
// application: the engine may still write into a profile folder while it shuts down.
QString newProfileFolder();

int runBrowserTextTests(int argc, char** argv);
int runPageControlTests(int argc, char** argv);
int runAddressBarTests(int argc, char** argv);
int runBrowserProfileTests(int argc, char** argv);
int runFormFieldLocatorTests(int argc, char** argv);
