#include "PasteText.h"

#include "ClipboardAccess.h"
#include "KeyInjector.h"
#include "MimeDataCopy.h"
#include "QtClipboardAccess.h"
#include "QtKeyInjector.h"
#include "QtStepTimer.h"
#include "StepTimer.h"

#include <QMimeData>
#include <QVariant>
#include <iterator>

const char PasteText::kSecretHintFormat[] = "x-kde-passwordManagerHint";

namespace {

// Tags the QMimeData this object placed, so the restore can tell whether the
// clipboard still holds it or someone copied something newer meanwhile.
const char kPlacedBy[] = "qvbPasteSerial";

}  // namespace

struct PlacedTextReads {
    int count = 0;
    // Called from inside the reader's own call (the engine waits for the text):
    // it may only schedule.
    std::function<void()> seen;
};

namespace {

// The placed text counts its readers, so the restore can wait for the control.
class PlacedText : public QMimeData {
public:
    explicit PlacedText(std::shared_ptr<PlacedTextReads> reads) : m_reads(std::move(reads)) {}

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        // A string read is one in this process; the window system asks for bytes.
        if (mimeType.startsWith(QLatin1String("text/plain")) && type.id() == QMetaType::QString) {
            ++m_reads->count;
            if (m_reads->seen)
                m_reads->seen();
        }
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    std::shared_ptr<PlacedTextReads> m_reads;
};

struct TimedStep {
    PasteText::Step step;
    int delayBeforeMs;
};

constexpr int kDelay = PasteText::kStepDelayMs;
const TimedStep kSequence[] = {
    {PasteText::Step::PlaceText, 0}, {PasteText::Step::CtrlDown, 0},    {PasteText::Step::VDown, kDelay},
    {PasteText::Step::VUp, kDelay},  {PasteText::Step::CtrlUp, kDelay}, {PasteText::Step::Pump, kDelay},
    {PasteText::Step::Pump, kDelay}, {PasteText::Step::Pump, kDelay},   {PasteText::Step::Pump, kDelay},
    {PasteText::Step::Pump, kDelay}, {PasteText::Step::Pump, kDelay},   {PasteText::Step::Pump, kDelay},
    {PasteText::Step::Restore, 0},
};
static_assert(std::size(kSequence) == 6 + PasteText::kPumpCount, "seven pumps between Ctrl up and restore");
// Within a batch the wait for the control's read replaces the pumps, and the
// keys go together: the next field waits for this one, not for a fixed time.
const TimedStep kBatchSequence[] = {
    {PasteText::Step::PlaceText, 0}, {PasteText::Step::CtrlDown, 0}, {PasteText::Step::VDown, 0},
    {PasteText::Step::VUp, 0},       {PasteText::Step::CtrlUp, 0},   {PasteText::Step::Restore, 0},
};
const TimedStep kRestoreOnlySequence[] = {{PasteText::Step::Restore, 0}};

template <std::size_t N>
std::pair<const TimedStep*, int> steps(const TimedStep (&sequence)[N])
{
    return {sequence, int(N)};
}

}  // namespace

PasteText::PasteText(QObject* parent)
    : PasteText(std::make_unique<QtKeyInjector>(), std::make_unique<QtClipboardAccess>(),
                std::make_unique<QtStepTimer>(), parent)
{
}

PasteText::PasteText(std::unique_ptr<KeyInjector> keys, std::unique_ptr<ClipboardAccess> clipboard,
                     std::unique_ptr<StepTimer> timer, QObject* parent)
    : QObject(parent),
      m_keys(std::move(keys)),
      m_clipboard(std::move(clipboard)),
      m_timer(std::move(timer)),
      m_textReads(std::make_shared<PlacedTextReads>())
{
}

PasteText::~PasteText()
{
    m_textReads->seen = nullptr;
    // Ended in the middle of a paste or a batch (the program closes): the
    // user's clipboard must not be left holding our text.
    if (m_holding)
        restoreClipboard();
}

void PasteText::paste(const QString& text, bool secret, MayType mayType)
{
    Request request{text, secret, false, false, std::move(mayType), false};
    if (m_batchOpen) {
        m_deferred.enqueue(std::move(request));
        return;
    }
    m_queue.enqueue(std::move(request));
    if (!m_running)
        startNext();
}

void PasteText::beginBatch() { m_batchOpen = true; }

void PasteText::pasteInBatch(const QString& text, bool secret, MayType mayType)
{
    Request request{text, secret, m_batchOpen, false, std::move(mayType), false};
    m_queue.enqueue(std::move(request));
    if (!m_running)
        startNext();
}

void PasteText::endBatch()
{
    if (!m_batchOpen)
        return;
    m_batchOpen = false;
    // A batch paste still running restores at its end; after one that has
    // ended, the restore is a step of its own, before the waiting pastes.
    if (m_holding && !m_running)
        m_queue.enqueue({QString(), false, false, true, {}, false});
    m_queue.append(m_deferred);
    m_deferred.clear();
    if (!m_running)
        startNext();
}

void PasteText::startNext()
{
    if (m_queue.isEmpty()) {
        emit idle();
        return;
    }
    m_current = m_queue.dequeue();
    m_running = true;
    // The restore after a batch goes on with the clock of the batch's last
    // paste: its reads and their quiet count.
    if (m_current.restoreOnly) {
        m_sequence = Sequence::RestoreOnly;
    } else {
        m_sequence = m_current.inBatch ? Sequence::InBatch : Sequence::Single;
        m_elapsedMs = 0;
    }
    runStep(0);
}

