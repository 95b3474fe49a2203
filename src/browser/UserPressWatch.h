#pragma once

#include <QObject>

class QWebEnginePage;

// The user's own presses in each page: a click of the mouse or Enter,
// delivered by the window system (spontaneous events). What a page's script
// does (click(), dispatchEvent, form.submit()) and the keys the program types
// itself never count: neither reaches the program as a window system event.
// The time goes with the page the pressed view shows. It also notes when the
// user last typed into each page: a key that can change a field (not a
// function key, a modifier alone, Tab or a key that only moves).
class UserPressWatch : public QObject {
    Q_OBJECT
public:
    // Installs the watch on the application, once; later calls do nothing.
    static void install();
    // Milliseconds since the user's last press in `page`'s view, or -1.
    static qint64 msSinceLastPress(const QWebEnginePage* page);
    // Milliseconds since the user last typed into `page`, or -1.
    static qint64 msSinceLastTyping(const QWebEnginePage* page);
    // Typing the watch cannot see: a hotkey's paste into the page.
    static void noteTyping(QWebEnginePage* page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
