#include "FocusMarkStyle.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <QStyleOption>

namespace {

constexpr int FocusMarkWidth = 2;

void drawFocusMark(QPainter* painter, const QRect& rect, const QPalette& palette)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(palette.color(QPalette::Active, QPalette::Highlight), FocusMarkWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

bool hasFocus(const QStyleOption* option) { return option->state.testFlag(QStyle::State_HasFocus); }

// A flat button is its picture: nothing of the style's own focus frame shows.
bool isFlatButton(const QStyleOption* option)
{
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    return button && button->features.testFlag(QStyleOptionButton::Flat);
}

}  // namespace

FocusMarkStyle::FocusMarkStyle(const QString& baseStyleName) : QProxyStyle(baseStyleName) {}

// A scroll area's frame is painted with the area, not on a change of focus.
void FocusMarkStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    if (qobject_cast<QAbstractScrollArea*>(widget))
        widget->installEventFilter(this);
}

void FocusMarkStyle::unpolish(QWidget* widget)
{
    if (qobject_cast<QAbstractScrollArea*>(widget))
        widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool FocusMarkStyle::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        static_cast<QWidget*>(watched)->update();
    return QProxyStyle::eventFilter(watched, event);
}

// The frame of a list or multi-line field is as wide as its focus mark:
// the contents would cover the mark's inner line.
int FocusMarkStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    const int width = QProxyStyle::pixelMetric(metric, option, widget);
    const auto* area = qobject_cast<const QAbstractScrollArea*>(widget);
    if (metric == PM_DefaultFrameWidth && area && area->focusPolicy() != Qt::NoFocus)
        return qMax(width, FocusMarkWidth);
    return width;
}

void FocusMarkStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    // Some styles draw these only after a key moved the focus; a list's
    // current item and a check box show it from the start.
    if (element == PE_FrameFocusRect && option) {
        if (const auto* frame = qstyleoption_cast<const QStyleOptionFocusRect*>(option)) {
            QStyleOptionFocusRect shown(*frame);
            shown.state |= State_KeyboardFocusChange;
            QProxyStyle::drawPrimitive(element, &shown, painter, widget);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void FocusMarkStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    const bool focusedArea = element == CE_ShapedFrame && qobject_cast<const QAbstractScrollArea*>(widget);
    const bool flatButton = element == CE_PushButton && isFlatButton(option);
    if ((focusedArea || flatButton) && hasFocus(option))
        drawFocusMark(painter, option->rect, option->palette);
}

void FocusMarkStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                        const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ToolButton && hasFocus(option))
        drawFocusMark(painter, option->rect, option->palette);
}
