#include "TAddressBar.h"

#include "InterfaceTexts.h"
#include "TPageControl.h"
#include "TWebbrowser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace {
constexpr int GlyphButtonSize = 25;
constexpr int FullScreenButtonWidth = 84;
}  // namespace

TAddressBar::TAddressBar(TPageControl& pages, QWidget* parent, ButtonPictureLoader loadPicture)
    : QWidget(parent), m_pages(pages), m_loadPicture(loadPicture)
{
    setObjectName(QStringLiteral("Panel2"));
    setFixedHeight(BarHeight);
    auto* bar = new QHBoxLayout(this);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(0);

    Panel6 = new QWidget(this);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    auto* labelLayout = new QHBoxLayout(Panel6);
    labelLayout->setContentsMargins(0, 0, 0, 0);
    LblURL = new QLabel(tr("网址"), Panel6);
    LblURL->setObjectName(QStringLiteral("LblURL"));
    LblURL->setAlignment(Qt::AlignCenter);
    // Wider than designed only where a translation's word needs it.
    Panel6->setFixedWidth(qMax(LabelPanelWidth, LblURL->sizeHint().width() + 6));
    labelLayout->addWidget(LblURL);
    bar->addWidget(Panel6);

    PnlURLAddress = new QWidget(this);
    PnlURLAddress->setObjectName(QStringLiteral("PnlURLAddress"));
    auto* fieldLayout = new QHBoxLayout(PnlURLAddress);
    fieldLayout->setContentsMargins(1, 2, 1, 2);  // the field is its panel's width minus 2
    EditCurURL = new QLineEdit(PnlURLAddress);
    EditCurURL->setObjectName(QStringLiteral("EditCurURL"));
    EditCurURL->setToolTip(tr("网址"));
    EditCurURL->setAccessibleName(LblURL->text());  // its caption sits in a panel of its own
    fieldLayout->addWidget(EditCurURL);
    bar->addWidget(PnlURLAddress, 1);

    Panel5 = new QWidget(this);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedWidth(ButtonPanelWidth);
    auto* buttons = new QHBoxLayout(Panel5);
    buttons->setContentsMargins(4, 2, 4, 2);
    buttons->setSpacing(4);
    BtnRun = addButton(Panel5, QStringLiteral("BtnRun"));
    BtnRefresh = addButton(Panel5, QStringLiteral("BtnRefresh"));
    BtnFullScreen = addButton(Panel5, QStringLiteral("BtnFullScreen"));
    BtnFullScreen->setFixedSize(FullScreenButtonWidth, GlyphButtonSize);
    ToolbtnBack = addButton(Panel5, QStringLiteral("ToolbtnBack"));
    ToolbtnBack->setFixedWidth(GlyphButtonSize * 2 + 6);
    ToolbtnBack->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBtnForward = addButton(Panel5, QStringLiteral("ToolBtnForward"));
    BtnExit2 = addButton(Panel5, QStringLiteral("BtnExit2"));
    buttons->addStretch(1);
    bar->addWidget(Panel5);

    // Glyph-only buttons take the desktop style's pictures; the full-screen button
    // has a picture of its own.
    BtnRun->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    BtnRefresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ToolbtnBack->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    ToolBtnForward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    BtnExit2->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    BtnFullScreen->setIcon(style()->standardIcon(QStyle::SP_TitleBarMaxButton));
    if (m_loadPicture)
        m_loadPicture(BtnFullScreen, QStringLiteral("BtnFullScreen1"));
    // A language whose words make a wider face widens the button, and the panel with it.
    BtnFullScreen->setFixedWidth(qMax(FullScreenButtonWidth, BtnFullScreen->iconSize().width()));
    Panel5->setFixedWidth(qMax(ButtonPanelWidth, buttons->sizeHint().width()));
    ToolbtnBack->setText(uiText(TextId::BackCaption));
    BtnRun->setToolTip(uiText(TextId::RunHint));
    BtnRefresh->setProperty("hint", uiText(TextId::RefreshHint));  // kept, not shown as a tooltip
    ToolbtnBack->setToolTip(uiText(TextId::BackHint));
    ToolBtnForward->setToolTip(uiText(TextId::ForwardHint));
    BtnExit2->setToolTip(uiText(TextId::ExitHint));
    BtnFullScreen->setToolTip(uiText(TextId::FullScreenHint));
    // Buttons without words on them: a screen reader names each by its hint.
    for (QToolButton* button : {BtnRun, ToolBtnForward, BtnExit2})
        button->setAccessibleName(button->toolTip());
    BtnRefresh->setAccessibleName(uiText(TextId::RefreshHint));
    nameFullScreenButton();

    connect(BtnRun, &QToolButton::clicked, this, &TAddressBar::BtnRunClick);
    connect(EditCurURL, &QLineEdit::returnPressed, this, &TAddressBar::EditCurURLKeyDown);
    connect(ToolbtnBack, &QToolButton::clicked, this, &TAddressBar::BtnReturnClick);
    connect(ToolBtnForward, &QToolButton::clicked, this, &TAddressBar::ToolBtnForwardClick);
    connect(BtnRefresh, &QToolButton::clicked, this, &TAddressBar::BtnRefreshClick);
    connect(BtnFullScreen, &QToolButton::clicked, this, &TAddressBar::fullScreenRequested);
    connect(BtnExit2, &QToolButton::clicked, this, &TAddressBar::exitRequested);

    connect(&m_pages, &TPageControl::currentBrowserChanged, this, &TAddressBar::followCurrentBrowser);
    connect(&m_pages, &TPageControl::currentUrlChanged, this, &TAddressBar::followPageUrl);
    connect(&m_pages, &TPageControl::historyStateChanged, this, &TAddressBar::showHistoryState);
    followCurrentBrowser(m_pages.CurBrowser());
}

