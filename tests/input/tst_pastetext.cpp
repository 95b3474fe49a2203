#include "FakePasteServices.h"
#include "FormFill.h"
#include "HotkeyTable.h"
#include "MimeDataCopy.h"
#include "PasteText.h"

#include <QColor>
#include <QImage>
#include <QThread>
#include <QUrl>
#include <QKeyEvent>
#include <QtTest>

Q_DECLARE_METATYPE(HotkeyTarget)

namespace {

QMimeData* textData(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

QImage testImage()
{
    QImage image(8, 5, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30, 255));
    image.setPixelColor(3, 2, Qt::red);
    return image;
}

// A PasteText on recording fakes; the fakes stay reachable for the test.
struct Rig {
    PasteLog log;
    FakeClipboard* clipboard = new FakeClipboard(log);
    FakeKeyInjector* keys;
    FakeStepTimer* timer = new FakeStepTimer(log);
    std::unique_ptr<PasteText> paste;
    // Without a pasting control the keys are typed into something that ignores them.
    explicit Rig(bool controlPastes = true)
        : keys(new FakeKeyInjector(log, controlPastes ? clipboard : nullptr)),
          paste(new PasteText(std::unique_ptr<KeyInjector>(keys), std::unique_ptr<ClipboardAccess>(clipboard),
                              std::unique_ptr<StepTimer>(timer)))
    {
        QObject::connect(paste.get(), &PasteText::stepDone, [this](PasteText::Step step) {
            if (step == PasteText::Step::Pump)
                log.lines << "pump";
            if (step == PasteText::Step::AwaitPaste)
                log.lines << "await";
        });
    }
};

QStringList oneSequence(const QString& text, const QString& restored)
{
    QStringList lines{
        "clipboard " + text, "key Ctrl down", "wait 20", "key V down", "control pastes " + text, "wait 20", "key V up",
        "wait 20",           "key Ctrl up",   "wait 20", "pump"};
    for (int i = 1; i < PasteText::kPumpCount; ++i)
        lines << "wait 20"
              << "pump";
    lines << "clipboard " + restored;
    return lines;
}

// A page as the browser engine runs it: one main thread that runs its tasks
// one after another. A typed key reaches it through the input channel some
// turns of the browser's loop later, a script at once. A paste reads the
// clipboard with synchronous calls, each served by a turn of the browser's
// loop, so the browser goes on between two reads of one paste; no script of
// the page runs before the paste has ended.
class FakePage : public KeyInjector {
public:
    struct Field {
        QStringList pastes;  // per paste, what each of its reads got
    };
    int inputLatency = 0;  // browser turns before a typed key reaches the page
    int readsPerPaste = 1;
    QList<Field> fields;

    FakePage(PasteLog& log, const ClipboardAccess& clipboard, int fieldCount)
        : fields(fieldCount), m_log(log), m_clipboard(clipboard)
    {
    }
    void injectKey(Qt::Key key, bool down) override
    {
        const QString name = key == Qt::Key_Control ? "Ctrl" : key == Qt::Key_V ? "V" : QString::number(key);
        m_log.lines << QStringLiteral("key %1 %2").arg(name, down ? "down" : "up");
        if (key == Qt::Key_V && down)
            m_keysInTransit << m_browserTurns + inputLatency;
    }
    // As FormFill's focus callback: a script that focuses the field and answers.
    void focus(const QString& locator, std::function<void(FormFill::Focus)> done)
    {
        m_tasks << QList<std::function<void()>>{[this, locator, done] {
            m_focused = locator.toInt();
            m_answers << [done] { done(FormFill::Focus::TextField); };
        }};
    }
    // One turn of the browser's loop: an answer of the page, else the step due first.
    void browserTurn(FakeStepTimer& timer)
    {
        ++m_browserTurns;
        while (!m_keysInTransit.isEmpty() && m_keysInTransit.first() <= m_browserTurns) {
            m_keysInTransit.removeFirst();
            pasteTask();
        }
        if (!m_answers.isEmpty())
            m_answers.takeFirst()();
        else
            timer.runNext();
    }
    // One turn of the page's thread: the next part of the task it runs.
    void pageTurn()
    {
        if (m_tasks.isEmpty())
            return;
        m_tasks.first().takeFirst()();
        if (m_tasks.first().isEmpty())
            m_tasks.removeFirst();
    }
    bool busy() const { return !m_tasks.isEmpty() || !m_answers.isEmpty() || !m_keysInTransit.isEmpty(); }

private:
    void pasteTask()
    {
        QList<std::function<void()>> reads;
        for (int i = 0; i < readsPerPaste; ++i)
            reads << [this, first = i == 0] {
                const QMimeData* content = m_clipboard.content();
                QStringList& pastes = fields[m_focused].pastes;
                if (first)
                    pastes << QString();
                pastes.last() += QLatin1Char('[') + (content ? content->text() : QString()) + QLatin1Char(']');
            };
        m_tasks << reads;
    }

