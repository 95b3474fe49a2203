#pragma once

#include <QGroupBox>

class ArticleStore;
class QCheckBox;
class QListView;
class QToolButton;

// GbArticleList: the button row Panel4, the article list LbArticleName (a
// view over the store's models, several items may be selected) and the
// picture buttons of PnlArticle. What the user asks for goes out as signals:
// the ArticleController handles the article ones; export, import, help and
// CbIhEdit (the content panel shown) are the main window's.
class ArticleListPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ArticleListPanel(ArticleStore& store, QWidget* parent = nullptr);

    bool isContentPanelShown() const;  // CbIhEdit is ticked

public slots:
    // Ticks CbIhEdit as a click would, so contentPanelToggled is told.
    void showContentPanel();
    // Ticks or unticks CbIhEdit without telling anyone (start-up).
    void setContentPanelShown(bool shown);
    void focusList();

signals:
    void articleClicked();  // a click in the list, or Enter
    void articleDoubleClicked();
    void addRequested();
    void updateRequested();
    void deleteRequested();  // the buttons, or Delete in the list
    void saveRequested();
    void contentPanelToggled(bool shown);  // CbIhEdit clicked
    void exportRequested();
    void importRequested();
    void helpRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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
};
