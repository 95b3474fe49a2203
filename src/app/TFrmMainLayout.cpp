// The main window's own layout behaviour: relayout, the two "编辑" check
// boxes, full screen, skin and hints.
#include "TFrmMain.h"

#include "ArticleController.h"
#include "ArticleListPanel.h"
#include "InterfaceTexts.h"
#include "Pictures.h"
#include "SiteController.h"
#include "TAddressBar.h"

#include <QAction>
#include <QCheckBox>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>

QFont TFrmMain::windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Sans CJK SC"),
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

void TFrmMain::FormResize()
{
    // The address field fills its panel through the address bar's layout; a
    // resize or a full-screen switch only needs that layout brought up to date.
    if (QLayout* bar = m_addressBar->PnlURLAddress->layout())
        bar->activate();
}

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
    QAbstractButton* button = m_addressBar->BtnFullScreen;
    m_layout.ScrollBoxLeft->setVisible(!m_fullScreen);
    m_layout.SbAvert->setVisible(!m_fullScreen);
    m_sites->setFullScreen(m_fullScreen);
    if (m_fullScreen) {
        button->setToolTip(uiText(TextId::LeaveFullScreenHint));
        LoadButtonPicture(button, QStringLiteral("BtnFullScreen2"));
    } else {
        button->setToolTip(uiText(TextId::FullScreenHintAfter));
        LoadButtonPicture(button, QStringLiteral("BtnFullScreen1"));
    }
    FormResize();
}

void TFrmMain::installShortcuts()
{
    // Esc and F11 both toggle full screen, as a click on the button would.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_F11)}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &TFrmMain::BtnFullScreenClick);
    }
}

void TFrmMain::ApplySkin()
{
    using namespace InterfaceTexts;
    setWindowTitle(productName() + versionText());
    for (const char* name : {"BtnAddUrlBtn", "BtnUpdateASite", "BtnDeleteASite", "BtnAddArticle2",
                             "BtnUpdateArticleCont", "BtnDeleteArticleCont", "BtnIHExport", "BtnIHHelpDoc",
                             "BtnIHAboutUs", "BtnIHExit", "BtnIHImport"}) {
        if (auto* button = findChild<QAbstractButton*>(QLatin1String(name)))
            LoadButtonPicture(button, QLatin1String(name));
    }
    LoadButtonPicture(m_addressBar->BtnFullScreen, QStringLiteral("BtnFullScreen1"));
    LoadJpegPicture(m_layout.Image48, QStringLiteral("topavert"));

    auto setText = [this](const char* name, TextId id) {
        if (auto* w = findChild<QWidget*>(QLatin1String(name)))
            w->setProperty(w->inherits("QGroupBox") ? "title" : "text", uiText(id));
    };
    setText("GbSiteList", TextId::SiteListCaption);
    setText("GbArticleList", TextId::ArticleListCaption);
    setText("CbIhEdit", TextId::EditCheckCaption);
    setText("GbArticleCont", TextId::ArticleContentCaption);
    setText("LblUser", TextId::UserNameLabel);
    setText("LblIHPassword", TextId::PasswordLabel);
    setText("LblIHSiteArtID", TextId::SiteArticleIdLabel);
    const std::pair<const char*, TextId> menu[] = {{"MnUp", TextId::MoveUp},
                                                   {"UpDown", TextId::MoveDown},
                                                   {"MnAddWebsite", TextId::AddWebsite},
                                                   {"MnUpdateWebsite", TextId::UpdateWebsite},
                                                   {"MnDeleteWebsite", TextId::DeleteWebsite},
                                                   {"CloseTab1", TextId::CloseCurrentTab},
                                                   {"MnCloseAllPage", TextId::CloseAllTabs}};
    for (const auto& [name, id] : menu) {
        if (auto* action = findChild<QAction*>(QLatin1String(name))) {
            action->setText(uiText(id));
            if (QLatin1String(name).startsWith(QLatin1String("Mn")) || QLatin1String(name) == QLatin1String("UpDown"))
                action->setToolTip(uiText(id));
        }
    }
    const std::pair<const char*, TextId> hints[] = {{"LtSubmitUrl", TextId::SiteListHint},
                                                    {"BtnRun", TextId::RunHint},
                                                    {"BtnRefresh", TextId::RefreshHint},
                                                    {"BtnFullScreen", TextId::FullScreenHint},
                                                    {"ToolbtnBack", TextId::BackHint},
                                                    {"ToolBtnForward", TextId::ForwardHint},
                                                    {"BtnExit2", TextId::ExitHint}};
    for (const auto& [name, id] : hints)
        if (auto* w = findChild<QWidget*>(QLatin1String(name)))
            w->setToolTip(uiText(id));
    if (auto* back = findChild<QAbstractButton*>(QStringLiteral("ToolbtnBack")))
        back->setText(uiText(TextId::BackCaption));
    restrictHintsToListedControls();
}

// Only these controls show their hint as a tooltip; every other control keeps
// its hint text (property "hint") without showing it.
void TFrmMain::restrictHintsToListedControls()
{
    static const QStringList shown = {
        "BtnAddUrlBtn", "BtnUpdateASite", "BtnDeleteASite", "BtnAddArticle2", "BtnUpdateArticleCont",
        "BtnDeleteArticleCont", "BtnIHHelpDoc", "BtnIHAboutUs", "BtnIHExit", "BtnAddArticle",
        "BtnUpdateArticle", "BtnDeleteArticle", "BtnSaveArticleContent", "CbIhEdit", "EdtUserName",
        "EdtPassword", "EdtSiteArtID", "EditCurURL", "BtnRun", "BtnFullScreen", "ToolbtnBack",
        "ToolBtnForward", "BtnExit2"};
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->toolTip().isEmpty() || shown.contains(w->objectName()))
            continue;
        w->setProperty("hint", w->toolTip());
        w->setToolTip(QString());
    }
}
