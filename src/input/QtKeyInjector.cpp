#include "QtKeyInjector.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

void QtKeyInjector::injectKey(Qt::Key key, bool down)
{
    if (key == Qt::Key_Control)
        m_ctrlDown = down;
    // Like the platform's own events: a Ctrl press already carries the Ctrl
    // modifier, its release no longer does.
    const Qt::KeyboardModifiers modifiers =
        (m_ctrlDown || (key == Qt::Key_Control && down)) ? Qt::ControlModifier : Qt::NoModifier;

    // Asked again for every key: the focus may move between two keys, as it may
    // while a user types.
    QObject* receiver = QApplication::focusWidget();
    if (!receiver)
        receiver = QGuiApplication::focusObject();
    if (!receiver)
        return;  // nothing has the keyboard focus: the key goes nowhere
    QCoreApplication::postEvent(receiver, new QKeyEvent(down ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers));
}
