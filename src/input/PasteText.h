#pragma once

#include <QObject>
#include <QQueue>
#include <QString>
#include <functional>
#include <memory>

class ClipboardAccess;
class KeyInjector;
struct PlacedTextReads;
class QMimeData;
class StepTimer;

// Puts a text into whatever control has the keyboard focus: the text goes on the
// clipboard, Ctrl+V is typed, the control pastes by itself, and the clipboard
// gets back everything it held before (every format, not just text).
//
// One paste runs as timed steps from the event loop:
//   t=0    save the clipboard, place the text, Ctrl down
//   +20    V down
//   +20    V up
//   +20    Ctrl up
//   +20    pump 1, then pumps 2..7 20 ms apart (the event loop runs the page's
//          paste in between)
//   pump 7 restore the clipboard
// The restore waits, in further 20 ms ticks, until the focused control has read
// the text and then left it alone for kReadQuietMs (a web page reads it more than
// once, and a busy one takes longer than the pumps), but no longer than
// kPasteWaitLimitMs from the start: restoring too early would paste the user's
// own clipboard into the page.
// A paste asked for while one runs waits in a queue; pastes never nest.
//
// A batch (beginBatch .. endBatch) pastes into several controls in a row with
// one save and one restore of the clipboard. Each paste of the batch types its
// four keys at once (posted together, so no key of the user's comes between
// them) and hands over as soon as its control has begun to read the text: the
// browser engine reads the clipboard from the page's main thread with
// synchronous calls while it pastes, so a script the caller sends to the page
// after that runs only once the paste has ended. The caller must place the
// next text (pasteInBatch) only after such a round trip has answered, as
// FormFill does with the focus of the next field. The clipboard keeps our text
// until the batch ends, then comes back as after a single paste (read and
// quiet for kReadQuietMs). Pastes asked for with paste() after beginBatch()
// wait until endBatch(); those asked for before run first.
//
// Only reads of the text as a string count: the engine and Qt's own widgets
// read it so, in this process; another program (a clipboard manager) gets it
// as bytes through the window system.
class PasteText : public QObject {
    Q_OBJECT
public:
    enum class Step {
        PlaceText,
        CtrlDown,
        VDown,
        VUp,
        CtrlUp,
        Pump,
        AwaitPaste,
        Restore
    };
    Q_ENUM(Step)

    static constexpr int kStepDelayMs = 20;
    static constexpr int kPumpCount = 7;
    static constexpr int kReadQuietMs = 100;
    static constexpr int kPasteWaitLimitMs = 1500;
    // Format that tells clipboard managers not to keep or show the content.
    static const char kSecretHintFormat[];

    // With the real clipboard, key injection and timers.
    explicit PasteText(QObject* parent = nullptr);
    PasteText(std::unique_ptr<KeyInjector> keys, std::unique_ptr<ClipboardAccess> clipboard,
              std::unique_ptr<StepTimer> timer, QObject* parent = nullptr);
    ~PasteText() override;

    // Asked just before the paste key is typed: false leaves the control alone
    // (the page moved to another site meanwhile, say) and the clipboard is
    // restored at once.
    using MayType = std::function<bool()>;

    // Pastes text into the focused control, after the pastes already asked for.
    // A secret text (a user name or password) is marked so while on the clipboard.
    void paste(const QString& text, bool secret = false, MayType mayType = {});

    void beginBatch();
    void pasteInBatch(const QString& text, bool secret = false, MayType mayType = {});
    void endBatch();
    bool isBatchOpen() const { return m_batchOpen; }

    bool isBusy() const { return m_running; }
    int pendingCount() const { return m_queue.size() + m_deferred.size(); }

signals:
    void stepDone(PasteText::Step step);
    // One paste has ended: its keys are typed and the clipboard is restored
    // (within a batch: held for the next paste).
    void finished();
    // The last queued paste has ended (within a batch: the last of the batch's).
    void idle();

private:
    struct Request {
        QString text;
        bool secret = false;
        bool inBatch = false;
        bool restoreOnly = false;  // the end of a batch whose pastes have all ended
        MayType mayType;
        bool withheld = false;  // mayType said no: no paste key, nothing to wait for
    };

    void startNext();
    void runStep(int index);
    void scheduleStep(int index, int delayMs);
    void scheduleWake(int index);
    void noteReads();
    void readSeen();
    bool pasteTaken(int quietMs) const;
    bool holdsClipboardForBatch() const { return m_current.inBatch && m_batchOpen; }
    void doStep(Step step);
    void placeText();
    void restoreClipboard();
    bool clipboardStillOurs() const;

    std::unique_ptr<KeyInjector> m_keys;
    std::unique_ptr<ClipboardAccess> m_clipboard;
    std::unique_ptr<StepTimer> m_timer;
    QQueue<Request> m_queue;
    QQueue<Request> m_deferred;  // asked for during a batch
    Request m_current;
    enum class Sequence {
        Single,
        InBatch,
        RestoreOnly
    };
    Sequence m_sequence = Sequence::Single;
    bool m_running = false;
    bool m_batchOpen = false;
    std::unique_ptr<QMimeData> m_saved;
    bool m_holding = false;  // m_saved is the user's clipboard, still to be restored
    quint64 m_serial = 0;  // marks the content this object placed on the clipboard
    QString m_placedText;  // what was placed last, for a clipboard that changed hands
    std::shared_ptr<PlacedTextReads> m_textReads;  // counted by the placed text itself
    int m_textReadsAtVDown = 0;
    int m_textReadsSeen = 0;
    int m_lastReadSeenMs = 0;
    int m_elapsedMs = 0;
    quint64 m_stepToken = 0;  // the one scheduled step still to run; older ones were overtaken
    int m_awaitingReadAt = -1;  // a batch paste's hand-over, woken by the first read
};