QToolButton* TAddressBar::addButton(QWidget* panel, const QString& objectName)
{
    auto* button = new QToolButton(panel);
    button->setObjectName(objectName);
    button->setFixedSize(GlyphButtonSize, GlyphButtonSize);
    button->setAutoRaise(true);
    panel->layout()->addWidget(button);
    return button;
}

void TAddressBar::setAddressText(const QString& url) { EditCurURL->setText(url); }

void TAddressBar::showFullScreenState(bool fullScreen)
{
    BtnFullScreen->setToolTip(uiText(fullScreen ? TextId::LeaveFullScreenHint : TextId::FullScreenHintAfter));
    if (m_loadPicture)
        m_loadPicture(BtnFullScreen, fullScreen ? QStringLiteral("BtnFullScreen2") : QStringLiteral("BtnFullScreen1"));
    nameFullScreenButton();
}

// The program's picture names the button with its words; the style's picture
// has none, and the hint names it.
void TAddressBar::nameFullScreenButton()
{
    if (!m_loadPicture)
        BtnFullScreen->setAccessibleName(BtnFullScreen->toolTip());
}

void TAddressBar::focusAddressField()
{
    EditCurURL->setFocus(Qt::ShortcutFocusReason);
    EditCurURL->selectAll();
}

void TAddressBar::relayoutAddressField()
{
    if (QLayout* field = PnlURLAddress->layout())
        field->activate();
}

void TAddressBar::BtnRunClick()
{
    m_pages.NavigateCurrent(EditCurURL->text());
    // The field holds what was opened; page events may rewrite it again.
    EditCurURL->setModified(false);
}

void TAddressBar::EditCurURLKeyDown() { BtnRunClick(); }

void TAddressBar::BtnReturnClick()
{
    TWebbrowser* browser = m_pages.CurBrowser();
    if (!browser || !browser->canGoBack())
        return;  // no earlier page: the field keeps its text
    browser->back();
    setAddressText(browser->LocationURL());
}

void TAddressBar::ToolBtnForwardClick()
{
    TWebbrowser* browser = m_pages.CurBrowser();
    if (!browser || !browser->canGoForward())
        return;
    browser->forward();
    setAddressText(browser->LocationURL());
}

void TAddressBar::BtnRefreshClick()
{
    if (TWebbrowser* browser = m_pages.CurBrowser())
        browser->reload();
}

void TAddressBar::followCurrentBrowser(TWebbrowser* browser)
{
    if (!browser)
        return;
    setAddressText(browser->LocationURL());
    showHistoryState(browser->canGoBack(), browser->canGoForward());
}

void TAddressBar::followPageUrl(const QString& url)
{
    // A page's own events never overwrite an address the user is typing.
    if (EditCurURL->hasFocus() && EditCurURL->isModified())
        return;
    setAddressText(url);
}

void TAddressBar::showHistoryState(bool canGoBack, bool canGoForward)
{
    ToolbtnBack->setEnabled(canGoBack);
    ToolBtnForward->setEnabled(canGoForward);
}
