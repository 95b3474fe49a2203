#include "UserPressWatch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

const char LastPressProperty[] = "qvbLastUserPressMs";
const char LastTypingProperty[] = "qvbLastUserTypingMs";

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

bool isTyping(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return false;
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return false;
    default: return true;
    }
}

qint64 msSince(const QWebEnginePage* page, const char* property)
{
    if (!page)
        return -1;
    const QVariant last = page->property(property);
    return last.isValid() ? pressClock().elapsed() - last.toLongLong() : -1;
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

qint64 UserPressWatch::msSinceLastPress(const QWebEnginePage* page) { return msSince(page, LastPressProperty); }

qint64 UserPressWatch::msSinceLastTyping(const QWebEnginePage* page) { return msSince(page, LastTypingProperty); }

void UserPressWatch::noteTyping(QWebEnginePage* page)
{
    if (page)
        page->setProperty(LastTypingProperty, pressClock().elapsed());
}

bool UserPressWatch::eventFilter(QObject* watched, QEvent* event)
{
    // Every event of the application passes here: all but presses leave at once.
    if (!event->spontaneous() || !watched->isWidgetType())
        return false;
    const bool press = isPress(event), typing = isTyping(event);
    if (!press && !typing)
        return false;
    if (QWebEnginePage* page = pageOfWidget(static_cast<QWidget*>(watched))) {
        if (press)
            page->setProperty(LastPressProperty, pressClock().elapsed());
        if (typing)
            page->setProperty(LastTypingProperty, pressClock().elapsed());
    }
    return false;
}
