#include "FakePasteServices.h"
#include "HotkeyDispatcher.h"
#include "PasteText.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QString textOf(HotkeyTarget target)
{
    switch (target.kind) {
    case HotkeyTarget::Kind::Clause: return QStringLiteral("clause %1").arg(target.number);
    case HotkeyTarget::Kind::Paragraph: return QStringLiteral("paragraph %1").arg(target.number);
    case HotkeyTarget::Kind::SiteArticleId: return QString();  // an empty identifier field
    case HotkeyTarget::Kind::UserName: return QStringLiteral("user");
    case HotkeyTarget::Kind::Password: return QStringLiteral("password");
    }
    return QString();
}

// A window with a field of its own and a stand-in browser holding a page field,
// plus window shortcuts that would steal keys if the hook let them.
struct Window {
    QWidget window;
    QLineEdit* field = new QLineEdit;
    QWidget* browser = new QWidget;
    QLineEdit* pageField = new QLineEdit(browser);
    QStringList triggered;

    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(browser);
        new QVBoxLayout(browser);
        browser->layout()->addWidget(pageField);
        for (const char* keys : {"Ctrl+E", "Ctrl+U", "Ctrl+O", "Ctrl+B", "Delete", "Up"}) {
            auto* action = new QAction(&window);
            action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
            QObject::connect(action, &QAction::triggered, [this, keys] { triggered << keys; });
            window.addAction(action);
        }
        window.show();
    }
};

struct Rig {
    PasteLog log;
    FakeStepTimer* timer = new FakeStepTimer(log);
    FakeClipboard* clipboard = new FakeClipboard(log);
    HotkeyDispatcher dispatcher{new PasteText(std::make_unique<FakeKeyInjector>(log, clipboard),
                                              std::unique_ptr<ClipboardAccess>(clipboard),
                                              std::unique_ptr<StepTimer>(timer))};
    Window w;
    QWidget* currentBrowser = w.browser;
    QList<HotkeyTarget> asked;

    Rig()
    {
        dispatcher.setCurrentBrowser([this] { return currentBrowser; });
        dispatcher.setTextFor([this](HotkeyTarget target) {
            asked << target;
            return textOf(target);
        });
        dispatcher.attach();
    }
    // Texts placed on the clipboard, one per paste.
    QStringList pasted()
    {
        timer->runAll();
        QStringList texts;
        for (const QString& line : log.lines) {
            if (line.startsWith("clipboard ") && line != "clipboard cleared")
                texts << line.mid(10);
        }
        return texts;
    }
};

bool focusOn(QWidget* widget)
{
    widget->activateWindow();
    widget->setFocus();
    return QTest::qWaitForWindowActive(widget->window()) && QTest::qWaitFor([&] { return widget->hasFocus(); });
}

}  // namespace