    PasteLog& m_log;
    const ClipboardAccess& m_clipboard;
    QList<QList<std::function<void()>>> m_tasks;
    QList<std::function<void()>> m_answers;
    QList<int> m_keysInTransit;  // the browser turn at which each reaches the page
    int m_browserTurns = 0;
    int m_focused = 0;
};

}  // namespace

class TestPasteText : public QObject {
    Q_OBJECT
private slots:
    void table_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("bound");
        QTest::addColumn<HotkeyTarget>("target");
        const int ctrl = Qt::ControlModifier;
        const Qt::Key clauseKeys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_E,
                                      Qt::Key_6, Qt::Key_7, Qt::Key_D, Qt::Key_G, Qt::Key_H,
                                      Qt::Key_I, Qt::Key_J, Qt::Key_K, Qt::Key_L, Qt::Key_N};
        for (int i = 0; i < 15; ++i) {
            QTest::addRow("Ctrl clause %d", i + 1) << int(clauseKeys[i]) << ctrl << true << HotkeyTarget::clause(i + 1);
        }
        QTest::newRow("Ctrl+8") << int(Qt::Key_8) << ctrl << true << HotkeyTarget::paragraph(1);
        QTest::newRow("Ctrl+9") << int(Qt::Key_9) << ctrl << true << HotkeyTarget::paragraph(2);
        QTest::newRow("Ctrl+0") << int(Qt::Key_0) << ctrl << true << HotkeyTarget::paragraph(3);
        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << ctrl << true << HotkeyTarget::siteArticleId();
        QTest::newRow("Ctrl+U") << int(Qt::Key_U) << ctrl << true << HotkeyTarget::userName();
        QTest::newRow("Ctrl+W") << int(Qt::Key_W) << ctrl << true << HotkeyTarget::password();
        QTest::newRow("Shift+Ctrl+E") << int(Qt::Key_E) << int(ctrl | Qt::ShiftModifier) << true
                                      << HotkeyTarget::clause(5);
        QTest::newRow("Alt+Ctrl+U") << int(Qt::Key_U) << int(ctrl | Qt::AltModifier) << true
                                    << HotkeyTarget::userName();
        QTest::newRow("Ctrl+5") << int(Qt::Key_5) << ctrl << false << HotkeyTarget();
        QTest::newRow("keypad Ctrl+5") << int(Qt::Key_5) << int(ctrl | Qt::KeypadModifier) << false << HotkeyTarget();
        QTest::newRow("keypad Ctrl+8") << int(Qt::Key_8) << int(ctrl | Qt::KeypadModifier) << false << HotkeyTarget();
        QTest::newRow("U without Ctrl") << int(Qt::Key_U) << int(Qt::NoModifier) << false << HotkeyTarget();
        QTest::newRow("Shift+U") << int(Qt::Key_U) << int(Qt::ShiftModifier) << false << HotkeyTarget();
        for (char letter : QByteArray("ABCFMPQRSTVXYZ")) {
            QTest::addRow("Ctrl+%c", letter) << int(letter) << ctrl << false << HotkeyTarget();
        }
        QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << ctrl << false << HotkeyTarget();
    }
    void table()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, bound);
        QFETCH(HotkeyTarget, target);
        const auto found = HotkeyTable::lookup(key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(found.has_value(), bound);
        if (bound) {
            QVERIFY(*found == target);
            QCOMPARE(int(HotkeyTable::keyFor(target)), key);
        }
    }

    // As the keyboard's own key codes say: the digit row in any layout and
    // Shift state; the keypad and the letters as their keys say.
    void digitRowCountsByItsPlace()
    {
        const auto press = [](int key, Qt::KeyboardModifiers modifiers, quint32 scanCode) {
            return HotkeyTable::lookup(QKeyEvent(QEvent::KeyPress, key, modifiers, scanCode, 0, 0));
        };
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        QCOMPARE(press(Qt::Key_Exclam, ctrl | Qt::ShiftModifier, 10), HotkeyTarget::clause(1));  // Ctrl+Shift+1
        QCOMPARE(press(Qt::Key_Ampersand, ctrl, 10), HotkeyTarget::clause(1));  // AZERTY "&"
        QCOMPARE(press(Qt::Key_Eacute, ctrl, 11), HotkeyTarget::clause(2));  // AZERTY "é"
        QCOMPARE(press(Qt::Key_Agrave, ctrl, 19), HotkeyTarget::paragraph(3));  // AZERTY "à"
        QCOMPARE(press(Qt::Key_ParenLeft, ctrl, 14), std::optional<HotkeyTarget>());  // the row's 5
        QCOMPARE(press(Qt::Key_8, ctrl | Qt::KeypadModifier, 80), std::optional<HotkeyTarget>());
        QCOMPARE(press(Qt::Key_U, ctrl, 30), HotkeyTarget::userName());
        QCOMPARE(press(Qt::Key_1, ctrl, 0), HotkeyTarget::clause(1));  // no key code: the key decides
    }

    void sequenceRunsInOrderWithItsDelays()
    {
        Rig rig;
        rig.clipboard->copyFromElsewhere(textData("before"));
        QSignalSpy finished(rig.paste.get(), &PasteText::finished);
        rig.paste->paste("hello");
        // Only the first moment runs at once; the rest waits for the timer.
        QCOMPARE(rig.log.lines, QStringList({"clipboard hello", "key Ctrl down"}));
        QCOMPARE(rig.timer->pendingCount(), 1);
        QCOMPARE(rig.timer->nextDelay(), PasteText::kStepDelayMs);
        QVERIFY(rig.paste->isBusy());
        rig.timer->runAll();
        QCOMPARE(rig.log.lines, oneSequence("hello", "before"));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!rig.paste->isBusy());
    }

    void restoreWaitsForAControlThatPastesLate()
    {
        Rig rig(false);
        rig.clipboard->copyFromElsewhere(textData("before"));
        rig.paste->paste("late");
        while (rig.log.lines.count("await") < 3)
            QVERIFY(rig.timer->runNext());
        QCOMPARE(rig.log.lines.count("pump"), PasteText::kPumpCount);
        // The page reads the text now, and once more a little later.
        QCOMPARE(rig.clipboard->content()->text(), QString("late"));
        rig.log.lines << "read";
        rig.timer->runNext();
        rig.timer->runNext();
        QCOMPARE(rig.clipboard->content()->text(), QString("late"));
        rig.log.lines << "read";
        rig.timer->runAll();
        // Restored once the text has been left alone for the quiet time.
        const QStringList afterRead = rig.log.lines.mid(rig.log.lines.lastIndexOf("read"));
        QCOMPARE(afterRead.count("await"), PasteText::kReadQuietMs / PasteText::kStepDelayMs);
        QCOMPARE(afterRead.last(), QString("clipboard before"));
    }

    void restoreGivesUpOnAControlThatNeverPastes()
    {
        Rig rig(false);
        rig.clipboard->copyFromElsewhere(textData("before"));
        rig.paste->paste("ignored");
        // A clipboard manager reading the new content at once is no paste.
        QCOMPARE(rig.clipboard->content()->text(), QString("ignored"));
        rig.timer->runAll();
        int waited = 0;
        for (const QString& line : rig.log.lines) {
            if (line.startsWith("wait "))
                waited += line.mid(5).toInt();
        }
        QCOMPARE(waited, PasteText::kPasteWaitLimitMs);
        QCOMPARE(rig.log.lines.last(), QString("clipboard before"));
    }

    void clipboardGetsEveryFormatBack_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("text") << "text";
        QTest::newRow("rich text") << "html";
        QTest::newRow("image") << "image";
        QTest::newRow("urls") << "urls";
        QTest::newRow("custom bytes") << "custom";
        QTest::newRow("colour") << "colour";
    }
    void clipboardGetsEveryFormatBack()
    {
        QFETCH(QString, kind);
        Rig rig;
        auto* before = new QMimeData;
        if (kind == "text") {
            before->setText(QString::fromUtf8("剪贴板 text\r\nline"));
        } else if (kind == "html") {
            before->setHtml("<b>bold</b> and <i>more</i>");
            before->setText("bold and more");
        } else if (kind == "image") {
            before->setImageData(testImage());
        } else if (kind == "urls") {
            before->setUrls({QUrl("file:///tmp/a b.txt"), QUrl("https://example.org/x?y=1")});
        } else if (kind == "custom") {
            before->setData("application/x-office-thing", QByteArray("\x00\x01\xff binary", 10));
            before->setData("text/plain", "shown");
        } else {
            before->setColorData(QColor(1, 2, 3));
        }
        const QStringList formats = before->formats();
        QMap<QString, QByteArray> bytes;
        for (const QString& format : formats)
            bytes[format] = before->data(format);
        const QVariant image = before->imageData();
        const QVariant colour = before->colorData();
        rig.clipboard->copyFromElsewhere(before);

        rig.paste->paste("pasted", true);
        rig.timer->runAll();

        const QMimeData* after = rig.clipboard->content();
        QVERIFY(after);
        QVERIFY(after != before);
        const QStringList afterFormats = after->formats();
        QCOMPARE(QSet<QString>(afterFormats.begin(), afterFormats.end()),
                 QSet<QString>(formats.begin(), formats.end()));
        for (const QString& format : formats) {
            if (format != "application/x-qt-image" && format != "application/x-color")
                QCOMPARE(after->data(format), bytes[format]);
        }
        QCOMPARE(after->imageData().value<QImage>(), image.value<QImage>());
        QCOMPARE(after->colorData(), colour);
        QVERIFY(!after->hasFormat(PasteText::kSecretHintFormat));
    }

    // An owner that takes its time over every format: the copy stops asking
    // once its time is up and keeps what came in time, the text first.
    void slowClipboardOwnerIsWaitedForBoundedTime()
    {
        struct SlowOwner : QMimeData {
            mutable int asked = 0;
            QVariant retrieveData(const QString& format, QMetaType type) const override
            {
                ++asked;
                QThread::msleep(40);
                return QMimeData::retrieveData(format, type);
            }
        } slow;
        for (int i = 0; i < 20; ++i)
            slow.setData(QStringLiteral("application/x-thing-%1").arg(i), "bytes");
        slow.setText(QStringLiteral("what the user copied"));
        const auto copy = MimeDataCopy::copy(&slow, std::chrono::milliseconds(100));
        QVERIFY(slow.asked < 6);  // not all 21 formats
        QCOMPARE(copy->text(), QStringLiteral("what the user copied"));
    }

    void emptyClipboardIsEmptyAgainAfterwards()
    {
        Rig rig;
        rig.paste->paste("x");
        rig.timer->runAll();
        QCOMPARE(rig.log.lines.last(), QString("clipboard cleared"));
        QVERIFY(!rig.clipboard->content());
    }

    void credentialsAreMarkedSecretOnlyWhileOnTheClipboard()
    {
        Rig rig;
        rig.clipboard->copyFromElsewhere(textData("before"));
        rig.paste->paste("s3cret", true);
        QCOMPARE(rig.clipboard->content()->text(), QString("s3cret"));
        QCOMPARE(rig.clipboard->content()->data(PasteText::kSecretHintFormat), QByteArray("secret"));
        rig.timer->runAll();
        QCOMPARE(rig.clipboard->content()->text(), QString("before"));
        QVERIFY(!rig.clipboard->content()->hasFormat(PasteText::kSecretHintFormat));

        rig.paste->paste("a clause");
        QCOMPARE(rig.clipboard->content()->text(), QString("a clause"));
        QVERIFY(!rig.clipboard->content()->hasFormat(PasteText::kSecretHintFormat));
        rig.timer->runAll();

        // A clipboard manager took the clipboard over with a copy of the
        // secret: the copy is taken back all the same.
        rig.clipboard->copyFromElsewhere(textData("before"));
        rig.paste->paste("s3cret", true);
        rig.timer->runNext();
        rig.clipboard->copyFromElsewhere(textData("s3cret"));
        rig.timer->runAll();
        QCOMPARE(rig.clipboard->content()->text(), QString("before"));

        // The place of the paste moved on before the paste key: no key, and
        // the secret leaves the clipboard at once.
        rig.log.lines.clear();
        rig.paste->paste("s3cret", true, [] { return false; });
        rig.timer->runAll();
        QVERIFY2(!rig.log.lines.contains("key V down") && !rig.log.lines.contains("control pastes s3cret"),
                 qPrintable(rig.log.lines.join(" | ")));
        QVERIFY(!rig.log.lines.contains("await"));
        QCOMPARE(rig.clipboard->content()->text(), QString("before"));
    }

    void pasteAskedDuringAPasteWaitsItsTurn()
    {
        Rig rig;
        rig.clipboard->copyFromElsewhere(textData("before"));
        QSignalSpy finished(rig.paste.get(), &PasteText::finished);
        QSignalSpy idle(rig.paste.get(), &PasteText::idle);
        rig.paste->paste("first");
        for (int i = 0; i < 5; ++i)
            rig.timer->runNext();  // well inside the first paste's pumps
        rig.paste->paste("second");
        rig.paste->paste("third");
        QCOMPARE(rig.paste->pendingCount(), 2);
        QCOMPARE(rig.timer->pendingCount(), 1);  // still one sequence, not nested
        rig.timer->runAll();

        QCOMPARE(rig.log.lines,
                 oneSequence("first", "before") + oneSequence("second", "before") + oneSequence("third", "before"));
        QCOMPARE(finished.count(), 3);
        QCOMPARE(idle.count(), 1);
        QCOMPARE(rig.clipboard->content()->text(), QString("before"));
    }

    void nextPasteMayBeAskedFromFinished()
    {
        Rig rig;
        int started = 0;
        connect(rig.paste.get(), &PasteText::finished, [&] {
            if (++started == 1)
                rig.paste->paste("again");
        });
        rig.paste->paste("once");
        rig.timer->runAll();
        QCOMPARE(rig.log.lines, oneSequence("once", "cleared") + oneSequence("again", "cleared"));
    }

    void somethingCopiedDuringThePasteIsKept()
    {
        Rig rig;
        rig.clipboard->copyFromElsewhere(textData("before"));
        rig.paste->paste("pasted");
        rig.timer->runNext();
        rig.clipboard->copyFromElsewhere(textData("copied meanwhile"));
        rig.timer->runAll();
        QCOMPARE(rig.clipboard->content()->text(), QString("copied meanwhile"));
    }

    // A form filled field after field in one batch, with pages fast and slow:
    // each field gets its own text from every read, the previous or next
    // field's never, however late the page reads or how often; the guard is
    // asked right before each paste key; a hotkey pressed meanwhile waits for
    // the user's clipboard to be back.
    void batchGivesEachFieldOnlyItsOwnText()
    {
        const struct {
            const char* page;
            int inputLatency;
            int readsPerPaste;
            int pageTurnEvery;  // browser turns per turn of the page's thread
        } pages[] = {{"quick", 0, 1, 1}, {"reads twice", 2, 2, 1}, {"slow", 6, 3, 4}, {"late", 40, 2, 3}};
        for (const auto& kind : pages) {
            PasteLog log;
            auto* clipboard = new FakeClipboard(log);
            auto* timer = new FakeStepTimer(log);
            auto* page = new FakePage(log, *clipboard, 4);
            page->inputLatency = kind.inputLatency;
            page->readsPerPaste = kind.readsPerPaste;
            PasteText paste{std::unique_ptr<KeyInjector>(page), std::unique_ptr<ClipboardAccess>(clipboard),
                            std::unique_ptr<StepTimer>(timer)};
            clipboard->copyFromElsewhere(textData("before"));
            FormFill fill(paste);
            fill.setTextFor([](HotkeyTarget target) { return QStringLiteral("text %1").arg(target.number); });
            QList<FormFill::Field> fields;
            for (int i = 0; i < 4; ++i)
                fields << FormFill::Field{QString::number(i), HotkeyTarget::clause(i + 1)};
            QList<FormFill::Outcome> outcomes;
            connect(&fill, &FormFill::finished, [&](const FormFill::Outcome& outcome) { outcomes << outcome; });
            QVERIFY(fill.start(
                fields, [page](const QString& locator, auto done) { page->focus(locator, std::move(done)); },
                [&log] {
                    log.lines << "may type";
                    return true;
                }));
            bool hotkeyAsked = false;
            for (int turn = 1; (fill.isRunning() || paste.isBusy() || page->busy()) && turn < 100000; ++turn) {
                page->browserTurn(*timer);
                if (turn % kind.pageTurnEvery == 0)
                    page->pageTurn();
                if (!hotkeyAsked && page->fields[1].pastes.size() == 1) {
                    paste.paste("hotkey");
                    hotkeyAsked = true;
                }
            }
            QVERIFY2(!fill.isRunning() && !paste.isBusy(), kind.page);
            QCOMPARE(outcomes.size(), 1);
            QCOMPARE(outcomes.first().filled, 4);
            const QString once = QStringLiteral("[%1]");
            for (int i = 0; i < 4; ++i) {
                const QString own = once.arg(QStringLiteral("text %1").arg(i + 1)).repeated(kind.readsPerPaste);
                QStringList expected{own};
                if (i == 3)  // the hotkey pastes where the fill left the focus
                    expected << once.arg("hotkey").repeated(kind.readsPerPaste);
                QVERIFY2(page->fields[i].pastes == expected,
                         qPrintable(QStringLiteral("%1, field %2: %3")
                                        .arg(kind.page)
                                        .arg(i)
                                        .arg(page->fields[i].pastes.join(" | "))));
            }
            QCOMPARE(log.lines.count("may type"), 4);
            for (int i = 0; i < log.lines.size(); ++i)
                if (log.lines.at(i) == "may type")
                    QCOMPARE(log.lines.value(i + 1), QString("key V down"));
            // Saved once and back once before the hotkey's own paste, and back after it.
            QCOMPARE(log.lines.count("clipboard before"), 2);
            QVERIFY(log.lines.indexOf("clipboard before") < log.lines.indexOf("clipboard hotkey"));
            QCOMPARE(clipboard->content()->text(), QString("before"));
        }
    }

    void clipboardIsRestoredWhenThePasteIsCutShort()
    {
        Rig rig;
        rig.clipboard->copyFromElsewhere(textData("before"));
        rig.paste->paste("pasted");
        rig.timer->runNext();
        QCOMPARE(rig.clipboard->content()->text(), QString("pasted"));
        rig.paste.reset();  // the program closes in the middle of the paste
        QCOMPARE(rig.log.lines.last(), QString("clipboard before"));
    }
};

int runPasteTextTests(int argc, char** argv)
{
    TestPasteText test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pastetext.moc"
