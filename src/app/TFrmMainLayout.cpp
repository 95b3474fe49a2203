// The main window's own layout behaviour: relayout, the content panel's
// "编辑" check box, full screen and the window caption.
#include "TFrmMain.h"

#include "ArticleController.h"
#include "ArticleListPanel.h"
#include "InterfaceLanguage.h"
#include "InterfaceTexts.h"
#include "SiteController.h"
#include "TAddressBar.h"

#include <QScrollArea>
#include <QSplitter>

QFont TFrmMain::windowFont()
{
    QFont font;
    font.setFamilies(InterfaceLanguages::preferredCjkFamilies()
                     + QStringList{QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Sans CJK SC"),
                                   QStringLiteral("Noto Serif CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(15);
    return font;
}

void TFrmMain::Splitter2Moved()
{
    QWidget* panel = m_layout.PnlArticleEdit;
    if (panel->width() < 10)
        panel->resize(10, panel->height());
    m_rememberedContentWidth = panel->width();
    m_articles->relayoutFields();
    FormResize();
}

void TFrmMain::FormResize() { m_addressBar->relayoutAddressField(); }

bool TFrmMain::isContentPanelShown() const { return m_articles->listPanel()->isContentPanelShown(); }

void TFrmMain::CbIhEditClick()
{
    QList<int> sizes = m_layout.Splitter1->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    const bool shown = isContentPanelShown();
    const int left = shown ? MainLayout::EditColumnWidth : MainLayout::ListColumnWidth + 1;
    // Unticked, only the lists remain: the panel (and its fields, which the
    // hotkeys still read) rests out of sight instead of being squeezed.
    m_layout.PnlArticleEdit->setVisible(shown);
    m_layout.Splitter1->setSizes({left, qMax(0, total - left)});
    m_layout.ScrollBoxLeft->resize(left, m_layout.ScrollBoxLeft->height());
    if (shown)
        Splitter2Moved();
}

void TFrmMain::BtnFullScreenClick()
{
    m_fullScreen = !m_fullScreen;
    m_layout.ScrollBoxLeft->setVisible(!m_fullScreen);
    m_layout.SbAvert->setVisible(!m_fullScreen);
    m_sites->setFullScreen(m_fullScreen);
    m_addressBar->showFullScreenState(m_fullScreen);
    FormResize();
}

// Captions, pictures and hints are each panel's own; the window sets its caption.
void TFrmMain::ApplySkin()
{
    using namespace InterfaceTexts;
    setWindowTitle(productName() + versionText());
}
