#pragma once

#include <QPointer>

class QFrame;
class QLabel;
class QScrollArea;
class QSplitter;
class QVBoxLayout;
class QWidget;

// The regions of the main window, outermost first. The window builds them
// empty; each subsystem's panel is then placed into its region.
struct MainLayout {
    QWidget* PnlTop = nullptr;  // frame top edge, 15 high
    QWidget* PnlBottom = nullptr;  // frame bottom edge, 11 high
    QWidget* Panel8 = nullptr;  // frame left edge, 10 wide
    QWidget* Panel9 = nullptr;  // frame right edge, 10 wide
    QWidget* SbCenter = nullptr;
    QWidget* SbAvert = nullptr;  // banner strip, 60 high
    QLabel* Image48 = nullptr;  // banner picture
    QWidget* Panel7 = nullptr;  // spacer, 5 high
    QSplitter* Splitter1 = nullptr;  // left column | browser column
    QWidget* ScrollBoxLeft = nullptr;  // left column
    QWidget* SbLeftPnl = nullptr;  // list column, 176 wide
    QSplitter* Splitter4 = nullptr;  // site list | article list
    QWidget* Panel10 = nullptr;  // about and exit buttons, 25 high
    QScrollArea* PnlArticleEdit = nullptr;  // holds the content panel
    QWidget* ScrollBox1 = nullptr;  // browser column
    QVBoxLayout* browserColumn = nullptr;
    QWidget* Panel1 = nullptr;  // address bar above the tabs
    QVBoxLayout* browserArea = nullptr;
    QWidget* PnlRoll = nullptr;  // hint line strip, 22 high
    QLabel* LblHint = nullptr;

    static constexpr int ListColumnWidth = 176;
    static constexpr int EditColumnWidth = 400;

    // Builds every region inside `window` (which gets a fresh layout).
    static MainLayout build(QWidget* window);
};
