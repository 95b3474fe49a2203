#pragma once

#include <QObject>

class QWebEnginePage;

// The user's own presses in each page: a click of the mouse or Enter,
// delivered by the window system (spontaneous events). What a page's script
// does (click(), dispatchEvent, form.submit()) and the keys the program types
// itself never count: neither reaches the program as a window system event.
// The time goes with the page the pressed view shows.
class UserPressWatch : public QObject {
    Q_OBJECT
public:
    // Installs the watch on the application, once; later calls do nothing.
    static void install();
    // Milliseconds since the user's last press in `page`'s view, or -1.
    static qint64 msSinceLastPress(const QWebEnginePage* page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
