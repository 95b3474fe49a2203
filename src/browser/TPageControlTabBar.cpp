#include "TPageControlTabBar.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int TabFontPoints = 11;
constexpr int CaptionPadding = 12;  // on each side of a caption
constexpr int VerticalPadding = 6;
}  // namespace

TPageControlTabBar::TPageControlTabBar(QWidget* parent) : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(true);
    // Removing the shown tab shows its left neighbour, as the close commands require.
    setSelectionBehaviorOnRemove(QTabBar::SelectLeftTab);
}

QColor TPageControlTabBar::selectedTabColor() { return QColor(229, 234, 238); }

QColor TPageControlTabBar::otherTabColor() { return QColor(245, 250, 254); }

QFont TPageControlTabBar::tabFont(bool selected) const
{
    QFont f = font();
    f.setPointSize(TabFontPoints);
    f.setBold(selected);
    return f;
}

QSize TPageControlTabBar::tabSizeHint(int index) const
{
    // Sized for the bold face, so a tab keeps its width when it is selected.
    const QFontMetrics metrics(tabFont(true));
    const int width = metrics.horizontalAdvance(tabText(index)) + 2 * CaptionPadding;
    return QSize(qMax(width, 40), metrics.height() + 2 * VerticalPadding);
}

void TPageControlTabBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < count(); ++i) {
        const QRect rect = tabRect(i);
        if (rect.isValid() && rect.intersects(this->rect()))
            PageControlDrawTab(painter, i, rect);
    }
}

void TPageControlTabBar::PageControlDrawTab(QPainter& painter, int tabIndex, const QRect& rect)
{
    const bool selected = tabIndex == currentIndex();
    painter.fillRect(rect, selected ? selectedTabColor() : otherTabColor());
    painter.setPen(QColor(Qt::gray));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.setFont(tabFont(selected));
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, tabText(tabIndex));
    // With the keyboard focus on the strip (Left and Right switch tabs, the
    // menu key opens its menu), the shown tab is framed.
    if (selected && hasFocus()) {
        painter.save();
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
        painter.drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
        painter.restore();
    }
}

void TPageControlTabBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int index = tabAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0) {
        event->accept();
        emit tabLeftDoubleClicked(index);
        return;
    }
    QTabBar::mouseDoubleClickEvent(event);
}
