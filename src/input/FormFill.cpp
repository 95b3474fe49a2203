#include "FormFill.h"

#include "PasteText.h"

#include <QPointer>
#include <QTimer>

FormFill::FormFill(PasteText& paste, QObject* parent) : QObject(parent), m_paste(&paste)
{
    // Within the batch only the fill's own pastes run: idle means the last
    // field's paste has handed over (or the pastes before the fill are done).
    connect(m_paste, &PasteText::idle, this, [this] {
        if (!m_awaitingPaste)
            return;
        m_awaitingPaste = false;
        fillNext();
    });
}

bool FormFill::start(const QList<Field>& fields, FocusField focusField)
{
    if (m_running || !m_paste)
        return false;
    m_running = true;
    m_fields = fields;
    m_focusField = std::move(focusField);
    m_texts.clear();
    for (const Field& field : m_fields)
        m_texts << (m_textFor ? m_textFor(field.target) : QString());
    m_missing.clear();
    m_empty.clear();
    m_next = 0;
    m_filled = 0;
    m_paste->beginBatch();
    // A paste that runs still types into its own field: the focus moves after it.
    if (m_paste->isBusy())
        m_awaitingPaste = true;
    else
        fillNext();
    return true;
}

void FormFill::fillNext()
{
    while (m_next < m_fields.size() && m_texts.at(m_next).isEmpty())
        m_empty << m_fields.at(m_next++);
    if (m_next >= m_fields.size() || !m_paste) {
        finish();
        return;
    }
    const int index = m_next++;
    const quint64 serial = ++m_focusSerial;
    QPointer<FormFill> self(this);
    auto answer = [self, index, serial](bool found) {
        if (self && self->m_running && self->m_focusSerial == serial) {
            ++self->m_focusSerial;  // one answer per field
            self->focused(index, found);
        }
    };
    QTimer::singleShot(kFocusWaitLimitMs, this, [answer] { answer(false); });
    m_focusField(m_fields.at(index).locator, answer);
}

void FormFill::focused(int index, bool found)
{
    if (!found) {
        m_missing << m_fields.at(index);
        fillNext();
        return;
    }
    if (!m_paste) {  // the program is closing
        finish();
        return;
    }
    ++m_filled;
    m_awaitingPaste = true;
    m_paste->pasteInBatch(m_texts.at(index), m_fields.at(index).target.isCredential());
}

void FormFill::finish()
{
    m_running = false;
    m_texts.clear();  // the texts are not kept past the fill
    if (m_paste)
        m_paste->endBatch();
    emit finished(m_filled, m_missing, m_empty);
}
