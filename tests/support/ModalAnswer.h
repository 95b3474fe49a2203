#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Answers a modal dialog from inside its own event loop: `answer` runs with
// the topmost modal widget of type T as soon as one is showing. Gives up
// after a generous number of looks so a test that never shows one ends;
// deleting the returned timer stops the watch at once.
template <class T>
QPointer<QTimer> answerModal(std::function<void(T*)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto looks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, looks] {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if ((modal && modal->isVisible()) || ++*looks > 3000) {
            timer->stop();
            timer->deleteLater();
            if (modal)
                answer(modal);
        }
    });
    timer->start();
    return timer;
}
