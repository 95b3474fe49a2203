#include "MainLayout.h"

#include "FrameEdge.h"
#include "Pictures.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const char* const WindowColour = "#F5FAFE";
const char* const StripColour = "#F5FEFA";

QWidget* region(const char* name, QWidget* parent, const char* colour = nullptr)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QLatin1String(name));
    if (colour) {
        w->setAutoFillBackground(true);
        QPalette p = w->palette();
        p.setColor(QPalette::Window, QColor(QLatin1String(colour)));
        w->setPalette(p);
    }
    return w;
}

QVBoxLayout* vbox(QWidget* w)
{
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    return l;
}

QHBoxLayout* hbox(QWidget* w)
{
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    return l;
}

}  // namespace

MainLayout MainLayout::build(QWidget* window)
{
    MainLayout m;
    QVBoxLayout* outer = vbox(window);
    m.PnlTop = new FrameEdge(FrameEdge::Top, window);
    m.PnlTop->setObjectName(QStringLiteral("PnlTop"));
    m.PnlBottom = new FrameEdge(FrameEdge::Bottom, window);
    m.PnlBottom->setObjectName(QStringLiteral("PnlBottom"));
    auto* middle = new QWidget(window);
    QHBoxLayout* sides = hbox(middle);
    m.Panel8 = new FrameEdge(FrameEdge::Left, middle);
    m.Panel8->setObjectName(QStringLiteral("Panel8"));
    m.Panel9 = new FrameEdge(FrameEdge::Right, middle);
    m.Panel9->setObjectName(QStringLiteral("Panel9"));
    m.SbCenter = region("SbCenter", middle, WindowColour);
    sides->addWidget(m.Panel8);
    sides->addWidget(m.SbCenter, 1);
    sides->addWidget(m.Panel9);
    outer->addWidget(m.PnlTop);
    outer->addWidget(middle, 1);
    outer->addWidget(m.PnlBottom);

    QVBoxLayout* centre = vbox(m.SbCenter);
    m.SbAvert = region("SbAvert", m.SbCenter, StripColour);
    m.SbAvert->setFixedHeight(60);
    m.Image48 = new QLabel(m.SbAvert);
    m.Image48->setObjectName(QStringLiteral("Image48"));
    // The banner keeps its proportions; its right end fades into the strip.
    m.Image48->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m.Image48->setCursor(Qt::PointingHandCursor);
    LoadJpegPicture(m.Image48, QStringLiteral("topavert"));
    vbox(m.SbAvert)->addWidget(m.Image48);
    m.Panel7 = region("Panel7", m.SbCenter);
    m.Panel7->setFixedHeight(5);
    m.Splitter1 = new QSplitter(Qt::Horizontal, m.SbCenter);
    m.Splitter1->setObjectName(QStringLiteral("Splitter1"));
    m.Splitter1->setHandleWidth(6);
    m.Splitter1->setChildrenCollapsible(false);
    centre->addWidget(m.SbAvert);
    centre->addWidget(m.Panel7);
    centre->addWidget(m.Splitter1, 1);

    // Left column: the list column and, beside it, the content panel.
    m.ScrollBoxLeft = region("ScrollBoxLeft", m.Splitter1, WindowColour);
    QHBoxLayout* left = hbox(m.ScrollBoxLeft);
    m.SbLeftPnl = region("SbLeftPnl", m.ScrollBoxLeft);
    m.SbLeftPnl->setFixedWidth(ListColumnWidth);
    QVBoxLayout* lists = vbox(m.SbLeftPnl);
    m.Splitter4 = new QSplitter(Qt::Vertical, m.SbLeftPnl);
    m.Splitter4->setObjectName(QStringLiteral("Splitter4"));
    m.Splitter4->setHandleWidth(6);
    m.Splitter4->setChildrenCollapsible(false);
    m.Panel10 = region("Panel10", m.SbLeftPnl);
    m.Panel10->setFixedHeight(25);
    lists->addWidget(m.Splitter4, 1);
    lists->addWidget(m.Panel10);
    m.PnlArticleEdit = new QScrollArea(m.ScrollBoxLeft);
    m.PnlArticleEdit->setObjectName(QStringLiteral("PnlArticleEdit"));
    m.PnlArticleEdit->setFrameShape(QFrame::NoFrame);
    m.PnlArticleEdit->setWidgetResizable(true);
    m.PnlArticleEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m.PnlArticleEdit->setMinimumWidth(0);
    m.PnlArticleEdit->setFocusPolicy(Qt::NoFocus);  // Tab goes to the panel's fields, not to its frame
    left->addWidget(m.SbLeftPnl);
    left->addWidget(m.PnlArticleEdit, 1);
    m.ScrollBoxLeft->setMinimumWidth(ListColumnWidth + 1);

    // Browser column: credentials row, address bar and tabs, hint line.
    m.ScrollBox1 = region("ScrollBox1", m.Splitter1, WindowColour);
    m.browserColumn = vbox(m.ScrollBox1);
    m.Panel1 = region("Panel1", m.ScrollBox1);
    m.browserArea = vbox(m.Panel1);
    m.PnlRoll = region("PnlRoll", m.ScrollBox1, WindowColour);
    // One line high; a text longer than the column (two problems, a long path,
    // an English message) wraps onto more lines instead of widening the window.
    m.PnlRoll->setMinimumHeight(22);
    m.LblHint = new QLabel(m.PnlRoll);
    m.LblHint->setObjectName(QStringLiteral("LblHint"));
    m.LblHint->setAlignment(Qt::AlignCenter);
    m.LblHint->setWordWrap(true);
    // Names from pages and files are shown as they are, never as markup.
    m.LblHint->setTextFormat(Qt::PlainText);
    m.LblHint->setStyleSheet(QStringLiteral("color: red;"));
    QFont hintFont = m.LblHint->font();
    hintFont.setPixelSize(15);
    m.LblHint->setFont(hintFont);
    vbox(m.PnlRoll)->addWidget(m.LblHint);
    m.browserColumn->addWidget(m.Panel1, 1);
    m.browserColumn->addWidget(m.PnlRoll);

    m.Splitter1->addWidget(m.ScrollBoxLeft);
    m.Splitter1->addWidget(m.ScrollBox1);
    m.Splitter1->setStretchFactor(0, 0);
    m.Splitter1->setStretchFactor(1, 1);
    return m;
}
