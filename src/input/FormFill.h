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
// begins when that paste has ended.
class FormFill : public QObject {
    Q_OBJECT
public:
    struct Field {
        QString locator;  // where the field is, in the caller's terms
        HotkeyTarget target;  // what it gets
    };
    // Focuses the field and selects what it holds; `found` false when the page
    // has no such field (then nothing was touched).
    using FocusField = std::function<void(const QString& locator, std::function<void(bool found)> done)>;
    // A focus that has not answered by then counts as not found.
    static constexpr int kFocusWaitLimitMs = 3000;

    explicit FormFill(PasteText& paste, QObject* parent = nullptr);

    void setTextFor(std::function<QString(HotkeyTarget)> textFor) { m_textFor = std::move(textFor); }

    // False, and nothing happens, while a fill runs. The texts are read now.
    bool start(const QList<Field>& fields, FocusField focusField);
    bool isRunning() const { return m_running; }

signals:
    // `filled` fields got their text, `missing` ones were not on the page,
    // `empty` ones have no text now and were left alone, as a hotkey leaves them.
    void finished(int filled, const QList<FormFill::Field>& missing, const QList<FormFill::Field>& empty);

private:
    void fillNext();
    void focused(int index, bool found);
    void finish();

    QPointer<PasteText> m_paste;
    std::function<QString(HotkeyTarget)> m_textFor;
    FocusField m_focusField;
    QList<Field> m_fields;
    QStringList m_texts;
    QList<Field> m_missing;
    QList<Field> m_empty;
    int m_next = 0;
    int m_filled = 0;
    quint64 m_focusSerial = 0;  // tells the awaited answer from a late one
    bool m_running = false;
    bool m_awaitingPaste = false;
};
