#pragma once

#include <QGroupBox>

class ArticleStore;
class QCheckBox;
class QListView;
class QToolButton;

// GbArticleList: the button row Panel4, the article list LbArticleName (a
// view over the store's models, several items may be selected) and the
// picture buttons of PnlArticle. Handlers live in ArticleController; the
// export, import and help buttons and CbIhEdit are the main window's.
class ArticleListPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ArticleListPanel(ArticleStore& store, QWidget* parent = nullptr);

    QWidget* Panel4 = nullptr;
    QToolButton* BtnAddArticle = nullptr;
    QToolButton* BtnUpdateArticle = nullptr;
    QToolButton* BtnDeleteArticle = nullptr;
    QToolButton* BtnSaveArticleContent = nullptr;
    QCheckBox* CbIhEdit = nullptr;
    QListView* LbArticleName = nullptr;
    QWidget* PnlArticle = nullptr;
    QToolButton* BtnAddArticle2 = nullptr;
    QToolButton* BtnUpdateArticleCont = nullptr;
    QToolButton* BtnDeleteArticleCont = nullptr;
    QToolButton* BtnIHExport = nullptr;
    QToolButton* BtnIHImport = nullptr;
    QToolButton* BtnIHHelpDoc = nullptr;

signals:
    // Enter and Delete pressed in the list.
    void listEnterPressed();
    void listDeletePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
