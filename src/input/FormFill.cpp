#include "FormFill.h"

#include "PasteText.h"

#include <QPointer>
#include <QTimer>

FormFill::FormFill(PasteText& paste, QObject* parent) : QObject(parent), m_paste(&paste)
{
    // Within the batch only the fill's own pastes run: idle means the last
    // field's paste has handed over (its control has begun to read the text,
    // or the pastes before the fill are done). The focus of the next field is
    // asked only now, so the page answers it after that paste.
    connect(m_paste, &PasteText::idle, this, [this] {
        if (!m_awaitingPaste)
            return;
        m_awaitingPaste = false;
        fillNext();
    });
}

bool FormFill::takes(Focus field, HotkeyTarget target)
{
    switch (target.kind) {
    case HotkeyTarget::Kind::Password: return field == Focus::PasswordField;
    case HotkeyTarget::Kind::UserName: return field == Focus::SingleLineField;
    default: return field != Focus::Missing && field != Focus::PageLeft;
    }
}

bool FormFill::start(const QList<Field>& fields, FocusField focusField, std::function<bool()> mayType)
{
    if (m_running || !m_paste)
        return false;
    m_running = true;
    m_fields = fields;
    m_focusField = std::move(focusField);
    m_mayType = std::move(mayType);
    m_texts.clear();
    for (const Field& field : m_fields)
        m_texts << (m_textFor ? m_textFor(field.target) : QString());
    m_outcome = Outcome{};
    m_next = 0;
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
        m_outcome.empty << m_fields.at(m_next++);
    if (m_next >= m_fields.size() || !m_paste) {
        finish();
        return;
    }
    const int index = m_next++;
    const quint64 serial = ++m_focusSerial;
    QPointer<FormFill> self(this);
    auto answer = [self, index, serial](Focus focus) {
        if (self && self->m_running && self->m_focusSerial == serial) {
            ++self->m_focusSerial;  // one answer per field
            self->focused(index, focus);
        }
    };
    QTimer::singleShot(kFocusWaitLimitMs, this, [answer] { answer(Focus::Missing); });
    m_focusField(m_fields.at(index).locator, answer);
}

void FormFill::focused(int index, Focus focus)
{
    const Field& field = m_fields.at(index);
    if (focus == Focus::PageLeft || !m_paste) {  // the page moved on, or the program is closing
        m_outcome.pageLeft = focus == Focus::PageLeft;
        finish();
        return;
    }
    if (focus == Focus::Missing || !takes(focus, field.target)) {
        (focus == Focus::Missing ? m_outcome.missing : m_outcome.unsuitable) << field;
        fillNext();
        return;
    }
    ++m_outcome.filled;
    m_outcome.articleTextFilled = m_outcome.articleTextFilled || field.target.isArticleText();
    m_awaitingPaste = true;
    m_paste->pasteInBatch(m_texts.at(index), field.target.isCredential(), m_mayType);
}

void FormFill::finish()
{
    m_running = false;
    m_texts.clear();  // the texts are not kept past the fill
    if (m_paste)
        m_paste->endBatch();
    emit finished(m_outcome);
}
