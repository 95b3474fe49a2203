#include "TabStops.h"

#include <QApplication>
#include <QScrollArea>
#include <QWidget>

namespace TabStops {

namespace {

bool isInside(const QWidget* widget, const QWidget* region) { return widget == region || region->isAncestorOf(widget); }

// A widget that hands its focus on to another is no stop of its own.
bool takesTabFocus(const QWidget* widget) { return (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy(); }

bool canTakeFocusNow(const QWidget* stop) { return stop->isVisible() && stop->isEnabled(); }

void scrollIntoView(QWidget* stop)
{
    for (QWidget* outer = stop->parentWidget(); outer; outer = outer->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(outer))
            area->ensureWidgetVisible(stop);
}

}  // namespace

QList<QWidget*> collect(const QWidget* window, const QList<QWidget*>& regions)
{
    // The window's focus chain holds each region's controls in the order the
    // region made them.
    QList<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (takesTabFocus(w))
            chain << w;
    QList<QWidget*> stops;
    for (const QWidget* region : regions)
        for (QWidget* w : chain)
            if (region && isInside(w, region))
                stops << w;
    return stops;
}

bool moveFocus(const QList<QWidget*>& stops, bool next)
{
    const QWidget* focus = QApplication::focusWidget();
    qsizetype at = -1;
    for (qsizetype i = 0; i < stops.size() && at < 0; ++i)
        if (focus && isInside(focus, stops.at(i)))
            at = i;
    if (at < 0)
        return false;
    const qsizetype count = stops.size();
    for (qsizetype step = 1; step < count; ++step) {
        QWidget* candidate = stops.at((at + (next ? step : count - step)) % count);
        if (!canTakeFocusNow(candidate))
            continue;
        candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        scrollIntoView(candidate);
        return true;
    }
    return true;  // no other stop can take it: the focus stays
}

}  // namespace TabStops
