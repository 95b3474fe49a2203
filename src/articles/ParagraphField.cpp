#include "ParagraphField.h"

#include <QKeyEvent>

ParagraphField::ParagraphField(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
}

void ParagraphField::keyPressEvent(QKeyEvent* event)
{
    // Plain Tab and Shift+Tab never get here (the focus has moved on); with
    // Ctrl held they would type a tab instead.
    const bool back = event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        focusNextPrevChild(!back);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
