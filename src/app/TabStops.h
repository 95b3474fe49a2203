#pragma once

#include <QList>

class QWidget;

// A window's tab order, region by region: the controls of each region in the
// order the region made them, then those of the next region. A region that
// gains or loses controls (a new page, a hidden panel) needs no new order.
namespace TabStops {

// The controls in `regions` that take the focus by Tab, in the regions' order.
QList<QWidget*> collect(const QWidget* window, const QList<QWidget*>& regions);

// Gives the focus to the stop after (or before) the focused one that can take
// it now: shown and enabled. A stop in a scroll area is scrolled into view.
// False when the focus is on none of the stops.
bool moveFocus(const QList<QWidget*>& stops, bool next);

}  // namespace TabStops
