// The main window without a mouse: its keys and its tab order.
#include "TFrmMain.h"

#include "ArticleController.h"
#include "ArticleListPanel.h"
#include "CredentialsRow.h"
#include "HotkeyDispatcher.h"
#include "SiteController.h"
#include "SiteListPanel.h"
#include "TAddressBar.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "TabStops.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QScrollArea>
#include <QShortcut>
#include <QTabBar>

namespace {

// What the menu key does: the focused control's menu, at its cursor or its
// current item (the site list's, the tab strip's, a field's own).
void openFocusedMenu()
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return;
    const QPoint at = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at));
    QCoreApplication::sendEvent(focus, &menu);
}

}  // namespace

void TFrmMain::setUpKeyboard()
{
    // Esc and F11 both toggle full screen, as a click on the button would.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_F11)}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &TFrmMain::BtnFullScreenClick);
    }
    // F6 leads out of a page, where Tab stays, to the address bar, as in a
    // browser (Ctrl+L is a clause's hotkey here).
    m_hotkeys->addCommandKey(QKeyCombination(Qt::Key_F6), [this] { m_addressBar->focusAddressField(); });
    // Shift+F10 for keyboards without a menu key.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, &openFocusedMenu);
    // The work starts with picking a site.
    m_sites->listPanel()->focusList();
}

// Column by column, top to bottom, as the window shows them: the lists with
// their buttons, the content panel, then the browser column down to the page.
QList<QWidget*> TFrmMain::tabStops() const
{
    const QList<QWidget*> regions = {m_sites->listPanel(),    m_articles->listPanel(),     m_layout.Panel10,
                                     m_layout.PnlArticleEdit, m_sites->credentialsRow(),   m_addressBar,
                                     PageControl->tabBar(),   PageControl->cornerWidget(), PageControl->CurBrowser()};
    return TabStops::collect(this, regions);
}

bool TFrmMain::focusNextPrevChild(bool next)
{
    return TabStops::moveFocus(tabStops(), next) || QWidget::focusNextPrevChild(next);
}
