#pragma once

#include "ClipboardAccess.h"
#include "KeyInjector.h"
#include "StepTimer.h"

#include <QMimeData>
#include <QPair>
#include <QStringList>
#include <functional>
#include <memory>

// Recording stand-ins for the keyboard, the clipboard and the timers. They write
// into one shared log, so a test sees the exact order of everything a paste did.
struct PasteLog {
    QStringList lines;
};

class FakeClipboard;

// With a clipboard, it plays a focused control that pastes on V down.
class FakeKeyInjector : public KeyInjector {
public:
    explicit FakeKeyInjector(PasteLog& log, const ClipboardAccess* pastesFrom = nullptr)
        : m_log(log), m_pastesFrom(pastesFrom)
    {
    }
    void injectKey(Qt::Key key, bool down) override
    {
        const QString name = key == Qt::Key_Control ? "Ctrl" : key == Qt::Key_V ? "V" : QString::number(key);
        m_log.lines << QStringLiteral("key %1 %2").arg(name, down ? "down" : "up");
        if (key == Qt::Key_V && down && m_pastesFrom && m_pastesFrom->content())
            m_log.lines << "control pastes " + m_pastesFrom->content()->text();
    }

private:
    PasteLog& m_log;
    const ClipboardAccess* m_pastesFrom;
};

class FakeClipboard : public ClipboardAccess {
public:
    explicit FakeClipboard(PasteLog& log) : m_log(log) {}
    const QMimeData* content() const override { return m_data.get(); }
    void setContent(QMimeData* data) override
    {
        m_data.reset(data);
        m_log.lines << (data ? QStringLiteral("clipboard %1").arg(data->text()) : QStringLiteral("clipboard cleared"));
        ++changes;
    }
    // What another program (or the user) copies: not logged.
    void copyFromElsewhere(QMimeData* data) { m_data.reset(data); }
    int changes = 0;

private:
    PasteLog& m_log;
    std::unique_ptr<QMimeData> m_data;
};

// Steps wait until the test runs them, the one due first first (on a clock of
// their own); each run is logged with its delay.
class FakeStepTimer : public StepTimer {
public:
    explicit FakeStepTimer(PasteLog& log) : m_log(log) {}
    void after(int milliseconds, std::function<void()> step) override
    {
        m_pending.append({m_nowMs + milliseconds, milliseconds, std::move(step)});
    }
    int pendingCount() const { return m_pending.size(); }
    int nextDelay() const { return m_pending.isEmpty() ? -1 : m_pending.at(nextIndex()).delay; }
    int nowMs() const { return m_nowMs; }
    bool runNext()
    {
        if (m_pending.isEmpty())
            return false;
        Pending next = m_pending.takeAt(nextIndex());
        m_nowMs = next.due;
        m_log.lines << QStringLiteral("wait %1").arg(next.delay);
        next.step();
        return true;
    }
    void runAll()
    {
        while (runNext()) {
        }
    }

private:
    struct Pending {
        int due;
        int delay;
        std::function<void()> step;
    };
    int nextIndex() const
    {
        int first = 0;
        for (int i = 1; i < m_pending.size(); ++i)
            if (m_pending.at(i).due < m_pending.at(first).due)
                first = i;
        return first;
    }
    PasteLog& m_log;
    QList<Pending> m_pending;
    int m_nowMs = 0;
};
