#include "FrameEdge.h"

#include "Pictures.h"

#include <QPainter>

FrameEdge::FrameEdge(Side side, QWidget* parent) : QWidget(parent), m_side(side)
{
    switch (side) {
    case Top:
        m_start = picture(QStringLiteral("PnlTopLeft"));
        m_middle = picture(QStringLiteral("PnlTopMiddle"));
        m_end = picture(QStringLiteral("PnlTopRight"));
        setFixedHeight(TopHeight);
        break;
    case Bottom:
        m_start = picture(QStringLiteral("PnlBottomLeft"));
        m_middle = picture(QStringLiteral("PnlBottomMiddle"));
        m_end = picture(QStringLiteral("PnlBottomRight"));
        setFixedHeight(BottomHeight);
        break;
    case Left:
        m_middle = picture(QStringLiteral("Panel8"));
        setFixedWidth(SideWidth);
        break;
    case Right:
        m_middle = picture(QStringLiteral("Panel9"));
        setFixedWidth(SideWidth);
        break;
    }
    // Corners are rounded: let the parent's background show through them.
    setAttribute(Qt::WA_TranslucentBackground);
}

bool FrameEdge::hasPictures() const
{
    const bool horizontal = m_side == Top || m_side == Bottom;
    return !m_middle.isNull() && (!horizontal || (!m_start.isNull() && !m_end.isNull()));
}

void FrameEdge::paintEvent(QPaintEvent*)
{
    if (m_middle.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_side == Left || m_side == Right) {
        painter.drawPixmap(rect(), m_middle);
        return;
    }
    const int corner = qMin(CornerWidth, width() / 2);
    const int middleWidth = width() - 2 * corner;
    if (middleWidth > 0)
        painter.drawPixmap(QRect(corner, 0, middleWidth, height()), m_middle);
    if (!m_start.isNull())
        painter.drawPixmap(QRect(0, 0, corner, height()), m_start);
    if (!m_end.isNull())
        painter.drawPixmap(QRect(width() - corner, 0, corner, height()), m_end);
}