class TestHotkeyDispatcher : public QObject {
    Q_OBJECT
private slots:
    void boundHotkeyPastesOnceAndGoesNoFurther()
    {
        Rig rig;
        QVERIFY(focusOn(rig.w.field));
        // Through the window, as typed keys come: the filter meets the press for
        // the window and again for the field.
        QTest::keyClick(rig.w.window.windowHandle(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(rig.pasted(), QStringList{"clause 5"});
        QCOMPARE(rig.log.lines.count("key V down"), 1);
        QVERIFY(rig.w.triggered.isEmpty());  // the window's Ctrl+E shortcut did not take it

        QTest::keyClick(rig.w.field, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(rig.w.field, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(rig.pasted(), QStringList({"clause 5", "clause 5", "paragraph 3"}));
        QCOMPARE(rig.w.field->text(), QString());
    }

    void unboundKeysPassThrough()
    {
        Rig rig;
        QVERIFY(focusOn(rig.w.field));
        QTest::keyClick(rig.w.field, Qt::Key_5, Qt::ControlModifier);
        QTest::keyClick(rig.w.field, Qt::Key_5, Qt::ControlModifier | Qt::KeypadModifier);
        QTest::keyClick(rig.w.field, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(rig.w.field, "ab");
        QVERIFY(rig.pasted().isEmpty());
        QVERIFY(rig.asked.isEmpty());
        QCOMPARE(rig.w.triggered, QStringList{"Ctrl+B"});
        // Ctrl+keypad 5 reached the field, which types the digit.
        QCOMPARE(rig.w.field->text(), QString("5ab"));
    }

    void textIsReadAtEachPress()
    {
        Rig rig;
        QVERIFY(focusOn(rig.w.field));
        QTest::keyClick(rig.w.field, Qt::Key_U, Qt::ControlModifier);
        QTest::keyClick(rig.w.field, Qt::Key_W, Qt::ControlModifier);
        QTest::keyClick(rig.w.field, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(rig.asked.size(), 3);
        QVERIFY(rig.asked[0] == HotkeyTarget::userName());
        QVERIFY(rig.asked[1] == HotkeyTarget::password());
        QVERIFY(rig.asked[2] == HotkeyTarget::clause(8));
        QCOMPARE(rig.pasted(), QStringList({"user", "password", "clause 8"}));
    }

    void emptyTextIsConsumedWithoutPasting()
    {
        Rig rig;
        QVERIFY(focusOn(rig.w.field));
        QTest::keyClick(rig.w.window.windowHandle(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(rig.asked.size(), 1);
        QVERIFY(rig.log.lines.isEmpty());  // clipboard untouched, no keys typed
        QVERIFY(rig.w.triggered.isEmpty());
    }

    void heldHotkeyPastesOnce()
    {
        Rig rig;
        QVERIFY(focusOn(rig.w.field));
        QTest::keyPress(rig.w.field, Qt::Key_U, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_U, Qt::ControlModifier, QString(), true);
            QApplication::sendEvent(rig.w.field, &repeat);
            QVERIFY(repeat.isAccepted());
        }
        QCOMPARE(rig.pasted(), QStringList{"user"});
    }

    void withoutCurrentBrowserNothingHappens()
    {
        Rig rig;
        rig.currentBrowser = nullptr;
        QVERIFY(focusOn(rig.w.field));
        QTest::keyClick(rig.w.window.windowHandle(), Qt::Key_U, Qt::ControlModifier);
        QVERIFY(rig.pasted().isEmpty());
        QCOMPARE(rig.w.triggered, QStringList{"Ctrl+U"});
    }

    void detachedHookIsSilent()
    {
        Rig rig;
        QVERIFY(focusOn(rig.w.field));
        rig.dispatcher.detach();
        QVERIFY(!rig.dispatcher.isAttached());
        QTest::keyClick(rig.w.field, Qt::Key_U, Qt::ControlModifier);
        QVERIFY(rig.pasted().isEmpty());
        rig.dispatcher.attach();
        rig.dispatcher.attach();
        QTest::keyClick(rig.w.field, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(rig.pasted(), QStringList{"user"});
    }

    void editingKeysInTheBrowserEscapeWindowShortcuts()
    {
        Rig rig;
        rig.w.pageField->setText("abc");
        QVERIFY(focusOn(rig.w.pageField));
        rig.w.pageField->setCursorPosition(1);
        QTest::keyClick(rig.w.window.windowHandle(), Qt::Key_Delete);
        QTest::keyClick(rig.w.window.windowHandle(), Qt::Key_B, Qt::ControlModifier);
        QVERIFY(rig.w.triggered.isEmpty());
        QCOMPARE(rig.w.pageField->text(), QString("ac"));
        // The web view sends a key the page did not use on to its parent; Qt offers
        // such a key to the window's shortcuts first.
        QKeyEvent unused(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier);
        QApplication::sendEvent(&rig.w.window, &unused);
        QVERIFY2(rig.w.triggered.isEmpty(), qPrintable(rig.w.triggered.join(", ")));
        // Up is no editing key of the page: it goes the normal way.
        QTest::keyClick(rig.w.window.windowHandle(), Qt::Key_Up);
        QCOMPARE(rig.w.triggered, QStringList{"Up"});

        // Outside the browser the window keeps its shortcuts.
        QVERIFY(focusOn(rig.w.field));
        QTest::keyClick(rig.w.window.windowHandle(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(rig.w.triggered, QStringList({"Up", "Ctrl+B"}));
    }

    void keyThePageLeftUnusedDoesNotReachTheDialog()
    {
        Rig rig;
        QDialog dialog;
        auto* ok = new QPushButton("OK", &dialog);
        ok->setDefault(true);
        auto* browser = new QWidget(&dialog);
        auto* pageField = new QLineEdit(browser);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(browser);
        layout->addWidget(ok);
        QSignalSpy clicked(ok, &QPushButton::clicked);
        rig.currentBrowser = browser;
        dialog.show();
        QVERIFY(focusOn(pageField));
        // What the web view does with a key the page did not handle: it sends it
        // on to its parent.
        QKeyEvent unused(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &unused);
        QCOMPARE(clicked.count(), 0);

        QVERIFY(focusOn(ok));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &enter);
        QCOMPARE(clicked.count(), 1);
    }
};

int runHotkeyDispatcherTests(int argc, char** argv)
{
    TestHotkeyDispatcher test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hotkeydispatcher.moc"
