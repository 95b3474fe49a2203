#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

// Closes `window` as its close button does, inside the application's own event
// loop, and tells whether that loop then ended, as the program's does when its
// last window closes. A box or a window left open keeps the loop running; it
// counts as not ended once `limitMs` have passed.
inline bool closeEndsTheRun(QWidget& window, int limitMs = 60000)
{
    QTimer::singleShot(0, &window, [&window] { window.windowHandle()->close(); });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    limit.start(limitMs);
    return QApplication::exec() == 0;
}
