#pragma once

#include "ArticleStore.h"

#include <QObject>
#include <QPointer>

class ArticleListPanel;
class ContentPanel;
class QWidget;
class SettingsFile;
class TFrmArticleEdit;

// The article library as the main window sees it: owns the store, builds
// the content panel (GbArticleCont) and the list panel (GbArticleList) for
// the window to place, and holds the handlers of their controls.
class ArticleController : public QObject {
    Q_OBJECT
public:
    ArticleController(SettingsFile& settings, const QString& dataFolder, QWidget* window);
    ~ArticleController() override;

    ArticleStore& store() { return m_store; }
    ContentPanel* contentPanel() const { return m_contentPanel; }
    ArticleListPanel* listPanel() const { return m_listPanel; }
    TFrmArticleEdit* articleEditor();  // created on first use, then kept

    // For the main window: start-up, shutdown, hotkeys, relayout, import.
    QString currentArticleName() const { return m_store.currentArticleName(); }
    QString clauseFieldText(int i) const;
    QString paragraphFieldText(int j) const;
    int currentIndex() const { return m_store.currentIndex(); }
    void LoadArticleNames() { m_store.LoadArticleNames(); }
    void SelectArticle(int n) { m_store.SelectArticle(n); }
    // The panel's changed fields; false when one could not be written, with
    // store().lastError() naming the files and why.
    bool SaveCurrentArticle();
    void ReloadFromDisk(int n) { m_store.ReloadFromDisk(n); }
    // Another program may have changed the shown article's files: unchanged
    // fields show what is stored now.
    void RereadShownArticle();
    void relayoutFields();

    // Handlers of the article list and its buttons.
    void LbArticleNameClick();
    void LbArticleNameDblClick();
    void BtnAddArticleClick();
    void BtnUpdateArticleClick();
    void BtnDeleteArticleClick();
    void BtnSaveClick();

signals:
    void currentArticleChanged();
    void writeFailed(const QString& error);

private:
    void editAndApply(TFrmArticleEdit* editor, int mode);
    void showMessage(const QString& text);

    ArticleStore m_store;
    QWidget* m_window;
    ContentPanel* m_contentPanel;
    ArticleListPanel* m_listPanel;
    QPointer<TFrmArticleEdit> m_editor;
};
