#pragma once

#include "HotkeyTarget.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class PasteText;

// Fills a form in one go: for each field, in order, the caller's callback
// focuses the field and selects its content, then the field's text goes in
// through PasteText, as a hotkey's would. The pastes are one batch: the
// user's clipboard comes back once, after the last, and hotkeys pressed
// meanwhile wait until the fill is done. A fill started while a paste runs
// begins when that paste has ended. The fill stops when the page it began on
// is left.
class FormFill : public QObject {
    Q_OBJECT
public:
    struct Field {
        QString locator;  // where the field is, in the caller's terms
        HotkeyTarget target;  // what it gets
    };
    // What the caller found for a field: what kind of field it is, that the
    // page has none, or that the page is no longer the one the fill began on.
    enum class Focus {
        Missing,
        PasswordField,  // an <input type=password>
        SingleLineField,  // another single-line input
        TextField,  // a text area, an editor
        PageLeft
    };
    // Focuses the field and selects what it holds (nothing is touched when
    // the answer is Missing or PageLeft). A field's kind must be the page's
    // own answer to a script run in it: it comes only after the page has
    // ended the paste into the previous field, whose text stays on the
    // clipboard until then (see PasteText's batch).
    using FocusField = std::function<void(const QString& locator, std::function<void(Focus)> done)>;
    // A focus that has not answered by then counts as not found.
    static constexpr int kFocusWaitLimitMs = 3000;

    struct Outcome {
        int filled = 0;
        bool articleTextFilled = false;
        QList<Field> missing;  // not on the page
        QList<Field> empty;  // no text now: left alone, as a hotkey leaves them
        QList<Field> unsuitable;  // a password not into a password field, a user name not into one line
        bool pageLeft = false;  // the page moved on: the rest was not filled
    };

    explicit FormFill(PasteText& paste, QObject* parent = nullptr);

    void setTextFor(std::function<QString(HotkeyTarget)> textFor) { m_textFor = std::move(textFor); }

    // A credential only ever goes into its own kind of field, whatever the
    // locator says: a password into a password field, a user name into a
    // single-line input.
    static bool takes(Focus field, HotkeyTarget target);

    // False, and nothing happens, while a fill runs. The texts are read now.
    // `mayType` is asked before each paste key (see PasteText::MayType).
    bool start(const QList<Field>& fields, FocusField focusField, std::function<bool()> mayType = {});
    bool isRunning() const { return m_running; }

signals:
    void finished(const FormFill::Outcome& outcome);

private:
    void fillNext();
    void focused(int index, Focus focus);
    void finish();

    QPointer<PasteText> m_paste;
    std::function<QString(HotkeyTarget)> m_textFor;
    FocusField m_focusField;
    std::function<bool()> m_mayType;
    QList<Field> m_fields;
    QStringList m_texts;
    Outcome m_outcome;
    int m_next = 0;
    quint64 m_focusSerial = 0;  // tells the awaited answer from a late one
    bool m_running = false;
    bool m_awaitingPaste = false;
};
