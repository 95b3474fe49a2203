#include "ArticleController.h"

#include "ArticleListPanel.h"
#include "ArticleMessages.h"
#include "ContentPanel.h"
#include "InterfaceTexts.h"
#include "TFrmArticleEdit.h"

#include <QGuiApplication>
#include <QMessageBox>

ArticleController::ArticleController(SettingsFile& settings, const QString& dataFolder, QWidget* window)
    : QObject(window),
      m_store(settings, dataFolder),
      m_window(window),
      m_contentPanel(new ContentPanel(m_store, window)),
      m_listPanel(new ArticleListPanel(m_store, window))
{
    connect(&m_store, &ArticleStore::currentArticleChanged, this, &ArticleController::currentArticleChanged);
    connect(&m_store, &ArticleStore::writeFailed, this, &ArticleController::writeFailed);

    ArticleListPanel* list = m_listPanel;
    connect(list, &ArticleListPanel::articleClicked, this, &ArticleController::LbArticleNameClick);
    connect(list, &ArticleListPanel::articleDoubleClicked, this, &ArticleController::LbArticleNameDblClick);
    connect(list, &ArticleListPanel::addRequested, this, &ArticleController::BtnAddArticleClick);
    connect(list, &ArticleListPanel::updateRequested, this, &ArticleController::BtnUpdateArticleClick);
    connect(list, &ArticleListPanel::deleteRequested, this, &ArticleController::BtnDeleteArticleClick);
    connect(list, &ArticleListPanel::saveRequested, this, &ArticleController::BtnSaveClick);
}

ArticleController::~ArticleController()
{
    // The panels are the window's children once placed; until then, ours.
    if (!m_window) {
        delete m_contentPanel;
        delete m_listPanel;
    }
    if (m_editor && !m_editor->parent())
        delete m_editor;
}

QString ArticleController::clauseFieldText(int i) const { return m_contentPanel->clauseFieldText(i); }
QString ArticleController::paragraphFieldText(int j) const { return m_contentPanel->paragraphFieldText(j); }
void ArticleController::relayoutFields() { m_contentPanel->relayoutFields(); }

TFrmArticleEdit* ArticleController::articleEditor()
{
    if (!m_editor)
        m_editor = new TFrmArticleEdit(m_window);
    return m_editor;
}

void ArticleController::showMessage(const QString& text)
{
    QMessageBox::information(m_window, QGuiApplication::applicationDisplayName(), text);
}

bool ArticleController::SaveCurrentArticle()
{
    if (!m_store.SaveCurrentArticle(m_contentPanel->panelTexts()))
        return false;
    m_contentPanel->markSaved();
    return true;
}

void ArticleController::RereadShownArticle() { m_contentPanel->showStoredChanges(m_store.RereadShownArticle()); }

// The current item changed by mouse or keyboard, or Enter: show it. The
// field the user left has already been saved into the article shown before.
void ArticleController::LbArticleNameClick()
{
    m_contentPanel->commitPendingEdits();
    if (m_store.currentIndex() != m_store.shownIndex())
        m_store.LoadCurrentArticle();
}

void ArticleController::LbArticleNameDblClick() { BtnUpdateArticleClick(); }

// Shows the editor until its values are stored or it is cancelled: a failed
// write says which file, and the editor comes back with what the user typed.
void ArticleController::editAndApply(TFrmArticleEdit* editor, int mode)
{
    const auto editMode = ArticleStore::EditMode(mode);
    auto showMode =
        editMode == ArticleStore::EditMode::Append ? TFrmArticleEdit::Mode::Add : TFrmArticleEdit::Mode::Update;
    while (editor->ShowArticleEditor(m_store.buffer(), showMode)) {
        if (m_store.ApplyEditedArticle(editMode)) {
            m_contentPanel->markSaved();
            if (editMode == ArticleStore::EditMode::Append) {
                m_listPanel->showContentPanel();
                m_listPanel->focusList();
            }
            return;
        }
        showMessage(ArticleMessages::saveFailed(m_store.lastError()));
        showMode = TFrmArticleEdit::Mode::Update;  // refill from the buffer, which holds the typed values
    }
}

void ArticleController::BtnAddArticleClick()
{
    m_contentPanel->commitPendingEdits();
    m_store.buffer().ArticleName.clear();
    editAndApply(articleEditor(), int(ArticleStore::EditMode::Append));
}

void ArticleController::BtnUpdateArticleClick()
{
    if (m_store.shownIndex() < 0)
        return;
    m_contentPanel->commitPendingEdits();
    // The panel may hold edits made since the article was loaded: the editor
    // shows them, so confirming does not store older texts over them.
    ArticleBuffer& buffer = m_store.buffer();
    const ArticlePanelTexts texts = m_contentPanel->panelTexts();
    buffer.ClauseText = texts.clause;
    buffer.ParagraphText = texts.paragraph;
    buffer.ArticleName = m_store.currentArticleName();
    editAndApply(articleEditor(), int(ArticleStore::EditMode::Update));
}

void ArticleController::BtnDeleteArticleClick()
{
    m_contentPanel->commitPendingEdits();
    m_store.DeleteSelectedArticles();
}

void ArticleController::BtnSaveClick()
{
    if (m_store.count() == 0) {
        showMessage(uiText(TextId::AddArticleFirst));
        return;
    }
    // No article shown (the stored position was past the end): show the
    // first one rather than store the empty fields over it.
    if (m_store.shownIndex() < 0)
        m_store.SelectArticle(0);
    m_listPanel->showContentPanel();
    if (SaveCurrentArticle())
        showMessage(uiText(TextId::ArticleSaved));
    else
        showMessage(ArticleMessages::saveFailed(m_store.lastError()));
}
