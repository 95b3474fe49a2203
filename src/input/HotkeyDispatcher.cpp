#include "HotkeyDispatcher.h"

#include "HotkeyTable.h"
#include "PasteText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

// Keys the page must get even without Ctrl. Up and Down are not among them: they
// take the normal way.
bool isPageEditingKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Delete: return true;
    default: return false;
    }
}

bool isRoutedKey(const QKeyEvent* event)
{
    return isPageEditingKey(event->key()) || (event->modifiers() & Qt::ControlModifier);
}

bool isInside(const QWidget* widget, const QWidget* container)
{
    return widget && (widget == container || container->isAncestorOf(widget));
}

}  // namespace

HotkeyDispatcher::HotkeyDispatcher(QObject* parent) : HotkeyDispatcher(new PasteText, parent) {}

HotkeyDispatcher::HotkeyDispatcher(PasteText* paste, QObject* parent) : QObject(parent), m_paste(paste)
{
    m_paste->setParent(this);
}

HotkeyDispatcher::~HotkeyDispatcher() { detach(); }

void HotkeyDispatcher::setCurrentBrowser(std::function<QWidget*()> currentBrowser)
{
    m_currentBrowser = std::move(currentBrowser);
}

void HotkeyDispatcher::setTextFor(std::function<QString(HotkeyTarget)> textFor) { m_textFor = std::move(textFor); }

void HotkeyDispatcher::addCommandKey(QKeyCombination key, std::function<void()> command)
{
    m_commandKeys.emplace_back(key, std::move(command));
}

void HotkeyDispatcher::attach()
{
    if (m_attached || !qApp)
        return;
    qApp->installEventFilter(this);
    m_attached = true;
}

void HotkeyDispatcher::detach()
{
    if (!m_attached)
        return;
    if (qApp)
        qApp->removeEventFilter(this);
    m_attached = false;
}

bool HotkeyDispatcher::eventFilter(QObject* watched, QEvent* event)
{
    // Runs for every event of the application: all but key presses leave at once.
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    // One press meets this filter several times: first for its top-level window,
    // then for the focus widget (and, inside a web view, for its internal
    // windows and items). Acting only on widgets acts once: a bound press is
    // consumed by the first widget that sees it and comes round no more.
    if (!watched->isWidgetType())
        return false;
    QWidget* browser = m_currentBrowser ? m_currentBrowser() : nullptr;
    if (!browser)
        return false;

    auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (handleCommandKey(browser, keyEvent))
        return true;
    bool handled = RouteBrowserKey(browser, static_cast<QWidget*>(watched), keyEvent);

    if (HotkeyTable::lookup(*keyEvent)) {
        if (type == QEvent::ShortcutOverride) {
            // A window shortcut on the same key must not take the hotkey away.
            event->accept();
            return true;
        }
        handled = handleHotkey(keyEvent);
    }
    return handled;
}

bool HotkeyDispatcher::RouteBrowserKey(QWidget* browser, QWidget* receiver, QKeyEvent* event) const
{
    if (!isRoutedKey(event))
        return false;
    if (isInside(receiver, browser)) {
        if (event->type() == QEvent::ShortcutOverride) {
            // Accepting the override means: no shortcut, deliver the key press.
            event->accept();
            return true;
        }
        return false;  // the key press goes its normal way: into the page
    }
    // A key the page did not use comes back to the browser's parents: the web view
    // sends it on, and Qt first offers a key sent that way to the window's
    // shortcuts. Taken there it would run a window command (Ctrl+key), move the
    // focus out of the page (Tab) or press a dialog's default button (Enter): it
    // ends here, as it would have in the page.
    const QWidget* focus = QApplication::focusWidget();
    if (!receiver->isAncestorOf(browser) || !isInside(focus, browser))
        return false;
    event->accept();
    return true;
}

bool HotkeyDispatcher::handleCommandKey(QWidget* browser, QKeyEvent* event)
{
    if (m_commandKeys.empty())
        return false;
    // Only in the browser's own window: a dialog or another window keeps its keys.
    if (QApplication::activeWindow() != browser->window() || QApplication::activeModalWidget())
        return false;
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QKeyCombination pressed(modifiers, Qt::Key(event->key()));
    for (const auto& [key, command] : m_commandKeys) {
        if (key != pressed)
            continue;
        event->accept();
        if (event->type() == QEvent::KeyPress && !event->isAutoRepeat())
            command();
        return true;
    }
    return false;
}

bool HotkeyDispatcher::handleHotkey(QKeyEvent* event)
{
    const auto target = HotkeyTable::lookup(*event);
    event->accept();
    // A hotkey held down pastes once, not once per repeat.
    if (event->isAutoRepeat())
        return true;
    const QString text = m_textFor ? m_textFor(*target) : QString();
    // Nothing to paste: the clipboard and the field are left alone.
    if (text.isEmpty())
        return true;
    QPointer<QWidget> receiver = QApplication::focusWidget();
    // The gate may answer later (it asks the page, or the user).
    Paste paste = [self = QPointer<HotkeyDispatcher>(this), text, target = *target,
                   receiver](std::function<bool()> mayType) {
        if (!self)
            return;
        self->m_paste->paste(text, target.isCredential(), std::move(mayType));
        emit self->hotkeyPasted(target, receiver);
    };
    if (target->isCredential() && m_credentialGate)
        m_credentialGate(*target, receiver, std::move(paste));
    else
        paste({});
    return true;
}
