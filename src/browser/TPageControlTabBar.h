#pragma once

#include <QTabBar>

// The owner-drawn tab strip of PageControl: the shown tab bold on a light blue-grey, the
// others regular on the window's background, every caption centred on one line.
class TPageControlTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit TPageControlTabBar(QWidget* parent = nullptr);

    static QColor selectedTabColor();  // rgb(229, 234, 238)
    static QColor otherTabColor();  // rgb(245, 250, 254)
    QFont tabFont(bool selected) const;

signals:
    // The second press of a left-button double-click, on tab `index` (already selected by
    // the first press).
    void tabLeftDoubleClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize tabSizeHint(int index) const override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PageControlDrawTab(QPainter& painter, int tabIndex, const QRect& rect);
};
