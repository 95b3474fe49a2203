#pragma once

#include "HotkeyTarget.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class PasteText;
class QKeyEvent;
class QWidget;

// The application-wide key hook. For every key press, once:
//  1. RouteBrowserKey: editing keys aimed at the current browser (Tab, Enter,
//     Backspace, Left, Right, Delete and any Ctrl key) reach the page; window
//     shortcuts and the focus chain never take them.
//  2. A bound Ctrl+key (HotkeyTable) pastes its text through PasteText and goes
//     no further.
// It knows the rest of the program only through two callbacks: the current
// browser (null when there is none; then the hook does nothing) and the text of
// a hotkey target, read at the moment of the press.
class HotkeyDispatcher : public QObject {
    Q_OBJECT
public:
    // Pastes through a PasteText on the real clipboard and keyboard.
    explicit HotkeyDispatcher(QObject* parent = nullptr);
    // Pastes through the given PasteText, which becomes a child of the dispatcher.
    explicit HotkeyDispatcher(PasteText* paste, QObject* parent = nullptr);
    ~HotkeyDispatcher() override;

    // Asked before a credential (a user name or password) is pasted into
    // `receiver`: calls `paste` when it may go there, with a check for the
    // moment the paste key is typed, or never. Without a gate it is pasted.
    using Paste = std::function<void(std::function<bool()> mayType)>;
    using CredentialGate = std::function<void(HotkeyTarget target, QWidget* receiver, Paste paste)>;
    void setCredentialGate(CredentialGate gate) { m_credentialGate = std::move(gate); }

    void setCurrentBrowser(std::function<QWidget*()> currentBrowser);
    void setTextFor(std::function<QString(HotkeyTarget)> textFor);
    // The same texts for whatever else pastes them (the form fill).
    const std::function<QString(HotkeyTarget)>& textFor() const { return m_textFor; }
    // A key that runs a command of the window holding the current browser,
    // wherever the focus is in that window (in the page, in a field, or on
    // no control). A held key runs it once.
    void addCommandKey(QKeyCombination key, std::function<void()> command);

    // Installs / removes the hook on the application. Both may be repeated.
    void attach();
    void detach();
    bool isAttached() const { return m_attached; }

    PasteText* pasteText() const { return m_paste; }

signals:
    // A hotkey's text is on its way into `receiver` (the focus widget).
    void hotkeyPasted(HotkeyTarget target, QWidget* receiver);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool RouteBrowserKey(QWidget* browser, QWidget* receiver, QKeyEvent* event) const;
    bool handleHotkey(QKeyEvent* event);
    bool handleCommandKey(QWidget* browser, QKeyEvent* event);

    PasteText* m_paste;
    std::function<QWidget*()> m_currentBrowser;
    std::function<QString(HotkeyTarget)> m_textFor;
    CredentialGate m_credentialGate;
    std::vector<std::pair<QKeyCombination, std::function<void()>>> m_commandKeys;
    bool m_attached = false;
};
