// One program for the browser layer: texts and the location opener, the tab control, the
// address bar, the persistent profile and the form field locator. The network is closed:
// pages come from data: URLs and from a server on 127.0.0.1 run by the tests themselves.
#include <QApplication>

#include "BrowserTestSupport.h"
#include "TestData.h"

namespace {
TestDataFolder* testRoot = nullptr;
}

QString newProfileFolder()
{
    static int made = 0;
    return testRoot->path() + QStringLiteral("browser%1").arg(++made);
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-background-networking --disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TestDataFolder root;  // removed after the application and its engine are gone
    testRoot = &root;
    QApplication app(argc, argv);
    int failed = 0;
    failed += runBrowserTextTests(argc, argv) != 0;
    failed += runPageControlTests(argc, argv) != 0;
    failed += runAddressBarTests(argc, argv) != 0;
    failed += runBrowserProfileTests(argc, argv) != 0;
    failed += runFormFieldLocatorTests(argc, argv) != 0;
    return failed;
}
