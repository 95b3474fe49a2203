#pragma once

#include <QPixmap>
#include <QWidget>

// One edge of the skinned window frame, drawn from the frame pictures: the top
// (15 high) and bottom (11 high) edges are a left corner, a stretched middle and
// a right corner, each corner 14 wide; a side edge (10 wide) is one stretched
// picture. Windows place four of these around their contents.
class FrameEdge : public QWidget {
    Q_OBJECT
public:
    enum Side {
        Top,
        Bottom,
        Left,
        Right
    };

    explicit FrameEdge(Side side, QWidget* parent = nullptr);

    Side side() const { return m_side; }
    // True when all pictures of this edge were found.
    bool hasPictures() const;

    static constexpr int TopHeight = 15;
    static constexpr int BottomHeight = 11;
    static constexpr int SideWidth = 10;
    static constexpr int CornerWidth = 14;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Side m_side;
    QPixmap m_start;  // left corner (top, bottom edges)
    QPixmap m_middle;  // stretched piece
    QPixmap m_end;  // right corner
};
