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

struct TimedStep {
    PasteText::Step step;
    int delayBeforeMs;
};

constexpr int kDelay = PasteText::kStepDelayMs;
const TimedStep kSequence[] = {
    {PasteText::Step::PlaceText, 0}, {PasteText::Step::CtrlDown, 0}, {PasteText::Step::VDown, kDelay},
    {PasteText::Step::VUp, kDelay},  {PasteText::Step::CtrlUp, kDelay},
    {PasteText::Step::Pump, kDelay}, {PasteText::Step::Pump, kDelay}, {PasteText::Step::Pump, kDelay},
    {PasteText::Step::Pump, kDelay}, {PasteText::Step::Pump, kDelay}, {PasteText::Step::Pump, kDelay},
    {PasteText::Step::Pump, kDelay}, {PasteText::Step::Restore, 0},
};
constexpr int kSequenceLength = int(std::size(kSequence));
static_assert(std::size(kSequence) == 6 + PasteText::kPumpCount, "seven pumps between Ctrl up and restore");

}  // namespace

PasteText::PasteText(QObject* parent)
    : PasteText(std::make_unique<QtKeyInjector>(), std::make_unique<QtClipboardAccess>(),
                std::make_unique<QtStepTimer>(), parent)
{
}

PasteText::PasteText(std::unique_ptr<KeyInjector> keys, std::unique_ptr<ClipboardAccess> clipboard,
                     std::unique_ptr<StepTimer> timer, QObject* parent)
    : QObject(parent), m_keys(std::move(keys)), m_clipboard(std::move(clipboard)), m_timer(std::move(timer))
{
}

PasteText::~PasteText()
{
    // Ended in the middle of a paste (the program closes): the user's clipboard
    // must not be left holding our text.
    if (m_running)
        restoreClipboard();
}

void PasteText::paste(const QString& text, bool secret)
{
    m_queue.enqueue({text, secret});
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
    runStep(0);
}

void PasteText::runStep(int index)
{
    // Steps due at the same moment run together; the others wait for the timer.
    while (index < kSequenceLength) {
        doStep(kSequence[index].step);
        ++index;
        if (index < kSequenceLength && kSequence[index].delayBeforeMs > 0) {
            m_timer->after(kSequence[index].delayBeforeMs, [this, index] { runStep(index); });
            return;
        }
    }
    m_running = false;
    emit finished();
    // A slot of finished() may already have started the next paste.
    if (!m_running)
        startNext();
}

void PasteText::doStep(Step step)
{
    switch (step) {
    case Step::PlaceText:
        placeText();
        break;
    case Step::CtrlDown:
        m_keys->injectKey(Qt::Key_Control, true);
        break;
    case Step::VDown:
        m_keys->injectKey(Qt::Key_V, true);
        break;
    case Step::VUp:
        m_keys->injectKey(Qt::Key_V, false);
        break;
    case Step::CtrlUp:
        m_keys->injectKey(Qt::Key_Control, false);
        break;
    case Step::Pump:
        // Nothing to do: the event loop delivers the typed keys and runs the
        // control's paste between the ticks.
        break;
    case Step::Restore:
        restoreClipboard();
        break;
    }
    emit stepDone(step);
}

void PasteText::placeText()
{
    m_saved = MimeDataCopy::copy(m_clipboard->content());
    auto* placed = new QMimeData;
    placed->setText(m_current.text);
    if (m_current.secret)
        placed->setData(QString::fromLatin1(kSecretHintFormat), QByteArrayLiteral("secret"));
    placed->setProperty(kPlacedBy, ++m_serial);
    m_clipboard->setContent(placed);
}

bool PasteText::clipboardStillOurs() const
{
    const QMimeData* now = m_clipboard->content();
    return now && now->property(kPlacedBy).toULongLong() == m_serial;
}

void PasteText::restoreClipboard()
{
    std::unique_ptr<QMimeData> saved = std::move(m_saved);
    // Something copied while the paste ran is newer than what we saved: keep it.
    if (!clipboardStillOurs())
        return;
    if (MimeDataCopy::isEmpty(saved.get()))
        m_clipboard->setContent(nullptr);
    else
        m_clipboard->setContent(saved.release());
}