void PasteText::runStep(int index)
{
    const auto [sequence, length] = m_sequence == Sequence::Single ? steps(kSequence)
        : m_sequence == Sequence::InBatch                          ? steps(kBatchSequence)
                                                                   : steps(kRestoreOnlySequence);
    m_awaitingReadAt = -1;
    // Steps due at the same moment run together; the others wait for the timer.
    while (index < length) {
        const Step step = sequence[index].step;
        noteReads();
        // Within an open batch the first read hands over: the caller's next
        // round trip to the page waits for the rest of this paste.
        const int quietMs = holdsClipboardForBatch() ? 0 : kReadQuietMs;
        if (step == Step::Restore && !m_current.withheld && !pasteTaken(quietMs) && m_elapsedMs < kPasteWaitLimitMs) {
            emit stepDone(Step::AwaitPaste);
            scheduleStep(index, kStepDelayMs);
            if (holdsClipboardForBatch())
                m_awaitingReadAt = index;
            return;
        }
        doStep(step);
        ++index;
        if (index < length && sequence[index].delayBeforeMs > 0) {
            scheduleStep(index, sequence[index].delayBeforeMs);
            return;
        }
    }
    m_running = false;
    if (!m_current.restoreOnly)
        emit finished();
    // A slot of finished() may already have started the next paste.
    if (!m_running)
        startNext();
}

void PasteText::scheduleStep(int index, int delayMs)
{
    const quint64 token = ++m_stepToken;
    m_timer->after(delayMs, [this, index, delayMs, token] {
        if (token != m_stepToken)
            return;  // a read woke the step before its time
        m_elapsedMs += delayMs;
        runStep(index);
    });
}

void PasteText::scheduleWake(int index)
{
    const quint64 token = ++m_stepToken;  // the tick that was due runs no more
    m_timer->after(0, [this, index, token] {
        if (token == m_stepToken)
            runStep(index);
    });
}

void PasteText::readSeen()
{
    if (m_awaitingReadAt < 0)
        return;
    scheduleWake(m_awaitingReadAt);
    m_awaitingReadAt = -1;
}

void PasteText::noteReads()
{
    if (m_textReads->count != m_textReadsSeen) {
        m_textReadsSeen = m_textReads->count;
        m_lastReadSeenMs = m_elapsedMs;
    }
}

bool PasteText::pasteTaken(int quietMs) const
{
    return m_textReadsSeen > m_textReadsAtVDown && m_elapsedMs - m_lastReadSeenMs >= quietMs;
}

void PasteText::doStep(Step step)
{
    switch (step) {
    case Step::PlaceText: placeText(); break;
    case Step::CtrlDown: m_keys->injectKey(Qt::Key_Control, true); break;
    case Step::VDown:
        // Reads before the paste key (a clipboard manager's) do not count.
        m_textReadsAtVDown = m_textReadsSeen = m_textReads->count;
        m_current.withheld = m_current.mayType && !m_current.mayType();
        if (!m_current.withheld)
            m_keys->injectKey(Qt::Key_V, true);
        break;
    case Step::VUp:
        if (!m_current.withheld)
            m_keys->injectKey(Qt::Key_V, false);
        break;
    case Step::CtrlUp: m_keys->injectKey(Qt::Key_Control, false); break;
    case Step::Pump:
    case Step::AwaitPaste:
        // Nothing to do: the event loop delivers the typed keys and runs the
        // control's paste between the ticks.
        break;
    case Step::Restore:
        // Within a batch our text stays until the next paste replaces it; a
        // withheld text never stays.
        if (!holdsClipboardForBatch() || m_current.withheld)
            restoreClipboard();
        break;
    }
    emit stepDone(step);
}

void PasteText::placeText()
{
    // Within a batch the user's clipboard was saved by its first paste; what
    // someone copied since is newer and is saved instead.
    if (!m_holding || !clipboardStillOurs())
        m_saved = MimeDataCopy::copy(m_clipboard->content());
    m_holding = true;
    m_textReads->seen = nullptr;  // a text no longer ours wakes nothing
    m_textReads = std::make_shared<PlacedTextReads>();
    m_textReads->seen = [this] { readSeen(); };
    m_textReadsSeen = 0;
    auto* placed = new PlacedText(m_textReads);
    placed->setText(m_current.text);
    if (m_current.secret)
        placed->setData(QString::fromLatin1(kSecretHintFormat), QByteArrayLiteral("secret"));
    placed->setProperty(kPlacedBy, ++m_serial);
    m_placedText = m_current.text;
    m_clipboard->setContent(placed);
}

// Ours: the content this object placed, or a copy of its text under another
// owner (a clipboard manager, or the compositor on Wayland, takes the
// clipboard over): still ours to take back.
bool PasteText::clipboardStillOurs() const
{
    const QMimeData* now = m_clipboard->content();
    if (!now)
        return false;
    return now->property(kPlacedBy).toULongLong() == m_serial
        || (!m_placedText.isEmpty() && now->hasText() && now->text() == m_placedText);
}

void PasteText::restoreClipboard()
{
    std::unique_ptr<QMimeData> saved = std::move(m_saved);
    m_holding = false;
    const bool ours = clipboardStillOurs();
    m_placedText.clear();
    // Something copied while the paste ran is newer than what we saved: keep it.
    if (!ours)
        return;
    if (MimeDataCopy::isEmpty(saved.get()))
        m_clipboard->setContent(nullptr);
    else
        m_clipboard->setContent(saved.release());
}
