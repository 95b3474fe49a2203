#include "UserPressWatch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

const char LastPressProperty[] = "qvbLastUserPressMs";

QElapsedTimer& pressClock()
{
    static QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started;
}

bool isPress(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: return true;
    case QEvent::KeyPress: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        return !key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    }
    default: return false;
    }
}

// A press in a dialog over the view (a page's prompt()) is not one in the page.
QWebEnginePage* pageOfWidget(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (auto* view = qobject_cast<QWebEngineView*>(w))
            return view->page();
    return nullptr;
}

}  // namespace

void UserPressWatch::install()
{
    static UserPressWatch* watch = nullptr;
    if (watch || !qApp)
        return;
    watch = new UserPressWatch(qApp);
    pressClock();
    qApp->installEventFilter(watch);
}

qint64 UserPressWatch::msSinceLastPress(const QWebEnginePage* page)
{
    if (!page)
        return -1;
    const QVariant last = page->property(LastPressProperty);
    return last.isValid() ? pressClock().elapsed() - last.toLongLong() : -1;
}

bool UserPressWatch::eventFilter(QObject* watched, QEvent* event)
{
    // Every event of the application passes here: all but presses leave at once.
    if (!event->spontaneous() || !isPress(event) || !watched->isWidgetType())
        return false;
    if (QWebEnginePage* page = pageOfWidget(static_cast<QWidget*>(watched)))
        page->setProperty(LastPressProperty, pressClock().elapsed());
    return false;
}
